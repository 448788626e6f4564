#!/usr/bin/env bash
# `vivur log` in an empty directory, with no archive beside the executable
# either: exit code 1, the archive error on standard error, and log.txt
# holding exactly the three banner lines.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_scratch
cp "$build/vivur" "$work/vivur"
cd "$work"

status=0
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./vivur log >stdout.txt 2>stderr.txt || status=$?
fail() { echo "empty_dir: $*" >&2; echo "--- stderr:" >&2; cat stderr.txt >&2; exit 1; }

[ "$status" -eq 1 ] || fail "exit code $status, expected 1"
grep -qxF "error: file not found [vivur.pak]" stderr.txt || fail "no archive error on standard error"
plus=$(printf '+%.0s' $(seq 65))
printf '%s\n+++ yrk/win v1.0 (alpha)\n%s\n' "$plus" "$plus" >expected.txt
cmp -s expected.txt log.txt || fail "log.txt differs: $(od -c log.txt | head -5)"
echo "empty_dir: ok"
