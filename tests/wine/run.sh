#!/usr/bin/env bash
# The Windows programs cross-built into build-win/, under Wine on their own Xvfb: the unit tests
# through ctest, then both programs in a folder named as a user's may be (Cyrillic, Latin accents,
# CJK): the command line, and the dialog walked through tests/support/dialog_scenario.sh
# (screenshot: build-win/wine-e2e/dialog-windows.png); then the installer, the same walk of the
# installed dialog at 150% (dialog-144dpi.png) and the uninstaller.
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD BUILD=$PWD/build-win
work=$BUILD/wine-e2e LOG=$BUILD/wine-run.log
. tests/support/real_parts.sh
. tests/support/dialog_scenario.sh
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
  -DZELK_IMAGES_DIR="$BUILD-host/images"
quietly cmake --build "$BUILD" -j 2 --target zelk2html zelk2html-cli zelk_unit_tests zelk_app_tests zelk_win32_tests \
  zelk_installer

start_xvfb
# Unix names and arguments reach Wine in UTF-8. Its menu builder would fill the developer's home.
export WINEPREFIX=$BUILD/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
export LC_ALL=C.UTF-8
menus() { find ~/.{local/share/{applications,desktop-directories,icons,mime},config/menus} 2>/dev/null | sort || :; }
menus >"$work/home-menus-before"
on_exit() { wineserver -k 2>/dev/null; }
on_failure() { tail -n 20 "$work/dialog.log" 2>/dev/null; }
[ -f "$WINEPREFIX/system.reg" ] || quietly timeout 300 wineboot -i </dev/null
timeout 120 wineserver -p </dev/null >>"$LOG" 2>&1 || true  # fails when wineboot left one running
reg() { quietly timeout 60 wine reg add "$@" /f </dev/null; }
# Unmanaged windows: with no window manager Wine waits for one on every hide. Menus need Marlett.
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96  # 144 for the installed walk
install -D -m 644 /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
# Pages open in a browser that notes what it was given; without mshtml nothing names .html.
reg 'HKLM\Software\Classes\.html' /ve /d htmlfile
reg 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d "$work/browser"
fake_browser "$work/browser"

(cd "$BUILD" && ctest -L unit -LE faults -j 2 --timeout 300 --output-on-failure) || fail "unit tests under Wine"
export SOURCE_DATE_EPOCH=1796428800

# As a user unpacks the zip (the programs alone: they need no DLL of their own); the listing is
# named alike.
name='Пётр Mañana 東京'
folder=$work/$name listing=$work/$name/$name.csv expected=$work/expected.html
mkdir -p "$folder" && cp "$BUILD"/zelk2html{,-cli}.exe "$folder/" && cp -r "$BUILD/ZELK" "$BUILD-host/images" "$folder/"
cp "$ROOT/examples/grids.csv" "$listing"
"$BUILD-host/zelk2html-cli" "$listing" -o "$expected" --band 2m --field EM --format portrait --ffma >/dev/null
# The Open box first looks in Documents, which Wine links to $HOME: the prefix gets a folder of
# its own, and the listing moves there, so that only a box opened there finds it.
documents=$WINEPREFIX/drive_c/users/$(id -un)/Documents
[ ! -L "$documents" ] || { rm "$documents" && mkdir "$documents"; }
rm -f "$documents/"*.csv && mv "$listing" "$documents/" && listing=$documents/$name.csv
sed -i 's/$/\r/' "$expected"

# The command line on a console, which draws what it is given; spaces may come as cursor moves.
(cd "$folder" && timeout 60 script -qec "wine zelk2html-cli.exe 'нет $name.csv' --band 2m --field EM" /dev/null \
  </dev/null >"$work/console" 2>&1) || true
sed 's/\x1b\[[0-9;?]*[A-Za-z]//g; s/ //g' "$work/console" | grep -qF "inputfileнет${name// /}.csv" \
  || fail "the console shows the error otherwise: $(cat -v "$work/console")"

# The dialog, started in its folder as a double click starts it, driven by keys along the tab order.
page=$folder/$name.html settings=$folder/zelk2html.ini help=$folder/ZELK/index.html screenshot=$work/dialog-windows.png
order=(Input Band Field Format Color Bold Needed S C FFMA Generate View Help Done)
keys() { x windowfocus --sync "$1" && timeout 20 xdotool key --delay 40 "${@:2}"; }
exe=$folder/zelk2html.exe given=""
start_dialog() {  # a listing, where given, on its command line as Open with gives it
  local csv=${1:-$given}
  (cd "${exe%/*}" && exec timeout 120 wine "$exe" ${csv:+"Z:${csv//\//\\}"} </dev/null \
    >>"$work/dialog.log" 2>&1) &
  app=$! focus=0
  main=$(await_window 'ZELK to HTML Version 3.3' 60)
}
tab_to() {
  local to=0 tabs=()
  while [ "${order[$to]}" != "$1" ]; do to=$((to + 1)); done
  while [ $focus -ne $to ]; do tabs+=(Tab) && focus=$(((focus + 1) % ${#order[@]})); done
  [ ${#tabs[@]} -eq 0 ] || keys "$main" "${tabs[@]}"
}
press() { tab_to "$1" && keys "$main" space; }
choose_listing() {  # the box opens in Documents: from the name field to the list's last
  press Input && keys "$(await_window 'Input CSV File')" shift+Tab End Return && await_closed 'Input CSV File'
}
set_choices() {
  tab_to Band && keys "$main" Down Down
  tab_to Field && x windowfocus --sync "$main" && timeout 30 xdotool type --delay 40 em
  tab_to Format && keys "$main" Up
  press FFMA
}
dismiss() { keys "$(await_window "$1")" Return && await_closed "$1"; }
open_about() { keys "$main" alt+space && sleep 0.5 && timeout 10 xdotool key --delay 40 Up Return; }
quit() { keys "$main" Escape && await_end; }
all_bands() { tab_to Band && keys "$main" End Up; }
any_band() { tab_to Band && keys "$main" End; }
command_line() {
  "$BUILD-host/zelk2html-cli" "$listing" --settings "$settings" -o "$1" >/dev/null
  find "$1" -name '*.html' -exec sed -i 's/$/\r/' {} +
}
hear_names() { :; }  # Wine keeps no names given by annotation: zelk_win32_tests asks what it can

walk
[ "$(dd if="$settings" bs=1 skip=296 count=256 2>/dev/null | tr -d '\0')" = "Z:${folder//\//\\}\\" ] \
  || fail "zelk2html.ini holds the program's folder otherwise"
# Windows' text mode would end the listing at its 0x1A byte.
printf 'Grid,2M\nFN31,W\n\x1a\nFN32,C\nFN33,W\n' >"$work/eof.csv"
[[ $(cd "$work" && wine "$folder/zelk2html-cli.exe" eof.csv --band 2m --field FN </dev/null) = "Wrote    3 "* ]] \
  || fail "the listing ended at its 0x1A byte"
# NUL discards the page, as /dev/null does on Linux, and no temporary file stays.
[[ $(cd "$work" && wine "$folder/zelk2html-cli.exe" eof.csv --band 2m --field FN -o nul </dev/null) = "Wrote    3 "* ]] &&
  [ -z "$(ls "$work" | grep -i '^nul')" ] || fail "-o NUL was not written into"
# 161 characters (322 bytes), given as Open with does, then the Open box's last: look at all-bands.png.
long=$folder/$(printf 'я%.0s' $(seq $((154 - ${#folder})))).csv && cp "$listing" "$long"
start_dialog "$long" && press Generate && import -window "$(await_window zelk2html)" "$work/all-bands.png"
dismiss zelk2html && quit && rm "${long%.csv}-bands.html"
cp "$long" "$documents/"  # after the listing in the list: the Open box's last
start_dialog && choose_listing && press Generate && dismiss zelk2html && quit && rm "${long%.csv}-bands.html"

# Installed by the setup program, silently and without elevation, and walked at 150%: look at
# dialog-144dpi.png.
user=$WINEPREFIX/dosdevices/c:/users/$(id -un)  # as Wine names it to the browser
installed="$user/AppData/Local/Programs/ZELK to HTML"
shortcut="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/ZELK to HTML.lnk"
uninstall='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\zelk2html'
open_with='HKCU\Software\Classes\Applications\zelk2html.exe'
rm -rf "$user/Documents/zelk2html" "$user/AppData/Roaming/zelk2html" "${installed%/*}"  # and a failed run's
timeout 60 wine reg delete "$uninstall" /f </dev/null >>"$LOG" 2>&1 || true
quietly timeout 120 wine "$BUILD/zelk2html-3.3.0.1-setup.exe" /S </dev/null
query() { timeout 60 wine reg query "$1" </dev/null >>"$LOG" 2>&1; }
win() { local path=${1#"$WINEPREFIX"/dosdevices/}; echo "${path//\//\\}"; }
[ -f "$shortcut" ] && query "$uninstall" && query "$open_with" \
  || fail "no Start-menu shortcut, uninstall entry or Open with"
find "$installed" | sort >"$work/installed.txt"
page=$user/Documents/zelk2html/$name.html
settings=$user/AppData/Roaming/zelk2html/zelk2html.ini
help=$installed/share/zelk2html/ZELK/index.html screenshot=$work/dialog-144dpi.png
exe=$installed/bin/zelk2html.exe given=$listing
choose_listing() { :; }  # given at every start
reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144
walk
cmp "${page%/*}/images/EM.gif" "$BUILD-host/images/EM.gif" || fail "no pictures beside the page"
find "$installed" | sort | cmp -s - "$work/installed.txt" \
  || fail "the installed dialog wrote into its own folder"

# Installed into another folder, the first copy goes: one copy is registered.
quietly timeout 120 wine "$BUILD/zelk2html-3.3.0.1-setup.exe" /S "/D=$(win "${installed%/*}")\Zélk"
[ ! -e "$installed" ] && installed=${installed%/*}/Zélk && [ -f "$installed/bin/zelk2html.exe" ] \
  || fail "a second install folder left the first"
# While it runs the uninstaller (in place: no space to quote) and the installer fail, silently.
find "$installed" | sort >"$work/installed.txt" && exe=$installed/bin/zelk2html.exe && start_dialog
! timeout 60 wine "$installed/uninstall.exe" /S "_?=$(win "$installed")" </dev/null >>"$LOG" 2>&1 \
  && ! timeout 120 wine "$BUILD/zelk2html-3.3.0.1-setup.exe" /S </dev/null >>"$LOG" 2>&1 \
  || fail "the uninstaller or the installer went past the running program"
find "$installed" | sort | cmp -s - "$work/installed.txt" && quit || fail "files of the running program went"
quietly timeout 60 wine "$installed/uninstall.exe" /S </dev/null
gone() { [ ! -e "$installed" ] && ! query "$uninstall"; }
poll 60 "the uninstaller" gone  # it runs on from a copy of itself
[ ! -e "$shortcut" ] && ! query "$open_with" || fail "the uninstaller left its entries"
[ -f "$page" ] && [ -f "$settings" ] || fail "the uninstaller took the user's page or settings"
menus | diff "$work/home-menus-before" - >&2 || fail "Wine changed the menus in $HOME"
echo PASS
