#!/usr/bin/env bash
# A run stopped from outside (SIGTERM) while it reads a listing that never ends leaves no
# temporary file beside the page.   interrupted_run.sh CLI
set -euo pipefail
. "$(dirname "$0")/../support/real_parts.sh"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
mkfifo "$work/endless.csv"
# A header and a row, then nothing, with the pipe held open.
(printf 'Grid,2M\nEM00,W\n'; exec sleep 120) >"$work/endless.csv" &
"$1" "$work/endless.csv" -o "$work/page.html" --band 1 --field EM >/dev/null 2>&1 &
run=$!
temporary() { ls "$work" | grep -q '\.tmp'; }  # once the listing is open
poll 10 "a temporary page" temporary
kill -TERM $run
status=0 && wait $run || status=$?
[ $status -eq 143 ] || fail "the run ended with status $status"
[ "$(ls "$work")" = endless.csv ] || fail "left beside the page: $(ls "$work")"
echo "ok: stopped by SIGTERM, nothing left"
