# Sourced by the shell suites of the real parts; they set `work` (kept on failure) and may
# define on_failure and on_exit. Every wait polls and every xdotool call is bounded: a lost
# keystroke would otherwise leave a modal box waiting.

fail() {
  echo "FAIL: $*" >&2
  [ -z "${DISPLAY:-}" ] || ! timeout 10 import -window root "$work/failure.png" 2>/dev/null ||
    echo "screen at failure: $work/failure.png" >&2
  ! declare -F on_failure >/dev/null || on_failure >&2
  exit 1
}
trap 'fail "line $LINENO: $BASH_COMMAND"' ERR

poll() {  # seconds, what, command...: until the command succeeds
  local deadline=$((SECONDS + $1)) what=$2
  shift 2
  until "$@"; do
    [ $SECONDS -lt $deadline ] || fail "timed out waiting for $what"
    sleep 0.1
  done
}

x() { timeout 10 xdotool "$@"; }
visible() { x search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep .; }  # whole title
await_window() { poll "${2:-30}" "the window '$1'" visible "$1" >/dev/null && visible "$1"; }
closed() { ! visible "$1" >/dev/null; }
await_closed() { poll 30 "the window '$1' to close" closed "$1"; }
app=""
ended() { ! kill -0 "$app" 2>/dev/null; }
await_end() { poll 30 "the program to end" ended && { wait "$app" || fail "the program ended with status $?"; } && app=""; }

start_xvfb() {  # exports DISPLAY; the server and the program end with the script
  trap 'status=$?; trap - ERR; set +e; [ -z "$app" ] || kill "$app" 2>/dev/null; declare -F on_exit >/dev/null && on_exit
        kill "$x11_server" 2>/dev/null; wait 2>/dev/null; exit $status' EXIT
  trap 'exit 130' INT TERM
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
  x11_server=$!
  poll 30 "Xvfb to start" test -s "$work/display"
  export DISPLAY=:$(head -1 "$work/display")
}

# Drags FILES onto WINDOW from a file manager's window over the X drag-and-drop protocol, the
# button held as a hand holds it. The source's GTK caches go to the work folder, not home.
drag_onto() {  # window files...
  local target=$1 source
  shift
  HOME=$work timeout 30 /usr/bin/python3 "${BASH_SOURCE[0]%/*}/drag_source.py" "$@" &
  source=$(await_window 'drag source') && sleep 0.5  # once it is drawn
  x mousemove --window "$source" 10 10 mousedown 1 && x mousemove_relative -- -20 -20
  x mousemove --window "$target" 100 100 && sleep 0.3 && x mousemove_relative 5 5 && sleep 0.5 && x mouseup 1
  wait $! || fail "the window refused the drop, or the drag did not end"
}

# A browser that only notes what it is given; opened() reads the last one back as a path.
fake_browser() { printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened"\n' "$work" >"$1" && chmod +x "$1"; }
opened() {
  poll 30 "the browser" test -s "$work/opened"
  local url; url=$(tail -1 "$work/opened") && rm "$work/opened"
  printf '%b\n' "${url//%/\\x}" | sed 's|^file://||'
}
