#!/usr/bin/env bash
# The whole production run headless with a trace: the steps of the timeline's
# table (`vivur --timeline`) follow each other in order, each one ends on the
# first frame whose polled music position meets its end mark, and the run ends
# on the last step's mark with exit code 1. Every restart of the intro zoom
# falls on a row that is a multiple of 8 after the zoom's start (a cycle is
# eight rows). The trace checker itself fails on
# that trace once any one mark of a copy of the table is moved by one. A
# second run takes screenshots of chosen frames of every scene and compares
# their hashes with timeline_frames.txt.
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
  "$vivur" --headless --fps="$1" --trace="$2" >stdout.txt 2>stderr.txt || status=$?
  if [ "$status" -ne 1 ]; then
    echo "timeline_trace: exit code $status at $1 frames a second, expected 1" >&2
    cat stderr.txt >&2
    exit 1
  fi
}

"$vivur" --timeline >timeline.json
run_traced 60 trace.csv
check_trace trace.csv timeline.json >steps.txt
echo "timeline_trace: steps, first and last frame:"
cat steps.txt
check_zoom_beat trace.csv timeline.json >zoom.txt
echo "timeline_trace: the zoom restarts on rows $(cut -d' ' -f2 zoom.txt | tr '\n' ' ')after its start"

# Every order or row mark moved by one, in a copy of the table: the checker
# must reject the real trace each time.
moved=0
for step in $(timeline_steps_ending timeline.json order) $(timeline_steps_ending timeline.json row); do
  for by in -1 1; do
    python3 - timeline.json "$step" "$by" >moved.json <<'PY'
import json, sys
table = json.load(open(sys.argv[1], encoding="utf-8"))
table["steps"][int(sys.argv[2]) - 1]["mark"] += int(sys.argv[3])
json.dump(table, sys.stdout)
PY
    if check_trace trace.csv moved.json >/dev/null 2>moved.err; then
      echo "timeline_trace: the checker accepts the trace with step $step's mark moved by $by" >&2
      exit 1
    fi
    moved=$((moved + 1))
  done
done
[ "$moved" -gt 0 ] || { echo "timeline_trace: the table has no order or row marks" >&2; exit 1; }
echo "timeline_trace: the checker rejects all $moved tables with one mark moved by one"

# Screenshots: the 30th frame of each step (or its last, if shorter); the
# step that only plays out a zoom cycle to its wrap is left out.
wrap=$(timeline_steps_ending timeline.json zoom_wrap)
keys=""
chosen=()
while read -r step first last; do
  [ "$step" = "$wrap" ] && continue
  frame=$((first + 29))
  [ "$frame" -gt "$last" ] && frame=$last
  keys="$keys${keys:+,}$frame:F1"
  chosen+=("$step")
done <steps.txt
mkdir shots
(cd shots && "$vivur" --headless --keys="$keys" >/dev/null 2>&1) || true
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
