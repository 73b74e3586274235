#!/usr/bin/env bash
# The Windows programs cross-built into build-win/, under Wine on their own Xvfb: the unit tests
# through ctest, then both programs unpacked into a folder named as a user's may be (Cyrillic, Latin
# accents, CJK): the command line, and the real dialog driven with xdotool
# (screenshot: build-win/wine-e2e/dialog-windows.png).
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD BUILD=$PWD/build-win
work=$BUILD/wine-e2e LOG=$BUILD/wine-run.log EPOCH=1796428800
. tests/support/x11.sh
need_tools x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres x86_64-w64-mingw32-objdump makensis wine wineserver \
  Xvfb xdotool import script
rm -rf "$work" && mkdir -p "$work" && : >"$LOG"
quietly() { "$@" >>"$LOG" 2>&1 || { tail -n 30 "$LOG"; fail "$* (log: build-win/wine-run.log)"; }; }

gtest=$BUILD/googletest
if [ ! -f "$gtest/prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  quietly cmake -S /usr/src/googletest -B "$gtest/build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest/prefix" -DBUILD_GMOCK=ON
  quietly cmake --build "$gtest/build" -j 2
  quietly cmake --install "$gtest/build"
fi
quietly cmake -S "$ROOT" -B "$BUILD-host" -DZELK_TESTS=OFF -DZELK_WERROR=ON
quietly cmake --build "$BUILD-host" -j 2 --target zelk2html-cli zelk_field_images
quietly cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
  -DZELK_WINDOWS_PREFIX="$gtest/prefix" -DZELK_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELK_TESTS=ON \
  -DZELK_IMAGES_DIR="$BUILD-host/images"  # ./dev package turns the tests off
quietly cmake --build "$BUILD" -j 2 --target zelk2html zelk2html-cli zelk_unit_tests zelk_app_tests zelk_win32_tests \
  zelk_installer

system='(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|version|msvcrt|advapi32|shlwapi)\.dll'
dlls=$(x86_64-w64-mingw32-objdump -p "$BUILD"/zelk2html{,-cli}.exe | sed -n 's/^\s*DLL Name: //p' | grep -vixE "$system") || true
[ -z "$dlls" ] || fail "the programs need more than system DLLs: $dlls"

start_xvfb
# Unix names and arguments reach Wine in UTF-8.
export WINEPREFIX=$BUILD/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" LC_ALL=C.UTF-8
on_exit() { wineserver -k 2>/dev/null; }
on_failure() { tail -n 20 "$work/dialog.log" 2>/dev/null; }
[ -f "$WINEPREFIX/system.reg" ] || quietly timeout 300 wineboot -i </dev/null
timeout 120 wineserver -p </dev/null >>"$LOG" 2>&1 || true  # fails when wineboot left one running
# Unmanaged windows: with no window manager Wine would wait for one on every hide. Menus draw with Marlett.
quietly timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# Pages open in the "browser" below, which notes what it was given; without mshtml nothing names .html.
quietly timeout 60 wine reg add 'HKLM\Software\Classes\.html' /ve /d htmlfile /f </dev/null
quietly timeout 60 wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d "$work/browser" /f </dev/null
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened"\n' "$work" >"$work/browser" && chmod +x "$work/browser"

(cd "$BUILD" && ctest -L unit -LE faults -j 2 --timeout 300 --output-on-failure) || fail "unit tests under Wine"

# As a user unpacks the zip; the listing lies beside it and is named alike.
name='Пётр Mañana 東京' pages='страницы'
program=$work/$name listing="$name.csv"
mkdir -p "$program/$pages" && cp "$BUILD"/zelk2html{,-cli}.exe "$program/" && cp -r "$BUILD/ZELK" "$BUILD-host/images" "$program/"
cp "$ROOT/examples/grids.csv" "$program/$listing"
ini=$program/zelk2html.ini
(cd "$work" && SOURCE_DATE_EPOCH=$EPOCH "$BUILD-host/zelk2html-cli" "$program/$listing" -o expected.html --band 1 --field EM \
  --format portrait --ffma >/dev/null && sed -i 's/$/\r/' expected.html)
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
opened() {  # what the browser was given last, as a path
  poll 30 "the browser" test -s "$work/opened"
  local url; url=$(tail -1 "$work/opened") && rm "$work/opened"
  printf '%b' "${url//%/\\x}" | sed 's|^file://||'
}

# The command line, from the folder above, on names relative to it; once more on a console.
cli() { (cd "$work" && SOURCE_DATE_EPOCH=$EPOCH timeout 60 wine "$name/zelk2html-cli.exe" "$@" </dev/null); }
cli "$name/$listing" -o "$name/$pages/$name.html" --band 1 --field EM --format portrait --ffma >"$work/cli.out" \
  || fail "the command line: $(cat "$work/cli.out")"
grep -qF "grids to $name/$pages/$name.html"$'\r' "$work/cli.out" || fail "the summary names the page otherwise: $(cat "$work/cli.out")"
cmp "$program/$pages/$name.html" "$work/expected.html" || fail "the command line's page differs under Wine"
cmp "$program/$pages/images/EM.gif" "$program/images/EM.gif" || fail "no pictures beside the command line's page"
! cli "$name/нет $listing" -o "$name/$pages/нет.html" --band 1 --field EM 2>"$work/cli.err" || fail "a missing listing"
grep -qF "ERROR: Could not open input file $name/нет $listing" "$work/cli.err" || fail "the error names it otherwise: $(cat "$work/cli.err")"
# A console draws what it is given; spaces may come as cursor moves.
(cd "$program" && timeout 60 script -qec "wine zelk2html-cli.exe 'нет $listing' --band 1 --field EM" /dev/null \
  </dev/null >"$work/console" 2>&1) || true
sed 's/\x1b\[[0-9;?]*[A-Za-z]//g; s/ //g' "$work/console" | grep -qF "нет${listing// /}" \
  || fail "the console shows the name otherwise: $(cat -v "$work/console")"
keys() { x windowfocus --sync "$1" && timeout 20 xdotool key --delay 40 "${@:2}"; }
typed() { x windowfocus --sync "$1" && timeout 30 xdotool type --delay 40 "$2"; }
start_dialog() {  # from its folder, as a double click would start it
  (cd "$program" && SOURCE_DATE_EPOCH=$EPOCH exec timeout 120 wine zelk2html.exe </dev/null \
    >>"$work/dialog.log" 2>&1) &
  app=$!
  main=$(await_window 'ZELK to HTML Version 3.3' 60)
}
escape() { keys "$main" Escape && await_end; }
choose_listing() {  # Input, then the open-file dialog, which opens in the program's folder: its one listing
  keys "$main" space
  keys "$(await_window 'Input CSV File')" shift+Tab End Return  # from the file name into the list
  await_closed 'Input CSV File'
}
generate() {  # Enter presses the default button; the summary box is dismissed
  keys "$main" Return
  keys "$(await_window zelk2html)" Return
  await_closed zelk2html
  cmp "$program/$name.html" "$work/expected.html" || fail "$1: the dialog's page is not the command line's"
}

start_dialog
choose_listing
# Band 2 M (second row); field in small letters; Portrait; FFMA, the sixth check box along the tab order.
keys "$main" Tab Down Down Tab
typed "$main" em
keys "$main" Tab Up Tab Tab Tab Tab Tab Tab space
generate "the first run"
[ "$(head -c 7 "$ini")" = 3.3.0.1 ] || fail "zelk2html.ini does not carry the version record's 3.3.0.1"
[ "$(dd if="$ini" bs=1 skip=296 count=256 2>/dev/null | tr -d '\0')" = "$(windows_path "$program")\\" ] \
  || fail "zelk2html.ini holds the program's folder otherwise"
# View, then Help: the two buttons after Generate, which follows FFMA.
keys "$main" Tab Tab space
[ "$(opened)" = "$program/$name.html" ] || fail "View opened another page"
keys "$main" Tab space
[ "$(opened)" = "$program/ZELK/index.html" ] || fail "Help opened another page"
escape

# Everything but the listing comes back. About is the system menu's last entry.
rm "$program/$name.html"
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

# The installer, run silently as a user would, without elevation. Wine links Documents to $HOME: a
# folder of the prefix's own keeps the test's pages there.
user=$WINEPREFIX/drive_c/users/$(id -un) key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\zelk2html'
installed="$user/AppData/Local/Programs/ZELK to HTML" shortcut="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/ZELK to HTML.lnk"
pages=$user/Documents/zelk2html settings=$user/AppData/Roaming/zelk2html/zelk2html.ini
[ ! -L "$user/Documents" ] || { rm "$user/Documents" && mkdir "$user/Documents"; }
rm -rf "$pages" "${settings%/*}"
reg() { timeout 60 wine reg "$@" </dev/null >>"$LOG" 2>&1; }
quietly timeout 120 wine "$BUILD/zelk2html-3.3.0.1-setup.exe" /S </dev/null
[ -f "$installed/bin/zelk2html.exe" ] && [ -f "$shortcut" ] && reg query "$key" /v DisplayVersion \
  || fail "the installer left no program, shortcut or uninstall entry"
find "$installed" | sort >"$work/installed.txt"
given=$(windows_path "$program/$listing") program=$pages  # where generate() looks for the page
start_dialog() {  # the installed one, given the listing as "Open with" gives it
  SOURCE_DATE_EPOCH=$EPOCH timeout 120 wine "$installed/bin/zelk2html.exe" "$given" </dev/null >>"$work/dialog.log" 2>&1 &
  app=$!
  main=$(await_window 'ZELK to HTML Version 3.3' 60)
}
start_dialog
keys "$main" Tab Down Down Tab
typed "$main" em
keys "$main" Tab Up Tab Tab Tab Tab Tab Tab space
generate "the installed dialog"
cmp "$pages/images/EM.gif" "$BUILD-host/images/EM.gif" || fail "no pictures beside the installed dialog's page"
[ "$(head -c 7 "$settings")" = 3.3.0.1 ] || fail "no settings in AppData"
escape
# At 150%: every caption whole (look at build-win/wine-e2e/dialog-144dpi.png); the settings come back.
reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f
rm "$pages/$name.html"
start_dialog
timeout 5 xdotool mousemove 0 0 && sleep 1 && import -window "$main" "$work/dialog-144dpi.png"
generate "a restart of the installed dialog"
escape
reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f
find "$installed" | sort | cmp -s - "$work/installed.txt" || fail "the installed dialog wrote into its own folder"

quietly timeout 60 wine "$installed/uninstall.exe" /S </dev/null
uninstalled() { [ ! -e "$installed" ] && ! reg query "$key"; }
poll 60 "the uninstaller" uninstalled
[ ! -e "$shortcut" ] && ! reg query 'HKCU\Software\Classes\Applications\zelk2html.exe' || fail "the uninstaller left its entries"
[ -f "$pages/$name.html" ] && [ -f "$settings" ] || fail "the uninstaller took the user's pages or settings"
echo PASS
