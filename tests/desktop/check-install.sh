#!/usr/bin/env bash
# check-install.sh BUILD_DIR APP_ID: installs the build into a temporary prefix and checks
# what a desktop reads from it: only the program in bin/, the menu entry and the AppStream
# metadata as their validators see them, and the icon at every size.
set -euo pipefail
build=$1 id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

programs=$(ls "$prefix/bin" | xargs)
[ "$programs" = albivex ] || fail "bin/ holds: $programs"

# Warnings count as failures too; the validators' hints do not.
out=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) || fail "desktop-file-validate"
grep -v ': hint: ' <<<"$out" | grep . && fail "desktop-file-validate has more than hints"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    kind=$(file -b "$icon")
    [[ $kind == "PNG image data, $size x $size, "* ]] || fail "$icon: $kind"
done
exit $failed
