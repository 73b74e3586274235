#!/usr/bin/env bash
# The real zelk2html on its own Xvfb, driven with xdotool as a person would.
#   dialog_end_to_end.sh PROGRAM CLI OBSERVER_MODULE LISTING  (ZELK_GUI_SCREENSHOT=FILE: docs/dialog-linux.png)
#     portable: a copy of the program in a folder of its own, its pages and settings beside it
#   dialog_end_to_end.sh --installed ROOT OBSERVER_MODULE LISTING
#     installed: the programs of an unpacked package (ROOT/usr/bin), started with the listing as
#     "Open with" does, their settings in XDG_CONFIG_HOME, their pages in the documents folder
set -euo pipefail
. "$(dirname "$0")/../support/x11.sh"

installed=""
if [ "$1" = --installed ]; then
  installed=$(realpath "$2")
  program=$installed/usr/bin/zelk2html cli=$installed/usr/bin/zelk2html-cli
else
  program=$(realpath "$1") cli=$(realpath "$2")
fi
observer=$(realpath "$3")
work=$(mktemp -d "${TMPDIR:-/tmp}/zelk-gui.XXXXXX")
need_tools Xvfb xdotool import
on_failure() { cat "$work/messages" "$work/app.err" 2>/dev/null | tail -20; }

# The program's folder and the listing named as a user's may be: Cyrillic, Latin accents, CJK.
name='Пётр Mañana 東京'
mkdir -p "$work/logs" "$work/home/run"
chmod 700 "$work/home/run"
cp "$4" "$work/logs/$name.csv"
export HOME=$work/home XDG_RUNTIME_DIR=$work/home/run GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 LC_ALL=C.UTF-8
export GTK_MODULES=$observer ZELK_GUI_LOG=$work/messages SOURCE_DATE_EPOCH=1700000000
unset GTK_THEME XDG_CONFIG_HOME || true
start_xvfb

launch() {  # from the listing's folder, where the file chooser then opens; arguments for the program
  (cd "$work/logs" && exec "$program" "$@" >>"$work/app.out" 2>>"$work/app.err") &
  app=$!
  main=$(await_window 'ZELK to HTML Version 3.3')
  read -r dialog_w dialog_h < <(x getwindowgeometry "$main" | awk '/Geometry/ {split($2, s, "x"); print s[1], s[2]}')
}
escape() { point_at "$main" && x key Escape && await_end; }
point_at() { x mousemove --window "$1" "${2:-5}" "${3:-5}"; }
click() {  # the centre of a control given in dialog units: left top width height
  x mousemove --window "$main" $((($1 * 2 + $3) * dialog_w / 644)) $((($2 * 2 + $4) * dialog_h / 238))
  x click 1
}
choose_listing() {  # the chooser opens in the listing's folder: its one file, from the list
  point_at "$(await_window 'Input CSV File')" 300 300
  x key Home Return
  await_closed 'Input CSV File'
}
expect_summary() {  # page; dismisses it with Return
  poll 30 "the summary" grep -sqxF "zelk2html|info|Wrote  271 grids to $1\n\nClick the 'View' \
button to see the output.\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n" "$work/messages"
  rm "$work/messages"
  point_at "$(await_window zelk2html)" 20 20
  x key Return
  await_closed zelk2html
}

if [ -n "$installed" ]; then
  # The settings file a former run left (portrait, 2 M, EM), in a configuration folder of the
  # user's choosing; a documents folder of another name, as a German desktop names it.
  export XDG_CONFIG_HOME=$HOME/settings
  config=$XDG_CONFIG_HOME/zelk2html pages=$HOME/Dokumente/zelk2html
  mkdir -p "$config" && echo 'XDG_DOCUMENTS_DIR="$HOME/Dokumente"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
  "$cli" "$work/logs/$name.csv" -o "$work/portrait.html" --band 1 --field EM --format portrait \
    --save-settings "$config/zelk2html.ini" >/dev/null
  "$cli" "$work/logs/$name.csv" -o "$work/cli.html" --band 1 --field EM >/dev/null
  for start in first second; do  # the second start restores the landscape format the first one saved
    launch "$name.csv"
    [ $start = second ] || click 18 84 50 10  # Landscape
    click 258 12 48 12  # Generate
    expect_summary "$pages/$name.html"
    cmp "$pages/$name.html" "$work/cli.html" || fail "the $start start's page differs from the command line's"
    escape
  done
  [ "$(ls "$config")" = zelk2html.ini ] || fail "the settings folder holds $(ls "$config")"
  for picture in $(grep -o 'images/[A-R][A-R]\.gif' "$pages/$name.html" | sort -u); do
    [ -s "$pages/$picture" ] || fail "$picture is not beside the page"
  done
  rm -rf "$work" && echo PASS
  exit 0
fi

prog=$work/$name
mkdir "$prog" && cp "$program" "$prog/zelk2html"
program=$prog/zelk2html
launch
click 12 12 50 12  # Input
choose_listing
click 126 36 66 12  # LL Field; from it back to the band list, its second row
x key shift+Tab Home Down
click 126 36 66 12
x type --delay 40 em
x key Return  # in the edit box, the default button's: Generate
expect_summary "$prog/$name.html"
"$cli" "$work/logs/$name.csv" -o "$work/cli $name.html" --band 1 --field EM >"$work/cli.out"
grep -qF "grids to $work/cli $name.html" "$work/cli.out" || fail "the command line names its page otherwise"
cmp "$prog/$name.html" "$work/cli $name.html" || fail "the dialog's page differs from the command line's"
[ -z "${ZELK_GUI_SCREENSHOT:-}" ] || { point_at "$main" 1 1 && sleep 0.5 && import -window "$main" "$ZELK_GUI_SCREENSHOT"; }
point_at "$main"
x key shift+F10 && sleep 0.3 && x key Down Return  # About, the context menu's only entry
point_at "$(await_window 'About ZELK to HTML')" 10 10
x key Return
await_closed 'About ZELK to HTML'
escape

# The band and field come back from the settings file; the listing is chosen again.
rm "$prog/$name.html"
launch
point_at "$main" && x key Return  # the focus starts on Input
choose_listing
click 258 12 48 12  # Generate
expect_summary "$prog/$name.html"
cmp "$prog/$name.html" "$work/cli $name.html" || fail "the restored choices give another page"
escape
rm -rf "$work" && echo PASS
