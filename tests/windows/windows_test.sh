#!/usr/bin/env bash
# The Windows build under Wine, against the native release build:
#   imports   vivur.exe imports only Windows' own DLLs, and none of the maths
#             functions the production's code calls from the C runtime DLL
#   trace     a whole --headless --trace run gives the Linux trace, byte for byte
#   golden    the golden frames match (tests/e2e/golden_frames.sh on vivur.exe)
#   capture   a whole PNG-folder capture equals the Linux one, every file
#   bad       the bad-content matrix gives the Linux exit codes and first error lines
#   dlls      a d3d9.dll planted beside vivur.exe (which SDL loads with
#             LoadLibrary for its renderer) is not loaded by a windowed run
#             under Xvfb, even with Wine told to prefer native DLLs
#   files     a working directory and an argument with non-ASCII characters,
#             and the archive found beside vivur.exe started from elsewhere
#   console   started from cmd in a console, --version and an error line
#             appear in that console
#   window    under Xvfb: `windowed` opens at 3 x 320 x 240 on a 1280 x 1024
#             screen with the title picture scaled by whole columns, F1 writes
#             "shot   0.tga", F2 covers the screen and back, Escape ends with
#             exit code 1; a fatal error shows the message box and its line
#   livesync  the live-sync measurement of tests/e2e/live_sync.sh, through
#             Wine's sound driver into a private PulseAudio server
#   unit      the unit suite through CTest, each test program under Wine
#             (what cannot apply is left out in src/platform/windows/windows_tests.cmake)
#   video     --capture=OUT.mp4 with no ffmpeg.exe gives the Linux message
# Usage: windows_test.sh WINDOWS_BUILD NATIVE_BUILD SOURCE_DIR [CHECK...]
# (all checks when none is named).
set -euo pipefail
win=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
src=$(cd "$3" && pwd)
export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
failures=0
fail() { echo "windows: FAIL $*" >&2; failures=$((failures + 1)); }
pass() { echo "windows: ok $*"; }
# Ends the Wine session (its desktop process keeps the display it started
# with, none in the headless checks), so the next program starts one that
# opens its windows on the current display.
new_session() { wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; }
timed() { local start=$SECONDS; "$@"; echo "windows: '$1' took $((SECONDS - start)) s"; }

# The program as the e2e scripts run it: a wrapper that starts it under Wine.
runner="$win/vivur-wine"
printf '#!/bin/sh\nexec wine "%s/vivur.exe" "$@"\n' "$win" >"$runner"
chmod +x "$runner"
if [ ! -d "$WINEPREFIX" ]; then
  start=$SECONDS
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  echo "windows: Wine prefix made in $((SECONDS - start)) s"
fi
# One Wine server for the whole test, kept running between programs: each
# start then takes a fraction of a second, and no program starts while a
# server that has just been left idle is shutting down.
wineserver -p || true  # 2 when one already runs for this prefix

imports() {
  local dlls bad maths
  dlls=$(x86_64-w64-mingw32-objdump -p "$win/vivur.exe" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
  echo "windows: vivur.exe imports $(echo $dlls)"
  bad=$(grep -vxE 'advapi32.dll|cfgmgr32.dll|gdi32.dll|imm32.dll|kernel32.dll|msvcrt.dll|ole32.dll|oleaut32.dll|setupapi.dll|shell32.dll|user32.dll|version.dll|winmm.dll' <<<"$dlls" || true)
  [ -z "$bad" ] || fail "imports: not a DLL of Windows itself: $bad"
  # Wine treats every program as DPI-aware, so a run cannot show the
  # declaration works: the manifest in the resources is checked instead.
  strings "$win/vivur.exe" | grep '<dpiAwareness .*>PerMonitorV2' >/dev/null ||
    fail "imports: vivur.exe's manifest declares no per-monitor DPI awareness"
  # The maths functions the production's code calls (undefined in its
  # library) must come from inside the .exe, not from msvcrt.dll.
  maths=$(x86_64-w64-mingw32-nm -u "$win/libvivur_core.a" | awk '{ print $NF }' |
    grep -xE '(sin|cos|tan|asin|acos|atan|atan2|pow|exp|log|log10|sqrt|ceil|floor|fmod|trunc|round|lround|hypot)f?' | sort -u)
  local from_crt
  from_crt=$(x86_64-w64-mingw32-objdump -p "$win/vivur.exe" | awk '
    /DLL Name:/ { crt = (tolower($3) == "msvcrt.dll") }
    crt && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print $3 }' | sort -u | grep -xF -f <(echo "$maths") || true)
  if [ -n "$from_crt" ]; then
    fail "imports: maths from msvcrt.dll: $(echo $from_crt)"
  else
    pass "imports: the production's maths ($(echo $maths)) are inside vivur.exe"
  fi
}

trace() {
  (cd "$work" && "$native/vivur" --headless --trace=linux.csv >/dev/null 2>&1 || true)
  local start=$SECONDS
  (cd "$work" && "$runner" --headless --trace=windows.csv >/dev/null 2>windows.err) && status=0 || status=$?
  [ "$status" -eq 1 ] || fail "trace: exit code $status, expected 1"
  if cmp -s "$work/linux.csv" "$work/windows.csv"; then
    pass "trace: $(wc -l <"$work/windows.csv") lines, byte-identical to Linux"
  else
    fail "trace: differs from Linux ($(cmp "$work/linux.csv" "$work/windows.csv" 2>&1 | head -1))"
  fi
}

golden() {
  if VIVUR_PROGRAM="$runner" VIVUR_TOOLS="$native" bash "$src/tests/e2e/golden_frames.sh" "$win" "$src"; then
    pass "golden frames"
  else
    fail "golden frames"
  fi
}

capture() {
  (cd "$work" && "$native/vivur" --capture=cap-linux --fps=10 >/dev/null 2>&1) || true
  (cd "$work" && "$runner" --capture=cap-windows --fps=10 >/dev/null 2>&1) || true
  local n
  n=$(find "$work/cap-linux" -type f | wc -l)
  if [ "$n" -gt 1 ] && diff -r "$work/cap-linux" "$work/cap-windows" >/dev/null; then
    pass "capture: $n files byte-identical to Linux"
  else
    fail "capture: differs from Linux ($(diff -rq "$work/cap-linux" "$work/cap-windows" 2>&1 | head -3))"
  fi
  rm -rf "$work/cap-linux" "$work/cap-windows"
}

bad() {
  local strip='s/ +[0-9]+ ms / /'
  bash "$src/tests/e2e/bad_content.sh" "$native" "$src" >/dev/null 2>&1 || true
  VIVUR_PROGRAM="$runner" VIVUR_TOOLS="$native" bash "$src/tests/e2e/bad_content.sh" "$win" "$src" >/dev/null 2>"$work/bad.err" || true
  if [ -s "$win/bad_content.txt" ] && diff <(sed -E "$strip" "$native/bad_content.txt") <(sed -E "$strip" "$win/bad_content.txt") >"$work/bad.diff"; then
    pass "bad content: $(wc -l <"$win/bad_content.txt") cases, the same exit codes and first error lines"
  else
    fail "bad content differs from Linux:"
    head -20 "$work/bad.diff" >&2
    echo "windows: what the Windows cases printed:" >&2
    head -40 "$work/bad.err" >&2
  fi
}

files() {
  local dir="$work/Zoë's demos"
  mkdir -p "$dir"
  (cd "$dir" && "$runner" --headless --frames=30 "--trace=trace ë.csv" >/dev/null 2>&1) || true
  if [ -s "$dir/trace ë.csv" ]; then
    pass "files: non-ASCII working directory and argument; vivur.pak found beside vivur.exe"
  else
    fail "files: no trace written in $dir"
  fi
}

dlls() {
  local dir="$work/planted"
  mkdir -p "$dir"
  cp "$win/vivur.exe" "$win/vivur.pak" "$dir/"
  # Loading it writes a marker file into the folder it lies in.
  cat >"$work/planted.c" <<'C'
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID unused)
{
    (void)unused;
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH];
        DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
        while (n > 0 && path[n - 1] != L'\\')
            --n;
        lstrcpyW(path + n, L"planted-dll-loaded.txt");
        HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        if (f != INVALID_HANDLE_VALUE)
            CloseHandle(f);
    }
    return TRUE;
}
C
  x86_64-w64-mingw32-gcc-posix -shared -o "$dir/d3d9.dll" "$work/planted.c"
  # The check can fail: a small loader beside the DLL loads it by name, and
  # the planted copy wins unless host_start has restricted the search first.
  cat >"$work/loader.cpp" <<'C'
#include <windows.h>
#include <cwchar>
#include "platform/host.h"
int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && !std::wcscmp(argv[1], L"restricted"))
        host_start();
    return LoadLibraryW(L"d3d9.dll") ? 0 : 2;
}
C
  x86_64-w64-mingw32-g++-posix -std=c++20 -municode -static -DUNICODE -D_UNICODE -I"$src/src" \
    "$work/loader.cpp" "$src/src/platform/host_win.cpp" -lwinmm -o "$dir/loader.exe"
  local variant
  for variant in open restricted; do
    rm -f "$dir/planted-dll-loaded.txt"
    (cd "$dir" && WINEDLLOVERRIDES="d3d9=n,b" wine "$dir/loader.exe" "$variant" >/dev/null 2>&1) || true
    if [ "$variant" = open ] && [ ! -e "$dir/planted-dll-loaded.txt" ]; then
      fail "dlls: without the search-path setting the planted d3d9.dll was not loaded: the check proves nothing"
    elif [ "$variant" = restricted ] && [ -e "$dir/planted-dll-loaded.txt" ]; then
      fail "dlls: host_start did not keep the planted d3d9.dll out"
    fi
  done
  rm -f "$dir/planted-dll-loaded.txt"
  new_session
  # The run must reach its window (and so its renderer's d3d9.dll), or the
  # missing marker proves nothing: the window's appearance is recorded.
  rm -f "$dir/window-opened.txt"
  (cd "$dir" && SDL_VIDEODRIVER=windows SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=direct3d \
    WINEDLLOVERRIDES="d3d9=n,b;winemenubuilder.exe=d" \
    timeout 120 xvfb-run -a bash -c 'wine vivur.exe windowed --frames=300 & pid=$!
      timeout 60 xdotool search --sync --onlyvisible --name "yrk/win" >/dev/null && touch window-opened.txt
      wait $pid' >/dev/null 2>&1) || true
  if [ ! -e "$dir/window-opened.txt" ]; then
    fail "dlls: the windowed run opened no window: the check proves nothing"
  elif [ -e "$dir/planted-dll-loaded.txt" ]; then
    fail "dlls: the d3d9.dll beside vivur.exe was loaded"
  else
    pass "dlls: the d3d9.dll beside vivur.exe was not loaded"
  fi
}

console() {
  # Started from cmd in a console of its own (a pseudo-terminal, which
  # Wine's console draws on with cursor moves), the windowed program attaches
  # to that console: --version and an error line appear there.
  local dir="$work/console" said
  mkdir -p "$dir/broken"
  cp "$win/vivur.exe" "$win/vivur.pak" "$dir/broken/"
  : >"$dir/broken/intro.jpg"
  said=$(cd "$dir/broken" && script -qc 'wine cmd /c "vivur.exe --version & vivur.exe --headless"' /dev/null </dev/null |
    perl -pe 's/\e\[(\d*)C/" " x ($1 || 1)/ge; s/\e\[[0-9;?]*[A-Za-z]//g; s/\r//g')
  if grep -q '^vivur [0-9]' <<<"$said" && grep -q '^error: picture intro.jpg' <<<"$said"; then
    pass "console: $(grep -E '^(vivur|error)' <<<"$said" | tr '\n' ' ')"
  else
    fail "console: the console showed: $(head -c 300 <<<"$said")"
  fi
}

window() {
  new_session
  local dir="$work/window"
  mkdir -p "$dir"
  cat >"$dir/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
# Runs inside the virtual X server. Prints what it saw; exits 1 on a fault.
set -u
exe=$1
size() { xdotool getwindowgeometry "$wid" | awk '/Geometry:/ { print $2 }'; }
wait_size() {  # wait_size WxH: the window takes that size within 10 s
  local s
  for _ in $(seq 100); do s=$(size); [ "$s" = "$1" ] && return 0; sleep 0.1; done
  echo "window is $s, expected $1" >&2; return 1
}
SDL_AUDIODRIVER=dummy wine "$exe" windowed >live.log 2>&1 &
pid=$!
wid=$(timeout 60 xdotool search --sync --onlyvisible --name "yrk/win" | head -1)
[ -n "$wid" ] || { echo "no window appeared" >&2; kill "$pid"; exit 1; }
xdotool windowfocus --sync "$wid"
wait_size 960x720 || { kill "$pid"; exit 1; }
# The title picture as the screen shows it: each picture pixel three screen
# columns wide, and not black.
sleep 1
eval "$(xdotool getwindowgeometry --shell "$wid")"
ffmpeg -loglevel error -f x11grab -draw_mouse 0 -video_size 960x720 -grab_x "$X" -grab_y "$Y" -i "$DISPLAY" \
  -frames:v 1 -f rawvideo -pix_fmt rgb24 -y screen.rgb
python3 - <<'PY' || { kill "$pid"; exit 1; }
data = open("screen.rgb", "rb").read()
assert len(data) == 960 * 720 * 3, len(data)
rows = [data[y * 2880:(y + 1) * 2880] for y in range(720)]
uneven = sum(1 for r in rows for x in range(0, 960, 3) if not (r[x*3:x*3+3] == r[x*3+3:x*3+6] == r[x*3+6:x*3+9]))
lit = sum(1 for i in range(0, len(data), 3) if max(data[i:i+3]) > 32) / (960 * 720)
print(f"screen: {lit:.0%} of the window lit, {uneven} column triples uneven")
assert uneven == 0 and lit > 0.05
PY
xdotool key F1
for _ in $(seq 100); do [ "$(stat -c %s "shot   0.tga" 2>/dev/null)" = 192018 ] && break; sleep 0.1; done
[ "$(stat -c %s "shot   0.tga" 2>/dev/null)" = 192018 ] || { echo "no screenshot of 192018 bytes" >&2; kill "$pid"; exit 1; }
xdotool key F2
wait_size 1280x1024 || { kill "$pid"; exit 1; }
xdotool key F2
wait_size 960x720 || { kill "$pid"; exit 1; }
xdotool key Escape
code=0; wait "$pid" || code=$?
[ "$code" = 1 ] || { echo "Escape: exit code $code, expected 1" >&2; cat live.log >&2; exit 1; }
# A fatal error: the message box (caption "error"), the line on standard
# error, exit code 1 once the box is closed.
mkdir -p broken
: >broken/intro.jpg
(cd broken && SDL_AUDIODRIVER=dummy wine "$exe" windowed >../box.out 2>../box.err) &
pid=$!
box=$(timeout 60 xdotool search --sync --onlyvisible --name "^error$" | head -1)
[ -n "$box" ] || { echo "no message box appeared" >&2; kill "$pid"; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$box" key Return
code=0; wait "$pid" || code=$?
[ "$code" = 1 ] || { echo "after the message box: exit code $code, expected 1" >&2; exit 1; }
grep -q '^error: picture intro.jpg' box.err || { echo "no error line beside the box:" >&2; cat box.err >&2; exit 1; }
echo "960x720 window, F1 wrote the screenshot, F2 covered the screen and back, Escape ended with exit code 1;"
echo "a fatal error showed the message box and printed its line, exit code 1"
INSIDE
  local said
  if said=$(cd "$dir" && env -u SDL_VIDEODRIVER timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" \
      bash inside.sh "$win/vivur.exe" 2>&1); then
    pass "window: $(echo "$said" | tr '\n' ' ')"
  else
    fail "window: $(echo "$said" | tail -5 | tr '\n' ' ')"
  fi
}

livesync() {
  new_session
  # Wine's performance counter is CLOCK_MONOTONIC_RAW, so the measurement's
  # stamps are taken on that clock too.
  local status=0
  VIVUR_PROGRAM="$runner" VIVUR_TOOLS="$native" LIVE_SYNC_CLOCK=raw LIVE_SYNC_AUDIO_DRIVER=wasapi LIVE_SYNC_END=escape LIVE_SYNC_UNSEEN=1 LIVE_SYNC_HUNG_END=wine \
    bash "$src/tests/e2e/live_sync.sh" "$win" "$src" >"$work/sync.out" 2>&1 || status=$?
  if [ "$status" -eq 0 ]; then
    pass "livesync: $(grep -E '^(sync|end of a run)' "$win/live_sync.txt" | tr '\n' ' ')"
  else
    fail "livesync: exit code $status: $(tail -5 "$work/sync.out" | tr '\n' ' ')"
  fi
}

unit() {
  local summary
  # A Wine session of its own whose helper processes (services, the desktop)
  # hold none of CTest's output pipes: a test that started them would look
  # busy until the session ends.
  timeout 30 wineserver -w || wineserver -k || true
  wineserver -p10 </dev/null >/dev/null 2>&1
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
  if ctest --test-dir "$win" -j2 --timeout 300 --output-on-failure >"$work/unit.txt" 2>&1; then
    pass "unit: $(grep -E 'tests passed' "$work/unit.txt")"
  else
    fail "unit: $(grep -E 'tests failed' "$work/unit.txt" || echo 'ctest did not run')"
    sed -n '/The following tests FAILED/,$p' "$work/unit.txt" | head -30 >&2
  fi
  summary=$(grep -E '^Total Test time' "$work/unit.txt" || true)
  [ -z "$summary" ] || echo "windows: unit: $summary"
}

video() {
  # Neither ffmpeg.exe beside vivur.exe nor on Wine's PATH; none on Linux's PATH either.
  local linux windows status
  [ ! -e "$win/ffmpeg.exe" ] || fail "video: $win/ffmpeg.exe exists, the check needs none"
  (cd "$work" && PATH=/nonexistent "$native/vivur" --capture=x.mp4 >/dev/null 2>linux.err) && status=0 || status=$?
  linux="$status $(grep -m1 '^error:' "$work/linux.err" || true)"
  (cd "$work" && "$runner" --capture=x.mp4 >/dev/null 2>windows.err) && status=0 || status=$?
  windows="$status $(grep -m1 '^error:' "$work/windows.err" | tr -d '\r' || true)"
  if [ "$linux" = "$windows" ] && [[ "$linux" == *ffmpeg* ]]; then
    pass "video: no ffmpeg.exe gives the Linux exit code and message: $windows"
  else
    fail "video: Linux '$linux', Windows '$windows'"
  fi
}

checks=("${@:4}")
[ ${#checks[@]} -gt 0 ] || checks=(imports trace golden capture bad files console dlls unit video window livesync)
for check in "${checks[@]}"; do
  timed "$check"
done
if [ "$failures" -gt 0 ]; then
  echo "windows: $failures check(s) failed" >&2
  exit 1
fi
echo "windows: all checks passed"
