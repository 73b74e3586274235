#!/usr/bin/env bash
# The real parts behind the fault seam: a disk full to the last byte, then read-only; a small
# tmpfs in this script's own mount namespace (needs root).   real_disk.sh CLI LISTING
set -euo pipefail
[ -n "${ZELK_PRIVATE_MOUNTS:-}" ] || ZELK_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private "$0" "$@"
. "$(dirname "$0")/../support/real_parts.sh"
work=$(mktemp -d) disk=$(mktemp -d)
mount -t tmpfs -o size=256k zelk-faults "$disk"
trap 'umount "$disk"; rm -rf "$disk" "$work"' EXIT

expect() {  # what, message: the CLI fails with it and the disk holds what it held
  local before status=0
  before=$(ls -l "$disk")
  "$1" "$2" -o "$disk/grids.html" --band 1 --field EM >"$work/out" 2>"$work/err" || status=$?
  [ $status -eq 1 ] && [ "$(cat "$work/err")" = "$4" ] && [ ! -s "$work/out" ] &&
    [ "$(cat "$disk/grids.html")" = "previous page" ] && [ "$(ls -l "$disk")" = "$before" ] ||
    fail "$3: exit $status, stderr: $(cat "$work/err"); $(ls -l "$disk")"
  echo "ok: $3"
}
echo "previous page" >"$disk/grids.html"
cat /dev/zero >"$disk/filler" 2>/dev/null || true
expect "$@" "full disk" "ERROR: Could not write output file $disk/grids.html: No space left on device"
mount -o remount,ro "$disk"
expect "$@" "read-only disk" "ERROR: Could not create output file $disk/grids.html: Read-only file system"
