#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the installed vivur, started from
# an empty folder, finds its archive in PREFIX/share/vivur; without it, the
# message lists the places tried; --desktop plays in ~/Pictures/vivur; the
# manual pages render without warnings; the desktop entry validates; the
# icons are PNGs of their folder's size.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_need_content
for tool in man desktop-file-validate; do
  command -v "$tool" >/dev/null || e2e_skip "$tool is missing (scripts/setup installs it)"
done
e2e_scratch
fail() { echo "install_tree: $*" >&2; exit 1; }
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.txt" || fail "cmake --install failed: $(tail -5 "$work/install.txt")"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
mkdir "$work/empty"
cd "$work/empty"

status=0
"$prefix/bin/vivur" --headless --frames=60 2>stderr.txt || status=$?
[ "$status" -eq 1 ] || fail "exit code $status from the installed vivur, expected 1: $(cat stderr.txt)"
! grep -q "error" stderr.txt || fail "the installed vivur did not find its archive: $(cat stderr.txt)"
[ -z "$(ls -A . | grep -v '^stderr.txt$')" ] || fail "the run left files in the working directory: $(ls -A)"

# --desktop: its own folder under ~/Pictures, made if missing; a screenshot lands there.
HOME=$work/home "$prefix/bin/vivur" --desktop --headless --frames=3 --keys=1:F1 2>stderr.txt || true
[ -f "$work/home/Pictures/vivur/shot   0.tga" ] || fail "--desktop left no screenshot in ~/Pictures/vivur: $(cat stderr.txt)"

# Without the installed archive: the production's message, then every place tried.
mv "$prefix/share/vivur/vivur.pak" "$work/away.pak"
"$prefix/bin/vivur" --headless --frames=60 2>stderr.txt || true
printf '%s\n' "error: file not found [vivur.pak]" \
  "looked for in: vivur.pak (the working directory), $prefix/bin/vivur.pak, $prefix/share/vivur/vivur.pak" >expected.txt
diff expected.txt stderr.txt >/dev/null || fail "missing archive message: $(cat stderr.txt)"

for page in vivur vivur-pak vivur-inspect; do
  file=$prefix/share/man/man1/$page.1.gz
  [ -f "$file" ] || fail "no manual page $file"
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" >page.txt 2>warnings.txt || fail "man -l $page failed: $(cat warnings.txt)"
  [ ! -s warnings.txt ] || fail "man -l $page warns: $(cat warnings.txt)"
  grep -q "EXIT STATUS" page.txt || fail "$page's manual page has no EXIT STATUS"
done
grep -q "share/vivur/" <(MANWIDTH=200 man -l "$prefix/share/man/man1/vivur.1.gz" 2>/dev/null) || fail "vivur.1 does not say where the archive is looked for"
desktop-file-validate "$prefix/share/applications/vivur.desktop" || fail "desktop-file-validate found problems"
for size in 16 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x$size/apps/vivur.png
  read -r width height < <(python3 -c 'import struct, sys; d = open(sys.argv[1], "rb").read(24); print(*struct.unpack(">II", d[16:24]) if d[:8] == b"\x89PNG\r\n\x1a\n" else (0, 0))' "$png")
  [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "$png is ${width}x$height, not ${size}x$size"
done
[ -f "$prefix/share/doc/vivur/copyright" ] || fail "no copyright file"
echo "install_tree: ok"
