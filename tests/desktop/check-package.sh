#!/usr/bin/env bash
# check-package.sh BUILD_DIR APP_ID VERSION: builds the Debian package of the build into a
# temporary folder and checks its name, its files, its Depends line and lintian's verdict.
set -euo pipefail
build=$1 id=$2 version=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
deb=$out/albivex_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$out"; fail "no $deb"; exit 1; }

files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t)
wanted=(./usr/bin/albivex ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml
    ./usr/share/man/man1/albivex.1.gz ./usr/share/doc/albivex/copyright ./usr/share/doc/albivex/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do
    wanted+=("./usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${wanted[@]}"; do
    grep -qxF "$f" <<<"$files" || fail "the package lacks $f"
done
grep -E 'standin|test|fault|artwork|bench|fuzz' <<<"$files" && fail "the package holds build tools or tests"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6webenginewidgets6; do
    grep -qE "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib"
done

# lintian warns when it runs as root; only its findings on the package matter.
lintian --info "$deb" 2>&1 | tee "$out/lintian.log"
grep -q '^E: ' "$out/lintian.log" && fail "lintian reports errors"
exit $failed
