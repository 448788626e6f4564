#!/usr/bin/env bash
# Long runs of the whole production, headless with the default content:
# - a run whose millisecond clock starts two seconds before its 32-bit wrap
#   (--clock-start) shows, screenshot for screenshot, the same frames and the
#   same trace as one starting at 0;
# - (not in sanitizer builds) nothing is allocated per frame: a whole run at
#   30 and at 60 frames a second make the same number of allocations; peak
#   memory does not grow with the run's length or from run to run; and a
#   short run under valgrind's memcheck reports no error.
# Figures go to long_run.txt in the build directory.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_need_content
e2e_scratch
report=$build/long_run.txt
: >"$report"
fail() { echo "long_run: $*" >&2; exit 1; }
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

# vivur_in DIR ARGS...: runs the production headless in DIR; it always ends with 1.
vivur_in() {
  local dir=$1 status=0
  shift
  mkdir -p "$dir"
  (cd "$dir" && timeout -s KILL 300 "$build/vivur" --headless "$@" >stdout.txt 2>stderr.txt) || status=$?
  [ "$status" -eq 1 ] || fail "vivur $* in $dir: exit code $status: $(tail -3 "$dir/stderr.txt")"
  ! grep -q '^error: ' "$dir/stderr.txt" || fail "vivur $*: $(grep '^error: ' "$dir/stderr.txt")"
}

# The clock wrap: 10 frames a second, a screenshot every 20 frames.
keys=$(seq -s, -f '%g:F1' 5 20 1400)
vivur_in "$work/zero" --fps=10 --trace=trace.csv --keys="$keys"
vivur_in "$work/wrap" --fps=10 --trace=trace.csv --keys="$keys" --clock-start=4294965296
shots=$(cd "$work/zero" && ls shot*.tga | wc -l)
[ "$shots" -ge 40 ] || fail "only $shots screenshots in the run from 0"
(cd "$work/zero" && md5sum shot*.tga) >"$work/zero.md5"
(cd "$work/wrap" && md5sum shot*.tga) >"$work/wrap.md5"
cmp -s "$work/zero.md5" "$work/wrap.md5" || fail "frames differ across the clock wrap: $(diff "$work/zero.md5" "$work/wrap.md5" | head -4)"
cmp -s "$work/zero/trace.csv" "$work/wrap/trace.csv" || fail "traces differ across the clock wrap"
echo "clock wrap: $shots screenshots and $(($(wc -l <"$work/zero/trace.csv") - 1)) trace lines identical" >>"$report"

# grep reads all of ldd's output: with pipefail, grep -q could stop early and
# make ldd fail on a closed pipe.
if ldd "$build/vivur" | grep libasan >/dev/null; then
  echo "long_run: clock wrap ok; allocation and memory checks skipped in a sanitizer build"
  cat "$report"
  exit 0
fi

# Allocations: counted by a preloaded library when the process ends.
cc -shared -fPIC -O2 -o "$work/alloc_count.so" "$source_dir/tests/e2e/alloc_count.c"
count_run() {
  local dir=$1
  shift
  VIVUR_ALLOC_COUNT_FILE=$dir/allocations.txt LD_PRELOAD=$work/alloc_count.so vivur_in "$dir" "$@"
  cat "$dir/allocations.txt"
}
at30=$(count_run "$work/a30" --fps=30)
at60=$(count_run "$work/a60" --fps=60)
echo "allocations: $at30 in a whole run at 30 frames/s, $at60 at 60 frames/s" >>"$report"
[ "$at30" -eq "$at60" ] || fail "allocations depend on the number of frames: $at30 at 30 frames/s, $at60 at 60"

# Peak memory: a few frames, the whole run, the whole run again.
peak() {
  local dir=$1
  shift
  mkdir -p "$dir"
  (cd "$dir" && /usr/bin/time -f %M -o peak.txt timeout -s KILL 300 "$build/vivur" --headless "$@" >/dev/null 2>&1) || true
  cat "$dir/peak.txt" | tail -1
}
short=$(peak "$work/p1" --frames=30)
whole=$(peak "$work/p2")
again=$(peak "$work/p3")
echo "peak resident memory: $short KB after 30 frames, $whole KB and $again KB for whole runs" >>"$report"
[ "$whole" -le $((short + 2048)) ] || fail "memory grows within a run: $short KB after 30 frames, $whole KB at the end"
[ "$again" -le $((whole + 1024)) ] || fail "memory grows from run to run: $whole KB, then $again KB"

# Memcheck on a short run (preparation, the first scenes and the closing).
if command -v valgrind >/dev/null; then
  mkdir -p "$work/memcheck"
  status=0
  (cd "$work/memcheck" && timeout -s KILL 600 valgrind --error-exitcode=99 --track-origins=yes \
    "$build/vivur" --headless --frames=120 >stdout.txt 2>stderr.txt) || status=$?
  [ "$status" -eq 1 ] || fail "memcheck: exit code $status: $(grep -A5 'Invalid\|uninitialised' "$work/memcheck/stderr.txt" | head -20)"
  echo "memcheck: $(grep -o 'ERROR SUMMARY: [0-9]* errors' "$work/memcheck/stderr.txt"); $(grep -o 'total heap usage.*' "$work/memcheck/stderr.txt")" >>"$report"
fi
cat "$report"
echo "long_run: ok"
