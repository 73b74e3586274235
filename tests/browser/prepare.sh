#!/usr/bin/env bash
# Installs playwright-core from package-lock.json when node_modules is missing or stale; it brings
# no browser (the suites drive Debian's chromium and firefox-esr) and reaches only the npm registry.
set -euo pipefail
cd "$(dirname "$0")"
stamp=node_modules/.package-lock.sha256 want=$(sha256sum package-lock.json | cut -d' ' -f1)
[ -d node_modules/playwright-core ] && [ "$(cat "$stamp" 2>/dev/null)" = "$want" ] && exit 0
echo "== installing the browser tests' npm packages (tests/browser/node_modules)"
# npm's cache and logs go into a folder of the run's, not the user's home.
cache=$(mktemp -d "${TMPDIR:-/tmp}/zelk-npm.XXXXXX") && trap 'rm -rf "$cache"' EXIT
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error --cache "$cache" </dev/null
echo "$want" >"$stamp"
