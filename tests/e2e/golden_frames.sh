#!/usr/bin/env bash
# Golden frames: a headless run of the default content takes a screenshot at
# each frame listed in tests/golden_frames.txt and compares its SHA-256.
# With VIVUR_UPDATE_GOLDEN=DIR the list is rewritten from this run and the
# pictures are left in DIR as PNG files, to be looked at before committing.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_need_content
e2e_scratch
list="$source_dir/tests/golden_frames.txt"
frames=$(grep -v '^#' "$list" | awk '{print $1}')
keys=$(printf '%s:F1,' $frames)
cd "$work"
set +e
"$vivur" --headless --keys="${keys%,}" >out.txt 2>&1
rc=$?
set -e
if [ "$rc" -ne 1 ]; then
  echo "golden_frames: the run ended with $rc, expected 1" >&2
  cat out.txt >&2
  exit 1
fi
: >actual.txt
i=0
for frame in $frames; do
  shot=$(printf 'shot%4i.tga' "$i")
  [ -f "$shot" ] || { echo "golden_frames: no screenshot for frame $frame" >&2; exit 1; }
  echo "$frame $(sha256sum "$shot" | cut -d' ' -f1)" >>actual.txt
  i=$((i + 1))
done
if [ -n "${VIVUR_UPDATE_GOLDEN:-}" ]; then
  mkdir -p "$VIVUR_UPDATE_GOLDEN"
  i=0
  for frame in $frames; do
    ffmpeg -loglevel error -y -i "$(printf 'shot%4i.tga' "$i")" "$VIVUR_UPDATE_GOLDEN/$(printf '%06d' "$frame").png"
    i=$((i + 1))
  done
  { grep '^#' "$list"; cat actual.txt; } >"$list.new"
  mv "$list.new" "$list"
  echo "golden_frames: $list rewritten; look at the pictures in $VIVUR_UPDATE_GOLDEN"
  exit 0
fi
grep -v '^#' "$list" >expected.txt
if ! diff -u expected.txt actual.txt; then
  echo "golden_frames: frames differ from $list (frame, sha256 of the 320 x 200 screenshot)" >&2
  exit 1
fi
echo "golden_frames: $(wc -l <actual.txt) frames match"
