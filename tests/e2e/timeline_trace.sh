#!/usr/bin/env bash
# The whole production run headless with a trace: the fourteen steps follow
# each other in order, each one ends on the first frame whose polled music
# position meets its end mark, and the run ends at row 30 or later of order 16
# with exit code 1. A second run takes screenshots of chosen frames of every
# scene and compares their hashes with timeline_frames.txt.
# VIVUR_UPDATE_FRAMES=DIR rewrites that file and leaves the screenshots,
# converted to PNG, in DIR for looking at.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
. "$(dirname "${BASH_SOURCE[0]}")/lib/trace.sh"
e2e_need_content
e2e_scratch
here="$source_dir/tests/e2e"
cd "$work"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

# Runs the production headless at $1 frames a second with a trace into $2.
run_traced() {
  local status=0
  "$build/vivur" --headless --fps="$1" --trace="$2" >stdout.txt 2>stderr.txt || status=$?
  if [ "$status" -ne 1 ]; then
    echo "timeline_trace: exit code $status at $1 frames a second, expected 1" >&2
    cat stderr.txt >&2
    exit 1
  fi
}

run_traced 60 trace.csv
check_trace trace.csv >steps.txt
echo "timeline_trace: steps, first and last frame:"
cat steps.txt

# Screenshots: the 30th frame of each step (or its last, if shorter); step 4
# only plays out a zoom cycle and is left out.
keys=""
chosen=()
while read -r step first last; do
  [ "$step" -eq 4 ] && continue
  frame=$((first + 29))
  [ "$frame" -gt "$last" ] && frame=$last
  keys="$keys${keys:+,}$frame:F1"
  chosen+=("$step")
done <steps.txt
mkdir shots
(cd shots && "$build/vivur" --headless --keys="$keys" >/dev/null 2>&1) || true
: >frames.txt
i=0
for step in "${chosen[@]}"; do
  shot=$(printf 'shots/shot%4i.tga' "$i")
  [ -f "$shot" ] || { echo "timeline_trace: no screenshot for step $step" >&2; exit 1; }
  echo "$step $(sha256sum "$shot" | cut -d' ' -f1)" >>frames.txt
  i=$((i + 1))
done

if [ -n "${VIVUR_UPDATE_FRAMES:-}" ]; then
  mkdir -p "$VIVUR_UPDATE_FRAMES"
  python3 "$here/tga_to_png.py" "$VIVUR_UPDATE_FRAMES" shots/*.tga
  { grep '^#' "$here/timeline_frames.txt" || true; cat frames.txt; } >frames_new.txt
  cp frames_new.txt "$here/timeline_frames.txt"
  echo "timeline_trace: frame hashes rewritten; pictures in $VIVUR_UPDATE_FRAMES"
  exit 0
fi
grep -v '^#' "$here/timeline_frames.txt" >expected.txt || true
if ! diff -u expected.txt frames.txt; then
  echo "timeline_trace: frame hashes differ (step, sha256 of the screenshot)" >&2
  exit 1
fi
echo "timeline_trace: ok"
