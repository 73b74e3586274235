#!/usr/bin/env bash
# The .deb as a user gets it: made by CPack from this build tree, judged by lintian and the
# desktop's validators, unpacked into a scratch root, and run from there with a scratch home:
# the command line, then the real dialog (tests/gui/dialog_end_to_end.sh --installed). Nothing
# may be written into the unpacked root (made read-only; root ignores that, so it is compared).
#   package_test.sh BUILD_DIR LISTING
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/real_parts.sh"
build=$(realpath "$1") listing=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/zelk-package.XXXXXX")
root=$work/root
trap 'status=$?; [ ! -d "$root" ] || chmod -R u+w "$root"; exit $status' EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B cpack >cpack.log) || fail "cpack"
deb=$(ls "$work"/cpack/*.deb)
lintian --fail-on error "$deb" || fail "lintian reports errors"

dpkg-deb -x "$deb" "$root"
entry=$root/usr/share/applications/zelk2html.desktop
desktop-file-validate "$entry" && grep -qx 'Exec=zelk2html %f' "$entry" || fail "the desktop entry"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.xml || fail "the AppStream metadata"
[ -s "$root/usr/share/doc/zelk2html/examples/grids.csv" ] || fail "no sample listing"
# help2man's pages: two synopsis lines, each option its own entry, the status letters in both.
cli_man=$(zcat "$root/usr/share/man/man1/zelk2html-cli.1.gz")
both_man=$cli_man$'\n'$(zcat "$root/usr/share/man/man1/zelk2html.1.gz")
[ "$(grep -c '^\.B zelk2html-cli$' <<<"$cli_man")" = 2 ] || fail "the synopsis"
grep -qx '\\fB\\-\\-version\\fR' <<<"$cli_man" || fail "--version on a line of its own"
[ "$(grep -c '^Status letters' <<<"$both_man")" = 2 ] || fail "the status letters"
chmod -R a-w "$root"
snapshot() { (cd "$root" && find . -printf '%p %s %T@ %m\n' | sort); }
snapshot >"$work/root.before"

# The command line takes its pictures from share/zelk2html/images/.
mkdir -p "$work/maps" && cd "$work/maps"
HOME=$work "$root/usr/bin/zelk2html-cli" "$listing" --band 2m --field EM >/dev/null
[ -s images/EM.gif ] || fail "no pictures beside the command line's page"

bash "$here/../gui/dialog_end_to_end.sh" --installed "$root" "$listing"
snapshot | diff "$work/root.before" - || fail "something was written into the installed folders"
chmod -R u+w "$root" && rm -rf "$work" && echo PASS
