#!/usr/bin/env bash
# Bad content through the real executable, headless: for every asset of the
# default archive a loose file of its name that is empty, truncated, of the
# wrong size (pictures), of the wrong kind or garbage, and the archive without
# it; then archives with a broken directory, and a working directory where
# screenshots cannot be written. Every case must end within a few seconds with
# exit code 1, never by a signal; a stop must say "error: ..." on standard
# error (naming the picture or the missing file). A truncated file may play
# on: a picture decodes to its end with the decoder's warning, the 3DS walker
# stops at the end of the file, the module player fills what is missing with
# silence. The run that cannot write screenshots plays on as well.
# Writes the matrix (case, exit code, message) to bad_content.txt in the build dir.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_need_content
e2e_scratch
pak=$build/vivur.pak
report=$build/bad_content.txt
: >"$report"
failures=0

mkdir "$work/assets"
(cd "$work/assets" && "$tools/vivur-pak" extract "$pak" >/dev/null)
mapfile -t names < <("$tools/vivur-pak" list "$pak" | awk '{print $1}')

# Deterministic garbage, and a picture of a size no asset has.
perl -e 'srand(7); print map { chr(int(rand(256))) } 1..4096' >"$work/garbage.bin"
ffmpeg -loglevel error -f lavfi -i color=c=0x7f3fbf:s=64x48 -frames:v 1 -y "$work/small.jpg"
module=$(printf '%s\n' "${names[@]}" | grep -i '\.s3m$' | head -1)
picture=$(printf '%s\n' "${names[@]}" | grep -i '\.jpg$' | head -1)

# run_case LABEL NAME MODE [vivur options...]: runs vivur in $work/case (which
# the caller filled) and checks the end. MODE: stop (must stop with an error
# naming NAME when NAME is given), play (may play on; a stop must name NAME),
# any_stop (must stop with an error line).
run_case() {
  local label=$1 name=$2 mode=$3
  shift 3
  local status=0 start end elapsed message
  start=$(date +%s%N)
  (cd "$work/case" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    timeout -s KILL 30 "$vivur" --headless --frames=60 "$@" >"$work/stdout.txt" 2>"$work/stderr.txt") || status=$?
  end=$(date +%s%N)
  elapsed=$(( (end - start) / 1000000 ))
  message=$(grep -m1 '^error: ' "$work/stderr.txt" || true)
  printf '%-32s %4s  %6s ms  %s\n' "$label" "$status" "$elapsed" "${message:-(plays on)}" >>"$report"
  local problem=""
  if [ "$status" -ne 1 ]; then
    problem="exit code $status"
    [ "$status" -gt 128 ] && problem="$problem (signal $((status - 128)))"
  elif [ "$elapsed" -gt 10000 ]; then
    problem="took $elapsed ms"
  elif [ "$mode" != play ] && [ -z "$message" ]; then
    problem="no error message"
  elif [ -n "$message" ] && [ -n "$name" ] && [ "$mode" != any_stop ] && ! grep -qF "$name" <<<"$message"; then
    problem="message does not name $name"
  fi
  if [ -n "$problem" ]; then
    echo "bad_content: $label: $problem" >&2
    sed 's/^/    /' "$work/stderr.txt" | head -5 >&2
    failures=$((failures + 1))
  fi
}

fresh_case() {
  rm -rf "$work/case"
  mkdir "$work/case"
  cp "$pak" "$work/case/vivur.pak"
}

for name in "${names[@]}"; do
  source=$work/assets/$name
  size=$(stat -c %s "$source")
  kind=${name##*.}
  kind=${kind,,}
  # Pictures name themselves in their messages; the 3DS and module messages
  # are the production's fixed texts, so there only a stop is required.
  named=stop
  [ "$kind" = jpg ] || named=any_stop

  fresh_case
  (cd "$work/assets" && "$tools/vivur-pak" create "$work/case/vivur.pak" $(printf '%s\n' "${names[@]}" | grep -vxF "$name") >/dev/null)
  run_case "$name missing from the archive" "$name" stop

  fresh_case
  : >"$work/case/$name"
  run_case "$name empty" "$name" $named

  fresh_case
  head -c $((size / 2)) "$source" >"$work/case/$name"
  run_case "$name truncated" "$name" play

  if [ "$kind" = jpg ]; then
    fresh_case
    cp "$work/small.jpg" "$work/case/$name"
    run_case "$name wrong size (64x48)" "$name" stop
  fi

  fresh_case
  if [ "$kind" = jpg ]; then
    cp "$work/assets/$module" "$work/case/$name"
  else
    cp "$work/assets/$picture" "$work/case/$name"
  fi
  run_case "$name wrong kind" "$name" $named

  fresh_case
  cp "$work/garbage.bin" "$work/case/$name"
  run_case "$name garbage" "$name" $named
done

# Broken archives: the signature, the count, an entry pointing outside, half a file.
length=$(stat -c %s "$pak")
count=$(( $(od -An -tu2 -j $((length - 8)) -N2 "$pak") ))
directory=$((length - 8 - 25 * count))

fresh_case
printf 'qomraz' | dd of="$work/case/vivur.pak" bs=1 seek=$((length - 6)) conv=notrunc status=none
run_case "archive with a wrong signature" vivur.pak stop
fresh_case
printf '\377\377' | dd of="$work/case/vivur.pak" bs=1 seek=$((length - 8)) conv=notrunc status=none
run_case "archive count of 65535" vivur.pak stop
fresh_case
printf '\377\377\377\177' | dd of="$work/case/vivur.pak" bs=1 seek=$((directory + 13)) conv=notrunc status=none
run_case "archive entry outside the file" vivur.pak stop
fresh_case
printf '\377\377\377\177' | dd of="$work/case/vivur.pak" bs=1 seek=$((directory + 21)) conv=notrunc status=none
run_case "archive entry of 2 GB content" vivur.pak stop
fresh_case
head -c $((length / 2)) "$pak" >"$work/case/vivur.pak"
run_case "archive cut in half" vivur.pak stop
fresh_case
: >"$work/case/vivur.pak"
run_case "archive empty" vivur.pak stop

# Screenshots that cannot be written: their names are taken by directories
# (which stops root too) and the directory is read-only. The run goes on.
fresh_case
mkdir "$work/case/shot   0.tga" "$work/case/shot   1.tga"
chmod a-w "$work/case"
run_case "screenshots cannot be written" "" play --keys=5:F1,6:F1,7:F1
chmod u+w "$work/case"

cat "$report"
if [ "$failures" -ne 0 ]; then
  echo "bad_content: $failures case(s) failed" >&2
  exit 1
fi
echo "bad_content: ok ($(wc -l <"$report") cases)"
