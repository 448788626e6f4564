#!/usr/bin/env bash
# vivur-pak create / list / extract, and its refusals with non-zero exit codes.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_scratch
pak="$build/vivur-pak"
cd "$work"
fail() { echo "pak_tool: $*" >&2; exit 1; }

mkdir in
printf 'hello' >in/a.txt
printf 'world123' >in/B.TXT
"$pak" create t.pak in/a.txt in/B.TXT || fail "create failed"
# 5 + 4 + 8 + 4 content and count bytes, 2 entries of 25, count and signature.
[ "$(stat -c %s t.pak)" -eq 79 ] || fail "archive has $(stat -c %s t.pak) bytes, expected 79"
[ "$(tail -c 6 t.pak)" = "qomrax" ] || fail "no signature"

printf 'a.txt                 9          5\nB.TXT                12          8\n' >expected.txt
"$pak" list t.pak >listed.txt || fail "list failed"
cmp -s expected.txt listed.txt || fail "list printed: $(cat listed.txt)"

"$pak" extract t.pak -C all || fail "extract failed"
cmp -s in/a.txt all/a.txt && cmp -s in/B.TXT all/B.TXT || fail "extracted files differ"
"$pak" extract t.pak b.txt -C one || fail "extract of one name failed"
[ "$(ls one)" = "B.TXT" ] || fail "extract of one name wrote: $(ls one)"

expect_refusal() {
  local expected=$1
  shift
  local status=0
  "$pak" "$@" >out.txt 2>err.txt || status=$?
  [ "$status" -ne 0 ] || fail "'$*' succeeded"
  grep -qF "$expected" err.txt || fail "'$*' printed: $(cat err.txt)"
}
printf 'x' >in/thirteen.char
expect_refusal "name 'thirteen.char' has 13 characters; an archive name holds at most 12" create u.pak in/thirteen.char
[ ! -e u.pak ] || fail "a refused create left an archive behind"
expect_refusal "cannot read in/missing.txt" create u.pak in/missing.txt
expect_refusal "no entry [c.txt] in t.pak" extract t.pak c.txt
expect_refusal "in/a.txt is not a valid PAK file" list in/a.txt
expect_refusal "usage: vivur-pak" frobnicate

# An entry whose name climbs out of the target directory is never written.
printf '\x01\x00\x00\x00X../evil.txt\x00\x00\x00\x05\x00\x00\x00\x05\x00\x00\x00\x01\x00\x00\x00\x01\x00qomrax' >evil.pak
expect_refusal "holds a directory" extract evil.pak -C safe
[ ! -e evil.txt ] || fail "extract wrote outside its directory"
echo "pak_tool: ok"
