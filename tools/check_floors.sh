#!/usr/bin/env bash
# Fails on an include that runs back up a floor. Each folder includes only its
# own floor and those below: the ground (record/, platform/), then listing/,
# then ffma/, then mappage/, then conversion/; the front ends may use them all.
set -uo pipefail
cd "$(dirname "$0")/.."
declare -A may_include=(
  [record]="record" [platform]="platform"
  [listing]="record|listing" [ffma]="record|listing|ffma"
  [mappage]="record|listing|ffma|mappage"
  [conversion]="record|platform|listing|ffma|mappage|conversion"
)
status=0
for folder in "${!may_include[@]}"; do
  if grep -rnE '#include "[a-z_]+/' "$folder" | grep -vE "#include \"(${may_include[$folder]})/"; then status=1; fi
done
if [ "$status" -ne 0 ]; then echo "The includes above run back up a floor." >&2; else echo "Every include keeps to its floor."; fi
exit "$status"
