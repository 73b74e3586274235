#!/usr/bin/env bash
# Rewrites the golden pages with the command-line front end, from grids.csv
# and the lines of pages.txt. Read every page that changed before committing
# it: the unit tests compare pages with these byte for byte.
#   tests/golden/regenerate.sh [path/to/zelk2html-cli]   (default build/zelk2html-cli)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../../build/zelk2html-cli}
# The pages are written elsewhere first, so nothing the program may add
# beside a page (its field images) lands here.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
while read -r page epoch args; do
  case "$page" in '' | '#'*) continue ;; esac
  # The arguments are plain words, split on purpose.
  # shellcheck disable=SC2086
  SOURCE_DATE_EPOCH=$epoch "$cli" "$here/grids.csv" -o "$scratch/$page" $args >/dev/null
  cp "$scratch/$page" "$here/$page"
done <"$here/pages.txt"
