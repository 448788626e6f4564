#!/usr/bin/env bash
# The live window under a virtual X server: the display demo opens windowed,
# F1 writes "shot   0.tga" (192018 bytes), Escape ends it with exit code 1,
# and a termination signal ends it with exit code 1 as well.
# Arguments: <build dir> <source dir>.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
demo="$build/tools/display-demo/vivur-display-demo"

for tool in xvfb-run xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not available"
    exit 0
  fi
done
[ -x "$demo" ] || { echo "missing $demo" >&2; exit 1; }

e2e_scratch
cd "$work"

cat > inside.sh <<'INSIDE'
#!/usr/bin/env bash
# Runs inside the virtual X server.
set -u
demo=$1

# Waits for the demo's window and gives it the keyboard.
find_window() {
  local wid
  wid=$(timeout 30 xdotool search --sync --onlyvisible --name "yrk/win" | head -1)
  [ -n "$wid" ] || { echo "no window appeared" >&2; return 1; }
  xdotool windowfocus --sync "$wid"
  sleep 0.5
}

"$demo" windowed >demo.log 2>&1 &
pid=$!
find_window || { kill "$pid"; exit 1; }
xdotool key F1
for _ in $(seq 100); do
  [ -f "shot   0.tga" ] && [ "$(stat -c %s "shot   0.tga")" = 192018 ] && break
  sleep 0.1
done
if [ ! -f "shot   0.tga" ] || [ "$(stat -c %s "shot   0.tga")" != 192018 ]; then
  echo "no screenshot of 192018 bytes:" >&2; ls -l >&2; kill "$pid"; exit 1
fi
xdotool key Escape
code=0; wait "$pid" || code=$?
[ "$code" = 1 ] || { echo "Escape: exit code $code, expected 1" >&2; cat demo.log >&2; exit 1; }

"$demo" windowed >demo.log 2>&1 &
pid=$!
find_window || { kill "$pid"; exit 1; }
kill -TERM "$pid"
code=0; wait "$pid" || code=$?
[ "$code" = 1 ] || { echo "SIGTERM: exit code $code, expected 1" >&2; cat demo.log >&2; exit 1; }
echo "screenshot written, Escape and SIGTERM ended with exit code 1"
INSIDE

env -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
  timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" bash inside.sh "$demo"
