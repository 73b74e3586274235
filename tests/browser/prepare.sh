#!/usr/bin/env bash
# Installs the browser suites' one npm package, playwright-core at the version in
# package-lock.json, when node_modules is missing or came from another lock file.
# Only the npm registry is reached: playwright-core brings no browser (the suites
# drive Debian's /usr/bin/chromium), and nothing here asks for input.
set -euo pipefail
cd "$(dirname "$0")"

stamp=node_modules/.package-lock.sha256
want=$(sha256sum package-lock.json | cut -d' ' -f1)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] && [ -d node_modules/playwright-core ]; then
  exit 0
fi
echo "== installing the browser tests' npm packages (tests/browser/node_modules)"
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error </dev/null
echo "$want" >"$stamp"
