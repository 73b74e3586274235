#!/usr/bin/env bash
# Takes docs/page-fields.png, the README's picture of a map page: the sample
# listing on a landscape sheet around FN and EN, shown by Debian's headless
# Chromium with the field images of a build.
#   tools/screenshots/page_fields.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
SOURCE_DATE_EPOCH=1779926400 "$build/zelk2html-cli" examples/grids.csv -o "$work/grids.html" \
  --band 2M --field DM --format landscape --ffma >/dev/null
timeout 120 chromium --headless=new --no-sandbox --disable-gpu --disable-dev-shm-usage \
  --disable-background-networking --disable-component-update --disable-sync --no-first-run \
  --user-data-dir="$work/profile" --hide-scrollbars --window-size=1000,740 \
  --screenshot="$work/page.png" "file://$work/grids.html" 2>/dev/null
# A palette of 128 colours looks the same and takes a third of the bytes.
if [ -x /usr/bin/convert ]; then
  /usr/bin/convert "$work/page.png" +dither -colors 128 PNG8:docs/page-fields.png
else
  cp "$work/page.png" docs/page-fields.png
fi
echo "docs/page-fields.png"
