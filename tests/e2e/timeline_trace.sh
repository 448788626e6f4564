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
e2e_need_content
e2e_scratch
here="$source_dir/tests/e2e"
cd "$work"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

# Checks a trace; prints "step first last" frame numbers of each step on success.
check_trace() {
  awk -F, '
    function met(step, order, row) {
      if (step == 1) return order == 1 && row == 0
      if (step == 2) return order >= 2
      if (step == 3) return row >= 43
      if (step == 5) return order >= 3
      if (step == 6) return order >= 5
      if (step == 7) return order >= 6
      if (step == 8) return order >= 8
      if (step == 9) return order >= 10
      if (step == 10) return order >= 11
      if (step == 11) return order >= 13
      if (step == 12) return order >= 15
      if (step == 13) return order >= 16
      if (step == 14) return row >= 30
    }
    function fail(text) { print "timeline_trace: frame " frame ": " text > "/dev/stderr"; bad = 1; exit 1 }
    function mod4000(e) { return e - 4000 * int(e / 4000) }
    NR == 1 { next }
    {
      frame = $1; ticks[frame] = $2; order = $3; row = $4; step = $5
      if (frame != NR - 2) fail("frames not numbered in order")
      if (frame == 0) { if (step != "") fail("the black frame has a step"); next }
      if (step == "") fail("a frame outside the timeline")
      if (step != current) {
        if (step != current + 1) fail("step " step " follows step " current)
        if (current > 0) {
          if (current != 4 && !met(current, last_order, last_row)) fail("step " current " left before its end mark")
          last_frame[current] = frame - 1
        }
        current = step; first_frame[step] = frame
      } else if (current != 4 && met(current, last_order, last_row)) {
        fail("step " current " went on after its end mark")
      }
      last_order = order; last_row = row
    }
    END {
      if (bad) exit 1
      if (current != 14) { print "timeline_trace: the run ended in step " current > "/dev/stderr"; exit 1 }
      if (!(last_order >= 16 && last_row >= 30)) { print "timeline_trace: ended at order " last_order " row " last_row > "/dev/stderr"; exit 1 }
      last_frame[14] = frame
      # Step 4: the zoom cycle plays out; the frame drawn at time t uses
      # r = (t - zoom_start) mod 4000, zoom_start being the time after step 1.
      # Frame i is drawn at the time traced for frame i - 1.
      zoom_start = ticks[last_frame[1]]
      r3 = mod4000(ticks[last_frame[3] - 1] - zoom_start)
      for (i = first_frame[4]; i <= last_frame[4]; ++i) {
        r = mod4000(ticks[i - 1] - zoom_start)
        if (i < last_frame[4] && r < r3) { print "timeline_trace: step 4 went on past the wrap at frame " i > "/dev/stderr"; exit 1 }
        if (i == last_frame[4] && r >= r3) { print "timeline_trace: step 4 ended before the wrap" > "/dev/stderr"; exit 1 }
      }
      for (s = 1; s <= 14; ++s) print s, first_frame[s], last_frame[s]
    }
  ' "$1"
}

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

# At 3 frames a second each frame moves about 2.8 rows on, so the first step
# sees order 1 at other rows and must wait until a frame reads order 1, row 0.
run_traced 3 slow.csv
check_trace slow.csv >/dev/null
if ! awk -F, '$5 == 1 && $3 == 1 && $4 != 0 { found = 1 } END { exit !found }' slow.csv; then
  echo "timeline_trace: the slow run never read order 1 at another row than 0 in step 1" >&2
  exit 1
fi

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
