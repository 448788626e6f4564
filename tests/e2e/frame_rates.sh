#!/usr/bin/env bash
# The whole production headless and captured to a folder at 1, 2, 3, 5, 7,
# 10, 24 and 60 frames a second: every run passes through the timeline's steps
# in order (the table of `vivur --timeline`), each step ending on the first
# frame that meets its end mark, and
# ends (headless with exit code 1, a capture with 0). At low rates a frame
# lasts several rows, so the intro must not wait for one exact row, and the
# zoom cycle can be passed without ever seeing its wrap. A capture holds one
# picture per traced frame.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
. "$(dirname "${BASH_SOURCE[0]}")/lib/trace.sh"
e2e_need_content
e2e_scratch
cd "$work"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
rates=(1 2 3 5 7 10 24 60)
"$build/vivur" --timeline >timeline.json

# run MODE FPS: one run with its trace in MODE-FPS.csv, its exit code checked.
run() {
  local mode=$1 fps=$2 status=0 expected=1
  local args=(--headless)
  if [ "$mode" = capture ]; then
    args=(--capture="capture-$fps")
    expected=0
  fi
  timeout 600 "$build/vivur" "${args[@]}" --fps="$fps" --trace="$mode-$fps.csv" \
    >"$mode-$fps.out" 2>"$mode-$fps.err" || status=$?
  if [ "$status" -ne "$expected" ]; then
    echo "frame_rates: $mode at $fps fps ended with exit code $status, expected $expected" >&2
    tail -3 "$mode-$fps.err" >&2
    return 1
  fi
  check_trace "$mode-$fps.csv" timeline.json >"$mode-$fps.steps"
  if [ "$mode" = capture ]; then
    local traced pictures
    traced=$(($(wc -l <"$mode-$fps.csv") - 1))
    pictures=$(find "capture-$fps" -name '*.png' | wc -l)
    if [ "$traced" -ne "$pictures" ]; then
      echo "frame_rates: capture at $fps fps traced $traced frames but wrote $pictures pictures" >&2
      return 1
    fi
    [ -s "capture-$fps/audio.wav" ] || { echo "frame_rates: capture at $fps fps has no sound" >&2; return 1; }
    rm -rf "capture-$fps"
  fi
}

# Two runs at a time; each one's failure fails the script.
pids=()
for fps in "${rates[@]}"; do
  for mode in headless capture; do
    run "$mode" "$fps" &
    pids+=($!)
    if [ ${#pids[@]} -ge 2 ]; then
      wait "${pids[0]}"
      pids=("${pids[@]:1}")
    fi
  done
done
for pid in "${pids[@]}"; do
  wait "$pid"
done

echo "frame_rates: frames per step (headless):"
printf '%6s' fps; for s in $(seq 1 "$(wc -l <headless-60.steps)"); do printf '%6s' "s$s"; done; echo
for fps in "${rates[@]}"; do
  printf '%6s' "$fps"
  while read -r _ first last; do printf '%6s' $((last - first + 1)); done <"headless-$fps.steps"
  echo
  cmp -s "headless-$fps.steps" "capture-$fps.steps" ||
    { echo "frame_rates: headless and capture runs at $fps fps differ in their steps" >&2; exit 1; }
done
echo "frame_rates: ok"
