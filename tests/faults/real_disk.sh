#!/bin/sh
# The real parts behind the fault seam: a disk full to the last byte, then
# read-only; a small tmpfs in this script's own mount namespace (needs root).
# Usage: real_disk.sh CLI LISTING
set -u
cli=$1 listing=$2
if [ -z "${ZELK_PRIVATE_MOUNTS:-}" ]; then
  unshare --mount --propagation private true 2>/dev/null || { echo "FAIL: no mount namespace here"; exit 1; }
  ZELK_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private "$0" "$@"
fi
disk=$(mktemp -d) && mount -t tmpfs -o size=256k zelk-faults "$disk" || { echo "FAIL: cannot mount tmpfs"; exit 1; }
trap 'umount "$disk"; rm -rf "$disk" "$disk.out" "$disk.err"' EXIT
failures=0

# expect WHAT MESSAGE: the CLI fails with MESSAGE and the folder holds what it held.
expect() {
  before=$(ls -l "$disk")
  "$cli" "$listing" -o "$disk/grids.html" --band 1 --field EM >"$disk.out" 2>"$disk.err"
  status=$?
  [ $status -eq 1 ] && [ "$(cat "$disk.err")" = "$2" ] && [ ! -s "$disk.out" ] &&
    [ "$(cat "$disk/grids.html")" = "previous page" ] && [ "$(ls -l "$disk")" = "$before" ] &&
    { echo "ok: $1"; return; }
  echo "FAIL: $1: exit $status, stderr: $(cat "$disk.err")"; ls -l "$disk"
  failures=$((failures + 1))
}

echo "previous page" >"$disk/grids.html"
cat /dev/zero >"$disk/filler" 2>/dev/null
expect "full disk" "ERROR: Could not write output file $disk/grids.html: No space left on device"
mount -o remount,ro "$disk"
expect "read-only disk" "ERROR: Could not create output file $disk/grids.html: Read-only file system"
exit $((failures > 0))
