#!/bin/sh
# A run stopped from outside (SIGTERM) while it reads a listing that never
# ends leaves no temporary file beside the page.
# Usage: interrupted_run.sh CLI
set -u
cli=$1
work=$(mktemp -d) || exit 1
writer=
trap '[ -n "$writer" ] && kill "$writer" 2>/dev/null; rm -rf "$work"' EXIT
mkfifo "$work/endless.csv"
# A header and a row, then nothing, with the pipe held open.
(printf 'Grid,2M\nEM00,W\n'; exec sleep 120) >"$work/endless.csv" &
writer=$!
"$cli" "$work/endless.csv" -o "$work/page.html" --band 1 --field EM >/dev/null 2>&1 &
run=$!
# The temporary page appears once the listing is open; wait for it.
for _ in $(seq 200); do
  ls "$work" | grep -q '\.tmp' && break
  sleep 0.05
done
ls "$work" | grep -q '\.tmp' || { echo "FAIL: the run made no temporary file"; kill "$run"; exit 1; }
kill -TERM "$run"
wait "$run"
status=$?
left=$(ls "$work" | grep -v '^endless\.csv$')
[ "$status" -eq 143 ] && [ -z "$left" ] && { echo "ok: stopped by SIGTERM, nothing left"; exit 0; }
echo "FAIL: exit $status, left: $left"
exit 1
