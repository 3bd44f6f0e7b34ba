#!/usr/bin/env bash
# Installs what is missing, builds and runs every test; non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
(cd build && ctest --output-on-failure -j 2)
