#!/usr/bin/env bash
# Rewrites the golden pages from grids.csv and pages.txt with the command line
# (default build/zelk2html-cli). Read every changed page before committing it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../../build/zelk2html-cli}
# Written elsewhere first, so no field pictures land beside the goldens.
scratch=$(mktemp -d) && trap 'rm -rf "$scratch"' EXIT
grep -v '^#' "$here/pages.txt" | while read -r page epoch args; do
  # shellcheck disable=SC2086  # plain words, split on purpose
  [ -z "$page" ] || SOURCE_DATE_EPOCH=$epoch "$cli" "$here/grids.csv" -o "$scratch/$page" $args >/dev/null
  [ -z "$page" ] || cp "$scratch/$page" "$here/$page"
done
