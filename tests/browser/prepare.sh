#!/usr/bin/env bash
# Installs playwright-core from package-lock.json when node_modules is missing or stale; it brings
# no browser (the suites drive Debian's chromium and firefox-esr) and reaches only the npm registry.
set -euo pipefail
cd "$(dirname "$0")"
stamp=node_modules/.package-lock.sha256 want=$(sha256sum package-lock.json | cut -d' ' -f1)
[ -d node_modules/playwright-core ] && [ "$(cat "$stamp" 2>/dev/null)" = "$want" ] && exit 0
echo "== installing the browser tests' npm packages (tests/browser/node_modules)"
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error </dev/null
echo "$want" >"$stamp"
