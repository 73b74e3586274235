#!/usr/bin/env bash
# Takes docs/page-bands.png, the README's picture of the contents page that
# --band all --field auto --ffma writes for the sample listing, shown by Debian's headless Chromium.
#   tools/screenshots/page_bands.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
SOURCE_DATE_EPOCH=1779926400 "$build/zelk2html-cli" examples/grids.csv -o "$work" \
  --band all --field auto --format landscape --ffma >/dev/null
timeout 120 chromium --headless=new --no-sandbox --disable-gpu --disable-dev-shm-usage \
  --disable-background-networking --disable-component-update --disable-sync --no-first-run \
  --user-data-dir="$work/profile" --hide-scrollbars --window-size=1000,520 \
  --screenshot="$work/page.png" "file://$work/grids-bands.html" 2>/dev/null
# A palette of 64 colours looks the same and takes a fraction of the bytes.
if [ -x /usr/bin/convert ]; then
  /usr/bin/convert "$work/page.png" +dither -colors 64 PNG8:docs/page-bands.png
else
  cp "$work/page.png" docs/page-bands.png
fi
echo "docs/page-bands.png"
