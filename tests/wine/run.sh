#!/usr/bin/env bash
# The Windows programs cross-built into build-win/, under Wine on their own Xvfb: the unit tests
# through ctest, and the real dialog driven with xdotool (screenshot: build-win/wine-e2e/dialog-windows.png).
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD BUILD=$PWD/build-win
work=$BUILD/wine-e2e LOG=$BUILD/wine-run.log EPOCH=1796428800
. tests/support/x11.sh
need_tools x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres x86_64-w64-mingw32-objdump wine wineserver \
  Xvfb xdotool import
rm -rf "$work" && mkdir -p "$work" && : >"$LOG"
quietly() { "$@" >>"$LOG" 2>&1 || { tail -n 30 "$LOG"; fail "$* (log: build-win/wine-run.log)"; }; }

gtest=$BUILD/googletest
if [ ! -f "$gtest/prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  quietly cmake -S /usr/src/googletest -B "$gtest/build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest/prefix" -DBUILD_GMOCK=ON
  quietly cmake --build "$gtest/build" -j 2
  quietly cmake --install "$gtest/build"
fi
quietly cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
  -DZELK_WINDOWS_PREFIX="$gtest/prefix" -DZELK_WERROR=ON -DZELK_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
quietly cmake --build "$BUILD" -j 2 --target zelk2html zelk2html-cli zelk_unit_tests zelk_app_tests zelk_win32_tests
quietly cmake -S "$ROOT" -B "$BUILD-host" -DZELK_TESTS=OFF -DZELK_WERROR=ON
quietly cmake --build "$BUILD-host" -j 2 --target zelk2html-cli

system='(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|version|msvcrt|advapi32|shlwapi)\.dll'
dlls=$(x86_64-w64-mingw32-objdump -p "$BUILD"/zelk2html{,-cli}.exe | sed -n 's/^\s*DLL Name: //p' | grep -vixE "$system") || true
[ -z "$dlls" ] || fail "the programs need more than system DLLs: $dlls"

start_xvfb
export WINEPREFIX=$BUILD/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
on_exit() { wineserver -k 2>/dev/null; }
on_failure() { tail -n 20 "$work/dialog.log" 2>/dev/null; }
[ -f "$WINEPREFIX/system.reg" ] || quietly timeout 300 wineboot -i </dev/null
timeout 120 wineserver -p </dev/null >>"$LOG" 2>&1 || true  # fails when wineboot left one running
# Unmanaged windows: with no window manager Wine would wait for one on every hide. Menus draw with Marlett.
quietly timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"

(cd "$BUILD" && ctest -L unit -LE faults -j 2 --timeout 300 --output-on-failure) || fail "unit tests under Wine"

mkdir -p "$work/program" && cp "$BUILD/zelk2html.exe" "$work/program/" && cp "$ROOT/examples/grids.csv" "$work/"
ini=$work/program/zelk2html.ini
(cd "$work" && SOURCE_DATE_EPOCH=$EPOCH "$BUILD-host/zelk2html-cli" grids.csv -o expected.html --band 1 --field EM \
  --format portrait --ffma >/dev/null && sed -i 's/$/\r/' expected.html)
keys() { x windowfocus --sync "$1" && timeout 20 xdotool key --delay 40 "${@:2}"; }
typed() { x windowfocus --sync "$1" && timeout 30 xdotool type --delay 40 "$2"; }
start_dialog() {  # from its folder, as a double click would start it
  (cd "$work/program" && SOURCE_DATE_EPOCH=$EPOCH exec timeout 120 wine zelk2html.exe </dev/null \
    >>"$work/dialog.log" 2>&1) &
  app=$!
  main=$(await_window 'ZELK to HTML Version 3.3' 60)
}
escape() { keys "$main" Escape && await_end; }
choose_listing() {  # Input, then the open-file dialog, as a user types a path
  keys "$main" space
  typed "$(await_window 'Input CSV File')" "Z:${work//\//\\}\\grids.csv"
  keys "$(visible 'Input CSV File')" Return
  await_closed 'Input CSV File'
}
generate() {  # Enter presses the default button; the summary box is dismissed
  keys "$main" Return
  keys "$(await_window zelk2html)" Return
  await_closed zelk2html
  cmp "$work/program/grids.html" "$work/expected.html" || fail "$1: the dialog's page is not the command line's"
}

start_dialog
choose_listing
# Band 2 M (second row); field in small letters; Portrait; FFMA, the sixth check box along the tab order.
keys "$main" Tab Down Down Tab
typed "$main" em
keys "$main" Tab Up Tab Tab Tab Tab Tab Tab space
generate "the first run"
[ "$(head -c 7 "$ini")" = 3.3.0.1 ] || fail "zelk2html.ini does not carry the version record's 3.3.0.1"
escape

# Everything but the listing comes back. About is the system menu's last entry.
rm "$work/program/grids.html"
start_dialog
choose_listing
timeout 5 xdotool mousemove 0 0  # no control lit up under the pointer; painting ends when two pictures agree
for _ in $(seq 20); do
  mv -f "$work/dialog-windows.png" "$work/previous.png" 2>/dev/null || true
  import -window "$main" "$work/dialog-windows.png"
  ! cmp -s "$work"/{dialog-windows,previous}.png || break
  sleep 0.2
done
generate "a restart"
keys "$main" alt+space && sleep 0.5 && timeout 10 xdotool key --delay 40 Up Return
keys "$(await_window 'About ZELK to HTML')" Return
await_closed 'About ZELK to HTML'
escape
echo PASS
