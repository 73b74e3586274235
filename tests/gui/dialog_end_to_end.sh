#!/usr/bin/env bash
# The real zelk2html under its own Xvfb, driven with xdotool as a person would:
# Generate through the file chooser, View, Help, About; the choices restored on
# the next start; a failed Generate leaving the page; another version's settings.
#   dialog_end_to_end.sh PROGRAM CLI OBSERVER_MODULE LISTING
#
# ZELK_GUI_SCREENSHOT=FILE keeps a screenshot of the dialog (docs/dialog-linux.png).
set -euo pipefail

program=$(realpath "$1") cli=$(realpath "$2") observer=$(realpath "$3") listing_source=$(realpath "$4")
work=$(mktemp -d "${TMPDIR:-/tmp}/zelk-gui.XXXXXX")
xvfb_pid="" app_pid=""

cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${DISPLAY:-}" ]; then timeout 10 import -window root "$work/failure.png" 2>/dev/null &&
    cp "$work/failure.png" "${TMPDIR:-/tmp}/zelk-gui-failure.png" &&
    echo "screen at failure: ${TMPDIR:-/tmp}/zelk-gui-failure.png" >&2; fi
  [ -f "$work/log" ] && { echo "--- observer log" >&2; cat "$work/log" >&2; }
  [ -f "$work/app.err" ] && { echo "--- program stderr" >&2; tail -20 "$work/app.err" >&2; }
  exit 1
}

# Polls a shell snippet until it succeeds, at most SECONDS.
wait_for() {
  local deadline=$((SECONDS + $1)) what=$2; shift 2
  until eval "$@"; do
    [ $SECONDS -lt $deadline ] || fail "timed out waiting for $what"
    sleep 0.1
  done
}

x() { timeout 10 xdotool "$@"; }
visible_windows() { x search --onlyvisible --name "$1" 2>/dev/null; }
# Prints the id of a visible window whose title matches the pattern.
await_window() {
  local pattern=$1 id=""
  wait_for 30 "window '$1'" 'id=$(visible_windows "$pattern" | head -1); [ -n "$id" ]'
  echo "$id"
}
await_gone() { wait_for 30 "window $1 to close" "! visible_windows . | grep -qx $1"; }
await_exit() {
  wait_for 30 "the program to end" "! kill -0 $app_pid 2>/dev/null"
  wait "$app_pid" || fail "the program ended with status $?"
  app_pid=""
}

# Without a window manager keys go to the window under the pointer.
point_at() { x mousemove --window "$1" "${2:-5}" "${3:-5}"; }

# Clicks the centre of a control given in dialog units (left top width height).
dialog_w=0 dialog_h=0
click_control() {
  x mousemove --window "$1" $((($2 * 2 + $4) * dialog_w / (2 * 322))) $((($3 * 2 + $5) * dialog_h / (2 * 119)))
  x click 1
}

log_count() { cat "$work/log" 2>/dev/null | grep -c "^$1"; }
last_log() { grep "^$1" "$work/log" | tail -1; }
expect_state() {
  local what=$1 state; shift
  state=$(last_log state)
  for expected; do
    case "$state" in *" $expected"*) ;; *) fail "$what: expected $expected in: $state" ;; esac
  done
}

# Waits for the n-th message box, checks its log line, dismisses it with Return.
message_seen=0
expect_message() {
  message_seen=$((message_seen + 1))
  wait_for 30 "message box $message_seen" "[ \"\$(log_count message)\" -ge $message_seen ]"
  local line box
  line=$(grep '^message' "$work/log" | sed -n "${message_seen}p")
  [ "$line" = "$1" ] || fail "message box: got '$line', expected '$1'"
  box=$(await_window '^zelk2html$')
  point_at "$box" 20 20
  x key Return
  await_gone "$box"
}

# Started from the listing's folder, where the file chooser then opens.
launch() {
  (cd "$work/logs" && exec ../prog/zelk2html >>"$work/app.out" 2>>"$work/app.err") &
  app_pid=$!
}
await_dialog() {
  main=$(await_window '^ZELK to HTML Version 3.3$')
  read -r dialog_w dialog_h < <(x getwindowgeometry "$main" | awk '/Geometry/ {split($2, s, "x"); print s[1], s[2]}')
  wait_for 30 "the dialog's state" "[ \"\$(log_count state)\" -ge $1 ]"
}

# --- a fresh copy of the program's folder, a listing, a fake browser -------
mkdir -p "$work/prog" "$work/logs" "$work/home" "$work/xdg/config" "$work/xdg/data/applications"
cp "$program" "$work/prog/zelk2html"
cp -r "$(dirname "$program")/ZELK" "$work/prog/ZELK"
cp "$listing_source" "$work/logs/grids.csv"
printf '#!/bin/sh\necho "$1" >>"%s/opened"\n' "$work" >"$work/browser" && chmod +x "$work/browser"
printf '[Desktop Entry]\nType=Application\nName=Test browser\nExec=%s/browser %%u\nMimeType=text/html;\n' "$work" \
  >"$work/xdg/data/applications/zelk-test-browser.desktop"
printf '[Default Applications]\ntext/html=zelk-test-browser.desktop\n' >"$work/xdg/config/mimeapps.list"

export HOME=$work/home XDG_CONFIG_HOME=$work/xdg/config XDG_DATA_HOME=$work/xdg/data
export XDG_CACHE_HOME=$work/home/.cache XDG_RUNTIME_DIR=$work/home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 GTK_MODULES=$observer ZELK_GUI_LOG=$work/log
export SOURCE_DATE_EPOCH=1700000000
unset GTK_THEME || true

# --- our own X server; it picks a free display number itself --------------
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 30 "Xvfb to start" '[ -s "$work/display" ] || ! kill -0 $xvfb_pid 2>/dev/null'
display=":$(head -1 "$work/display")"
[ "$display" != ":" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=$display

# --- first run: defaults, Input, band, field, Generate ------------------------
launch
await_dialog 1
expect_state "first start" "1001=-1{Select VHF Band}" "1006=''" "1012=off" "1011=on" "1010=off" "1003=on" "1002=on" \
  "1016=on" "1013=off" "1017=on" "1015=off" "1014=disabled" "1005=[]"

# Typing into the chooser's location field: its inline completion offers
# "grids.csv"; Delete drops the offer, so the default extension completes it.
choose_listing() {
  local chooser
  chooser=$(await_window '^Input CSV File$')
  point_at "$chooser" 300 300
  x key ctrl+l
  sleep 0.3
  x type --delay 80 grids
  sleep 0.5
  x key Delete Return
  await_gone "$chooser"
}

click_control "$main" 12 12 50 12  # Input
choose_listing
[ "$(last_log chooser)" = "chooser|Input CSV File|CSV Files,All Files|CSV Files" ] || fail "chooser: $(last_log chooser)"

# The band list by keyboard: from the "LL Field" back to it, then its second row.
click_control "$main" 126 36 66 12
x key shift+Tab Home Down
click_control "$main" 126 36 66 12
x type --delay 40 "em"
x key Return  # Enter in the edit box presses the default button, Generate
expect_message "message|zelk2html|information|Wrote  271 grids to $work/prog/grids.html\n\nClick the 'View' button to see the output.\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n"
[ -f "$work/prog/zelk2html.ini" ] || fail "no settings file after a successful Generate"

# The same choices on the command line give the same bytes.
"$cli" "$work/logs/grids.csv" -o "$work/cli.html" --band 1 --field EM >/dev/null
cmp "$work/prog/grids.html" "$work/cli.html" || fail "the dialog's page differs from the command line's"
cp "$work/prog/grids.html" "$work/page-before.html"
cp "$work/prog/zelk2html.ini" "$work/settings-before.ini"

if [ -n "${ZELK_GUI_SCREENSHOT:-}" ]; then
  point_at "$main" 1 1
  sleep 0.5
  timeout 10 import -window "$main" "$ZELK_GUI_SCREENSHOT"
fi

# View and Help hand their pages to the default browser.
click_control "$main" 258 36 50 14  # View
wait_for 30 "the browser to open the page" "grep -qxE '(file://)?$work/prog/grids.html' '$work/opened' 2>/dev/null"
click_control "$main" 258 60 50 12  # Help
wait_for 30 "the browser to open the help page" "grep -qxE '(file://)?$work/prog/ZELK/index.html' '$work/opened' 2>/dev/null"

# The About box from the context menu (Shift+F10), closed with Enter.
point_at "$main" 5 5
x key shift+F10
sleep 0.3
x key Down Return
about=$(await_window '^About ZELK to HTML$')
point_at "$about" 10 10
x key Return
await_gone "$about"

# A changed option is not saved when the dialog closes.
click_control "$main" 180 96 29 10  # FFMA
point_at "$main" 5 5
x key Escape
await_exit
cmp "$work/prog/zelk2html.ini" "$work/settings-before.ini" || fail "closing the dialog changed the settings file"

# --- second run: the choices come back; a failing Generate changes nothing ---
launch
await_dialog 3
expect_state "second start" "1001=1" "1006='EM'" "1011=on" "1015=off" "1014=disabled" "1005=[]"

printf 'Grid,6M,70CM\nEM10,W,C\n' >"$work/logs/grids.csv"  # no column for 2 M
point_at "$main" 5 5
x key Return  # the focus is on Input
choose_listing
click_control "$main" 258 12 48 12  # Generate
expect_message "message|zelk2html|error|ERROR: No match found for band 2 M (144 MHz) in $work/logs/grids.csv\n\n"
cmp "$work/prog/grids.html" "$work/page-before.html" || fail "a failed Generate changed the page"
cmp "$work/prog/zelk2html.ini" "$work/settings-before.ini" || fail "a failed Generate changed the settings file"
expect_state "after a failed run" "1014=disabled" "1005=[grids.csv]"

click_control "$main" 258 84 50 12  # Done
await_exit

# --- third run: settings of another version give a warning and the defaults --
printf '3.2.0.0\0' | dd of="$work/prog/zelk2html.ini" bs=1 conv=notrunc status=none
launch
expect_message "message|zelk2html|warning|Version number changed, resetting to default."
await_dialog 6
expect_state "third start" "1001=-1" "1006=''" "1011=on"
point_at "$main" 5 5
x key Escape
await_exit
# GTK may complain harmlessly (the file chooser does); shown, not failed on.
if [ -s "$work/app.err" ]; then echo "--- program stderr"; cat "$work/app.err"; fi
echo "PASS"
