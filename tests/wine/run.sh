#!/usr/bin/env bash
# The Windows programs cross-built into build-win/ and run under Wine on one
# Xvfb: the unit tests, the command line's page against the Linux one, and the
# real dialog driven with xdotool. The dialog's screenshot is left in
# build-win/wine-e2e/dialog-windows.png (docs/dialog-windows.png is a copy).
set -uo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD
BUILD=$ROOT/build-win
WORK=$BUILD/wine-e2e
LOG=$BUILD/wine-run.log
EPOCH=1796428800  # every page of the run is dated 2026-12-05
passed=0
failed=0

say() { printf '%s\n' "$*"; }
pass() { passed=$((passed + 1)); say "  ok    $1"; }
fail() { failed=$((failed + 1)); say "  FAIL  $1"; [ $# -gt 1 ] && say "        $2"; return 0; }
check() {  # name, command...: passes when the command succeeds
  local name=$1
  shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}
retry() {  # tenths of a second, command...: until the command succeeds
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  return 1
}
finish() {
  say "wine: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

for tool in x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres wine wineserver Xvfb xdotool; do
  command -v "$tool" >/dev/null || { fail "tools" "$tool is missing (./dev test installs it)"; finish; }
done
[ -f /usr/src/googletest/CMakeLists.txt ] || { fail "tools" "GoogleTest sources are missing (package googletest)"; finish; }

mkdir -p "$BUILD"
: >"$LOG"
build() {
  local gtest=$BUILD/googletest
  if [ ! -f "$gtest/prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
    cmake -S /usr/src/googletest -B "$gtest/build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest/prefix" -DBUILD_GMOCK=ON &&
      cmake --build "$gtest/build" -j 2 && cmake --install "$gtest/build"
  fi || return 1
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DZELK_WINDOWS_PREFIX="$gtest/prefix" -DZELK_WERROR=ON -DZELK_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
    cmake --build "$BUILD" -j 2 --target zelk2html zelk2html-cli zelk_unit_tests zelk_app_tests zelk_win32_tests
}
say "building the Windows programs and tests into build-win/ (log: build-win/wine-run.log)"
if build >>"$LOG" 2>&1; then
  pass "cross build with mingw-w64"
else
  tail -n 30 "$LOG"
  fail "cross build with mingw-w64" "see build-win/wine-run.log"
  finish
fi
for exe in zelk2html.exe zelk2html-cli.exe; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$BUILD/$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' |
    grep -v -x -E 'kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|shell32.dll|ole32.dll|version.dll|msvcrt.dll|advapi32.dll|shlwapi.dll' | tr '\n' ' ')
  [ -z "$dlls" ] && pass "$exe needs only system DLLs" || fail "$exe needs only system DLLs" "also: $dlls"
done

# The Linux command line's page is the reference for every page here.
LINUX_CLI=$BUILD-host/zelk2html-cli
if { cmake -S "$ROOT" -B "$BUILD-host" -DZELK_TESTS=OFF -DZELK_WERROR=ON &&
  cmake --build "$BUILD-host" -j 2 --target zelk2html-cli; } >>"$LOG" 2>&1; then :; else
  fail "Linux command line for the reference pages" "see build-win/wine-run.log"
  finish
fi

XVFB_PID=""
DIALOG_PID=""
export WINEPREFIX=$BUILD/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
cleanup() {
  [ -n "$DIALOG_PID" ] && kill "$DIALOG_PID" 2>/dev/null
  wineserver -k 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

rm -rf "$WORK"
mkdir -p "$WORK"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" </dev/null >>"$LOG" 2>&1 &
XVFB_PID=$!
retry 50 test -s "$WORK/display" || { fail "Xvfb"; finish; }
export DISPLAY=:$(cat "$WORK/display")

say "starting Wine in build-win/wineprefix (the first start takes a while)"
started=$(date +%s)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout 300 wineboot -i </dev/null >>"$LOG" 2>&1
fi
timeout 120 wineserver -p </dev/null >>"$LOG" 2>&1
# Without a window manager, Wine would wait for one on every window it hides;
# unmanaged windows skip that. The close box and the menus draw with Marlett,
# which Wine looks for among the prefix's fonts.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >>"$LOG" 2>&1
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
say "Wine ready after $(($(date +%s) - started)) s"

say "unit tests under Wine"
for test in tests/zelk_unit_tests tests/app/zelk_app_tests tests/wine/zelk_win32_tests; do
  name=$(basename "$test")
  # In its build folder, as ctest runs it: the tests find their data there.
  (cd "$BUILD/$(dirname "$test")" && timeout 300 wine "./$name.exe" --gtest_brief=1 </dev/null >"$WORK/$name.log" 2>&1)
  status=$?
  summary=$(grep -E '^\[  (PASSED|FAILED) ' "$WORK/$name.log" | head -1)
  if [ $status -eq 0 ] && grep -q '^\[  PASSED  \]' "$WORK/$name.log"; then
    pass "$name: $summary"
  else
    grep -E -B2 -A12 'Failure|FAILED' "$WORK/$name.log" | head -60
    fail "$name (exit $status)" "${summary:-no summary; see build-win/wine-e2e/$name.log}"
  fi
done

say "the command line under Wine"
mkdir -p "$WORK/cli"
cp "$ROOT/examples/grids.csv" "$WORK/cli/grids.csv"
sed 's/\r*$/\r/' "$ROOT/examples/grids.csv" >"$WORK/cli/grids-crlf.csv"
CLI_OPTIONS=(--band 2M --field EM --format 11x17 --ffma --no-bold)
(cd "$WORK/cli" && SOURCE_DATE_EPOCH=$EPOCH "$LINUX_CLI" grids.csv -o linux.html "${CLI_OPTIONS[@]}" >linux.out)
sed 's/$/\r/' "$WORK/cli/linux.html" >"$WORK/cli/linux-crlf.html"
windows_cli() {  # listing page
  (cd "$WORK/cli" && SOURCE_DATE_EPOCH=$EPOCH timeout 60 wine "$BUILD/zelk2html-cli.exe" "$1" -o "$2" \
    "${CLI_OPTIONS[@]}" </dev/null >"$2.out" 2>"$2.err")
}
same_page() { windows_cli "$1" "$2" && cmp "$WORK/cli/$2" "$WORK/cli/$3"; }
check "the Windows page is the Linux page with CR LF line ends" same_page grids.csv windows.html linux-crlf.html
check "a listing with CR LF line ends gives the same page" same_page grids-crlf.csv windows-crlf.html windows.html

say "the dialog under Wine, driven with xdotool"
PROGRAM=$WORK/program
mkdir -p "$PROGRAM" "$WORK/logs"
cp "$BUILD/zelk2html.exe" "$PROGRAM/"
cp "$WORK/cli/grids-crlf.csv" "$WORK/logs/grids.csv"
LISTING_WINDOWS="Z:${WORK//\//\\}\\logs\\grids.csv"
MAIN_TITLE='ZELK to HTML Version 3.3'
# The dialog's choices below, on the command line.
(cd "$WORK" && SOURCE_DATE_EPOCH=$EPOCH "$LINUX_CLI" logs/grids.csv -o expected.html --band 1 --field EM \
  --format portrait --ffma >/dev/null && sed -i 's/$/\r/' expected.html)

visible() {  # the id of the visible window whose whole title is $1
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
  [ -n "$id" ] && echo "$id"
}
window() { retry $((${2:-20} * 10)) visible "$1"; }  # title, seconds to wait
closed() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
gone() { retry 100 closed "$1"; }  # within 10 seconds
# Keys go to the window with the X input focus; no window manager gives it.
keys() {  # window, xdotool key names...
  local id=$1
  shift
  timeout 10 xdotool windowfocus --sync "$id" && timeout 20 xdotool key --delay 40 "$@"
}
typed() {  # window, text
  timeout 10 xdotool windowfocus --sync "$1" && timeout 30 xdotool type --delay 40 "$2"
}
start_dialog() {  # the dialog from its folder, as a double click would start it
  (cd "$PROGRAM" && SOURCE_DATE_EPOCH=$EPOCH exec timeout 120 wine zelk2html.exe </dev/null >>"$WORK/dialog.log" 2>&1) &
  DIALOG_PID=$!
}
dialog_ended() { ! kill -0 "$DIALOG_PID" 2>/dev/null && { wait "$DIALOG_PID"; DIALOG_PID=""; }; }
ended() { retry 150 dialog_ended; }  # within 15 seconds
stop_dialog() {  # after a failed step: nothing may be left for the next one
  [ -n "$DIALOG_PID" ] && kill "$DIALOG_PID" 2>/dev/null && wait "$DIALOG_PID" 2>/dev/null
  DIALOG_PID=""
}
choose_listing() {  # Input, then the open-file dialog, as a user types a path
  local main=$1 chooser
  keys "$main" space && chooser=$(window 'Input CSV File') && typed "$chooser" "$LISTING_WINDOWS" &&
    keys "$chooser" Return && gone 'Input CSV File'
}
generate() {  # Enter presses the default button; the summary box is dismissed
  local main=$1 summary
  keys "$main" Return && summary=$(window zelk2html) && keys "$summary" Return && gone zelk2html
}
# Takes the window until two pictures in a row agree: it has finished painting.
screenshot() {  # window, file
  local previous=""
  for _ in $(seq 20); do
    /usr/bin/import -window "$1" "$2.new.png" 2>/dev/null || return 1
    [ -n "$previous" ] && cmp -s "$2.new.png" "$previous" && { mv "$2.new.png" "$2"; rm -f "$previous"; return 0; }
    [ -n "$previous" ] && rm -f "$previous"
    mv "$2.new.png" "$2.old.png"
    previous=$2.old.png
    sleep 0.2
  done
  return 1
}
int_at() { od -A n -t d4 -j "$2" -N 4 "$1" | tr -d ' '; }
text_at() { dd if="$1" bs=1 skip="$2" count="$3" 2>/dev/null | tr -d '\0'; }

# First run: every choice made by hand, then Generate.
first_run() {
  local main
  start_dialog
  main=$(window "$MAIN_TITLE" 60) || return 1
  choose_listing "$main" || return 1
  # Band: second row (2 M); field typed in small letters; Portrait (arrow
  # within the radio group); FFMA, the sixth check box along the tab order.
  keys "$main" Tab Down Down Tab && typed "$main" em &&
    keys "$main" Tab Up Tab Tab Tab Tab Tab Tab space || return 1
  generate "$main" || return 1
  keys "$main" Escape && ended
}
ini=$PROGRAM/zelk2html.ini
if first_run; then
  check "dialog: Input, band, field, format and FFMA, Generate: the page beside the program" \
    cmp "$PROGRAM/grids.html" "$WORK/expected.html"
  got="$(stat -c %s "$ini" 2>/dev/null)|$(text_at "$ini" 0 16)|$(text_at "$ini" 16 8)|$(text_at "$ini" 24 16)"
  got+="|$(int_at "$ini" 552) $(int_at "$ini" 568) $(int_at "$ini" 580) $(int_at "$ini" 592) $(int_at "$ini" 576)"
  if [ "$got" = "596|3.3.0.1|EM|zelk2html|1 1 0 3 4" ]; then
    pass "dialog: zelk2html.ini beside the .exe with version 3.3.0.1 from its version record and the choices"
  else
    fail "dialog: zelk2html.ini beside the .exe with version 3.3.0.1 from its version record and the choices" \
      "size|version|field|name|band ffma format columns rows: $got"
  fi
else
  stop_dialog
  fail "dialog: first run did not complete" "see build-win/wine-e2e/dialog.log"
fi

# Second run: the listing chosen again, everything else as restored; the
# About box from the system menu (Up wraps to its last entry, ours).
second_run() {
  local main about
  rm -f "$PROGRAM/grids.html"
  start_dialog
  main=$(window "$MAIN_TITLE" 60) || return 1
  choose_listing "$main" || return 1
  timeout 5 xdotool mousemove 0 0  # no control lit up under the pointer
  screenshot "$main" "$WORK/dialog-windows.png"
  generate "$main" || return 1
  check "dialog: a restart restores every choice" cmp "$PROGRAM/grids.html" "$WORK/expected.html"
  keys "$main" alt+space && sleep 0.5 && timeout 10 xdotool key --delay 40 Up Return &&
    about=$(window 'About ZELK to HTML') && keys "$about" Return && gone 'About ZELK to HTML' &&
    pass "dialog: the About box opens from the system menu and OK closes it" ||
    fail "dialog: the About box opens from the system menu and OK closes it"
  keys "$main" Escape && ended
}
if [ -f "$ini" ] && second_run; then :; else
  stop_dialog
  fail "dialog: second run did not complete"
fi

# The version is the program file's own: the same program with another
# file version in its record finds the settings of another version.
third_run() {
  local warning main
  perl -0777 -pe 's/\xBD\x04\xEF\xFE\x00\x00\x01\x00\x03\x00\x03\x00\x01\x00\x00\x00/\xBD\x04\xEF\xFE\x00\x00\x01\x00\x03\x00\x03\x00\x02\x00\x00\x00/' \
    "$BUILD/zelk2html.exe" >"$PROGRAM/zelk2html.exe"
  cmp -s "$PROGRAM/zelk2html.exe" "$BUILD/zelk2html.exe" && return 1
  start_dialog
  warning=$(window zelk2html 60) || return 1
  keys "$warning" Return && main=$(window "$MAIN_TITLE") && keys "$main" Escape && ended
}
if [ -f "$ini" ] && cp "$ini" "$WORK/before.ini" && third_run && cmp -s "$ini" "$WORK/before.ini"; then
  pass "dialog: a program whose version record says 3.3.0.2 warns about the settings of 3.3.0.1"
else
  stop_dialog
  fail "dialog: a program whose version record says 3.3.0.2 warns about the settings of 3.3.0.1"
fi

finish
