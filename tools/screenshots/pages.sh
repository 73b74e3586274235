#!/usr/bin/env bash
# Takes the README's pictures of pages, shown by Debian's headless Chromium with
# the field images of a build: docs/page-fields.png, a map page of the sample
# listing on a landscape sheet around FN and EN; docs/page-bands.png, the
# contents page that --band all --field auto --ffma writes for it.
#   tools/screenshots/pages.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shoot PAGE WIDTHxHEIGHT COLOURS PICTURE: a palette of so many colours looks
# the same and takes a fraction of the bytes.
shoot() {
  timeout 120 chromium --headless=new --no-sandbox --disable-gpu --disable-dev-shm-usage \
    --disable-background-networking --disable-component-update --disable-sync --no-first-run \
    --user-data-dir="$work/profile" --hide-scrollbars --window-size="${2/x/,}" \
    --screenshot="$work/page.png" "file://$1" 2>/dev/null
  if [ -x /usr/bin/convert ]; then
    /usr/bin/convert "$work/page.png" +dither -colors "$3" "PNG8:$4"
  else
    cp "$work/page.png" "$4"
  fi
  echo "$4"
}
cli() { SOURCE_DATE_EPOCH=1779926400 "$build/zelk2html-cli" examples/grids.csv --format landscape --ffma "$@" >/dev/null; }

cli -o "$work/grids.html" --band 2M --field DM
shoot "$work/grids.html" 1000x740 128 docs/page-fields.png
cli -o "$work" --band all --field auto
shoot "$work/grids-bands.html" 1000x520 64 docs/page-bands.png
