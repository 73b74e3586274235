#!/usr/bin/env bash
# The real zelk2html under its own Xvfb, driven with xdotool: choose a listing
# through the file chooser, pick a band, type a field, Generate, read the
# summary, compare the page with the command line's, View, Help, About, close;
# start again and find the choices restored; fail on a listing without the
# band and find the earlier page untouched.
#
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

# Polls COMMAND (a shell snippet) until it succeeds, at most SECONDS.
wait_for() {
  local seconds=$1 what=$2; shift 2
  local deadline=$((SECONDS + seconds))
  until eval "$@"; do
    [ $SECONDS -lt $deadline ] || fail "timed out waiting for $what"
    sleep 0.1
  done
}

x() { timeout 10 xdotool "$@"; }

window_named() { x search --onlyvisible --name "$1" 2>/dev/null | head -1; }

# Waits for a visible window whose title matches the pattern; prints its id.
await_window() {
  local pattern=$1 deadline=$((SECONDS + 30)) id=""
  while :; do
    id=$(window_named "$pattern" || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    [ $SECONDS -lt $deadline ] || fail "no window '$pattern'"
    sleep 0.1
  done
}

await_gone() {
  local id=$1 deadline=$((SECONDS + 30))
  while x getwindowname "$id" >/dev/null 2>&1 &&
        x search --onlyvisible --name '.' 2>/dev/null | grep -qx "$id"; do
    [ $SECONDS -lt $deadline ] || fail "window $id did not close"
    sleep 0.1
  done
}

# Without a window manager keys go to the window under the pointer.
point_at() { x mousemove --window "$1" "${2:-5}" "${3:-5}"; }

# Clicks the centre of a control given in dialog units (left top width height).
dialog_w=0 dialog_h=0
click_control() {
  local win=$1 left=$2 top=$3 width=$4 height=$5
  local px=$(( (left * 2 + width) * dialog_w / (2 * 322) )) py=$(( (top * 2 + height) * dialog_h / (2 * 119) ))
  x mousemove --window "$win" "$px" "$py"
  x click 1
}

log_count() { if [ -f "$work/log" ]; then grep -c "^$1" "$work/log" || true; else echo 0; fi; }
last_log() { grep "^$1" "$work/log" | tail -1; }

# Waits for the n-th message box, checks its log line, dismisses it with Return.
message_seen=0
expect_message() {
  local expected=$1
  message_seen=$((message_seen + 1))
  wait_for 30 "message box $message_seen" "[ \"\$(log_count message)\" -ge $message_seen ]"
  local line
  line=$(grep '^message' "$work/log" | sed -n "${message_seen}p")
  [ "$line" = "$expected" ] || fail "message box: got '$line', expected '$expected'"
  local box
  box=$(await_window '^zelk2html$')
  point_at "$box" 20 20
  x key Return
  await_gone "$box"
}

start_program() {
  # Started from the listing's folder, where the file chooser then opens.
  (cd "$work/logs" && exec ../prog/zelk2html >>"$work/app.out" 2>>"$work/app.err") &
  app_pid=$!
  main=$(await_window '^ZELK to HTML Version 3.3$')
  read -r dialog_w dialog_h < <(x getwindowgeometry "$main" | awk '/Geometry/ {split($2, s, "x"); print s[1], s[2]}')
  wait_for 30 "the dialog's state" "[ \"\$(log_count state)\" -ge $1 ]"
}

await_exit() {
  local deadline=$((SECONDS + 30))
  while kill -0 "$app_pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the program did not end"
    sleep 0.1
  done
  wait "$app_pid" || fail "the program ended with status $?"
  app_pid=""
}

control_state() { last_log state | grep -o " $1=[^ {]*" | cut -d= -f2; }

# --- a fresh copy of the program's folder, a listing, a fake browser -------
mkdir -p "$work/prog" "$work/logs" "$work/other" "$work/home" "$work/xdg/config" "$work/xdg/data/applications"
cp "$program" "$work/prog/zelk2html"
cp -r "$(dirname "$program")/ZELK" "$work/prog/ZELK"
cp "$listing_source" "$work/logs/grids.csv"
printf 'Grid,6M,70CM\nEM10,W,C\n' >"$work/other/grids.csv"
cat >"$work/browser" <<SCRIPT
#!/bin/sh
echo "\$1" >>"$work/opened"
SCRIPT
chmod +x "$work/browser"
cat >"$work/xdg/data/applications/zelk-test-browser.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Test browser
Exec=$work/browser %u
MimeType=text/html;
DESKTOP
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
start_program 1
state=$(last_log state)
for expected in "1001=-1" "1006=''" "1012=off" "1011=on" "1010=off" "1003=on" "1002=on" "1016=on" "1013=off" \
                "1017=on" "1015=off" "1014=disabled" "1005=[]"; do
  case "$state" in *" $expected"*) ;; *) fail "first start: expected $expected in: $state" ;; esac
done
case "$state" in *"1001=-1{Select VHF Band}"*) ;; *) fail "band list without its tooltip: $state" ;; esac

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
start_program 3
state=$(last_log state)
for expected in "1001=1" "1006='EM'" "1011=on" "1015=off" "1014=disabled" "1005=[]"; do
  case "$state" in *" $expected"*) ;; *) fail "second start: expected $expected in: $state" ;; esac
done

printf 'Grid,6M,70CM\nEM10,W,C\n' >"$work/logs/grids.csv"  # no column for 2 M
point_at "$main" 5 5
x key Return  # the focus is on Input
choose_listing
click_control "$main" 258 12 48 12  # Generate
expect_message "message|zelk2html|error|ERROR: No match found for band 2 M (144 MHz) in $work/logs/grids.csv\n\n"
cmp "$work/prog/grids.html" "$work/page-before.html" || fail "a failed Generate changed the page"
cmp "$work/prog/zelk2html.ini" "$work/settings-before.ini" || fail "a failed Generate changed the settings file"
for expected in "1014=disabled" "1005=[grids.csv]"; do
  case "$(last_log state)" in *" $expected"*) ;; *) fail "after a failed run: expected $expected in: $(last_log state)" ;; esac
done

click_control "$main" 258 84 50 12  # Done
await_exit

# --- third run: settings of another version give a warning and the defaults --
printf '3.2.0.0\0' | dd of="$work/prog/zelk2html.ini" bs=1 conv=notrunc status=none
(cd "$work/logs" && exec ../prog/zelk2html >>"$work/app.out" 2>>"$work/app.err") &
app_pid=$!
expect_message "message|zelk2html|warning|Version number changed, resetting to default."
main=$(await_window '^ZELK to HTML Version 3.3$')
wait_for 30 "the dialog's state" "[ \"\$(log_count state)\" -ge 6 ]"
for expected in "1001=-1" "1006=''" "1011=on"; do
  case "$(last_log state)" in *" $expected"*) ;; *) fail "third start: expected $expected in: $(last_log state)" ;; esac
done
point_at "$main" 5 5
x key Escape
await_exit
# GTK may complain harmlessly (the file chooser does); shown, not failed on.
if [ -s "$work/app.err" ]; then echo "--- program stderr"; cat "$work/app.err"; fi
echo "PASS"
