#!/usr/bin/env bash
# The real zelk2html on its own Xvfb, walked through tests/support/dialog_scenario.sh by xdotool:
#   dialog_end_to_end.sh PROGRAM CLI LISTING: a copy of the program and its data in a folder of
#     its own, its files beside it (ZELK_GUI_SCREENSHOT=FILE: docs/dialog-linux.png)
#   dialog_end_to_end.sh --installed ROOT LISTING: an unpacked package, its settings in
#     XDG_CONFIG_HOME, its pages in the documents folder
set -euo pipefail
# A session bus of its own, where the accessibility bridge tells what the dialog holds.
[ -n "${ZELK_OWN_BUS:-}" ] || ZELK_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
here=$(dirname "$0")/../support
. "$here/real_parts.sh"
. "$here/dialog_scenario.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/zelk-gui.XXXXXX")
on_failure() { tail -20 "$work/app.err"; }

# Folders and the listing named as a user's may be: Cyrillic, Latin accents, CJK. The listing
# lies in the documents folder, where the Open box first looks.
name='Пётр Mañana 東京' screenshot=${ZELK_GUI_SCREENSHOT:-}
apps=$work/home/.local/share/applications
mkdir -p "$work/home/run" "$apps" && chmod 700 "$work/home/run"
export HOME=$work/home XDG_RUNTIME_DIR=$work/home/run GSETTINGS_BACKEND=memory
# The bus started the accessibility bus with the user's HOME; it is to use this one.
dbus-update-activation-environment HOME XDG_RUNTIME_DIR
export LC_ALL=C.UTF-8 SOURCE_DATE_EPOCH=1700000000
unset GTK_THEME XDG_CONFIG_HOME || true
# View and Help reach the desktop's handler of web pages.
fake_browser "$work/browser"
printf '[Desktop Entry]\nType=Application\nName=B\nExec=%s %%u\n' "$work/browser" >"$apps/b.desktop"
printf '[Default Applications]\ntext/html=b.desktop\n' >"$apps/mimeapps.list"

if [ "$1" = --installed ]; then
  bin=$2/usr/bin help=$2/usr/share/zelk2html/ZELK/index.html
  # Settings where the user chose; documents named as a German desktop names them.
  export XDG_CONFIG_HOME=$HOME/settings
  mkdir -p "$XDG_CONFIG_HOME" && echo 'XDG_DOCUMENTS_DIR="$HOME/Dokumente"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
  page=$HOME/Dokumente/zelk2html/$name.html settings=$XDG_CONFIG_HOME/zelk2html/zelk2html.ini
  documents=$HOME/Dokumente
else
  bin=$work/$name
  mkdir "$bin" && cp -r "$1" "$(dirname "$1")"/{ZELK,images} "$bin/" && cp "$2" "$bin/zelk2html-cli"
  page=$bin/$name.html settings=$bin/zelk2html.ini help=$bin/ZELK/index.html
  documents=$HOME/Documents
fi
listing=$documents/$name.csv
mkdir -p "$documents" && cp "${@: -1}" "$listing"
expected=$work/cli.html
"$bin/zelk2html-cli" "$listing" -o "$expected" --band 2m --field EM --format portrait --ffma >/dev/null
start_xvfb

start_dialog() {  # from the work folder: the file chooser opens in the documents folder all the same
  (cd "$work" && exec "$bin/zelk2html" "$@" >>"$work/app.out" 2>>"$work/app.err") &
  app=$!
  main=$(await_window 'ZELK to HTML Version 3.3')
  read -r width height < <(x getwindowgeometry "$main" | sed -n 's/ *Geometry: \(.*\)x/\1 /p')
}
choose_listing() {
  press Input
  point_at "$(await_window 'Input CSV File')" 300 300 && x key Home Return
  await_closed 'Input CSV File'
}
# Each control clicked in the middle of its rectangle in dialog units: left top width height.
declare -A at=([Input]="12 12 50 12" [Field]="126 36 66 12" [Portrait]="18 72 40 10"
  [FFMA]="180 96 36 10" [Generate]="258 12 48 12" [View]="258 36 50 14" [Help]="258 60 50 12")
press() {
  read -r l t w h <<<"${at[$1]}"
  x mousemove --window "$main" $(((l * 2 + w) * width / 644)) $(((t * 2 + h) * height / 238))
  x click 1
}
set_choices() {  # the band list lies before LL Field in the tab order
  press Field && x key shift+Tab Home Down
  press Field && x type --delay 40 em
  press Portrait && press FFMA
}
point_at() { x mousemove --window "$1" "${2:-5}" "${3:-5}"; }
dismiss() { point_at "$(await_window "$1")" 20 20 && x key Return && await_closed "$1"; }
open_about() { point_at "$main" && x key shift+F10 && sleep 0.3 && x key Down Return; }
quit() { point_at "$main" && x key Escape && await_end; }
all_bands() { press Field && x key shift+Tab End Up; }
any_band() { press Field && x key shift+Tab End; }
command_line() { "$bin/zelk2html-cli" "$listing" --settings "$settings" -o "$1" >/dev/null; }
hear_names() { timeout 60 /usr/bin/python3 "${0%/*}/accessible_names.py" || fail "a screen reader hears otherwise"; }

walk
rm -rf "$work" && echo PASS
