#!/usr/bin/env bash
# package.sh: installs what is missing, builds a Release tree in build-package/ (the program
# alone, with Debian's hardening flags) and makes the Debian package there; prints its path.
#   sudo apt install ./build-package/albivex_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
bash scripts/build.sh build-package -DCMAKE_BUILD_TYPE=Release \
    -DALBIVEX_BUILD_TESTS=OFF -DALBIVEX_BUILD_BENCH=OFF -DALBIVEX_BUILD_FUZZ=OFF \
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
log=$(cd build-package && cpack -G DEB)
deb=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' <<<"$log")
[ -n "$deb" ] || { echo "$log"; exit 1; }
echo "$deb"
