#!/usr/bin/env bash
# Capture to a folder: numbered frames and the sound, byte-identical on a
# second run, exit code 0; the sound covers the frames and the closing fade.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_need_content
e2e_scratch
cd "$work"
for run in a b; do
  "$vivur" --capture="$run" --fps=30 --frames=90 --trace="$run.csv" 2>/dev/null
done
[ -f a/000000.png ] && [ -f a/000089.png ] && [ ! -f a/000090.png ] || { echo "capture_folder: frames missing" >&2; exit 1; }
diff -r a b >/dev/null || { echo "capture_folder: two captures differ" >&2; exit 1; }
cmp a.csv b.csv
# 90 frames at 30 fps = 3 s, then the 53 rate steps (0.53 s) and the 1 s fade.
bytes=$(stat -c %s a/audio.wav)
samples=$(( (bytes - 44) / 4 ))
expected=$(( 3 * 44100 + 530 * 441 / 10 + 44100 ))
if [ $(( samples - expected )) -lt -2205 ] || [ $(( samples - expected )) -gt 2205 ]; then
  echo "capture_folder: $samples sound frames, expected about $expected" >&2
  exit 1
fi
echo "capture_folder: ok ($samples sound frames)"
