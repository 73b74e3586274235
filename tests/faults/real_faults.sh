#!/usr/bin/env bash
# The real parts behind the fault seam, in this script's own mount namespace (needs root): a
# tmpfs full to the last byte, then read-only; and a run stopped from outside (SIGTERM) with its
# page staged, while it waits to write its list into a pipe no one reads: it leaves no temporary
# file.   real_faults.sh CLI LISTING
set -euo pipefail
[ -n "${ZELK_PRIVATE_MOUNTS:-}" ] || ZELK_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private "$0" "$@"
. "$(dirname "$0")/../support/real_parts.sh"
work=$(mktemp -d) disk=$(mktemp -d)
mount -t tmpfs -o size=256k zelk-faults "$disk"
trap 'kill $(jobs -p) 2>/dev/null || true; umount "$disk"; rm -rf "$disk" "$work"' EXIT

expect() {  # what, message: the CLI fails with it and the disk holds what it held
  local before status=0
  before=$(ls -l "$disk")
  "$cli" "$listing" -o "$disk/grids.html" --band 2m --field EM >"$work/out" 2>"$work/err" || status=$?
  [ $status -eq 1 ] && [ "$(cat "$work/err")" = "$2" ] && [ ! -s "$work/out" ] &&
    [ "$(cat "$disk/grids.html")" = "previous page" ] && [ "$(ls -l "$disk")" = "$before" ] ||
    fail "$1: exit $status, stderr: $(cat "$work/err"); $(ls -l "$disk")"
}
cli=$1 listing=$2
echo "previous page" >"$disk/grids.html"
cat /dev/zero >"$disk/filler" 2>/dev/null || true
expect "full disk" "ERROR: Could not write output file $disk/grids.html: No space left on device"
mount -o remount,ro "$disk"
expect "read-only disk" "ERROR: Could not write output file $disk/grids.html: Read-only file system"

mkdir "$work/run" && mkfifo "$work/run/list.html"
"$cli" "$listing" -o "$work/run/page.html" --ffma-list "$work/run/list.html" --band 2m --field EM >/dev/null 2>&1 &
run=$!
temporary() { ls -A "$work/run" | grep -q '\.tmp'; }  # the page staged, the list's open waiting
poll 10 "a temporary page" temporary
kill -TERM $run
status=0 && wait $run || status=$?
[ $status -eq 143 ] && [ "$(ls -A "$work/run")" = list.html ] || fail "stopped: $status, left $(ls "$work/run")"
echo PASS
