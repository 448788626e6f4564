#!/usr/bin/env bash
# Where the production finds "vivur.pak": beside the executable when the
# working directory has none, and the working directory's copy first.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_scratch
mkdir "$work/install" "$work/run"
cp "$build/vivur" "$work/install/vivur"
printf 'packed' >"$work/note.txt"
"$build/vivur-pak" create "$work/install/vivur.pak" "$work/note.txt"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

cd "$work/run"
status=0
../install/vivur 2>stderr.txt || status=$?
[ "$status" -eq 1 ] || { echo "archive_lookup: exit code $status, expected 1" >&2; exit 1; }
if grep -qF "vivur.pak" stderr.txt; then
  echo "archive_lookup: the archive beside the executable was not used:" >&2
  cat stderr.txt >&2
  exit 1
fi

# A copy in the working directory comes first, even a broken one.
printf 'not an archive' >vivur.pak
../install/vivur 2>stderr.txt || true
grep -qxF "error: vivur.pak is not a valid PAK file" stderr.txt || {
  echo "archive_lookup: the working directory's archive was not used first:" >&2
  cat stderr.txt >&2
  exit 1
}
echo "archive_lookup: ok"
