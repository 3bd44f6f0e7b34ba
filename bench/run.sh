#!/usr/bin/env bash
# Builds the optimised tree and runs every benchmark, printing each figure beside its
# target. Exits non-zero when a figure misses its target.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh || exit 1
bash scripts/build.sh build-bench -DCMAKE_BUILD_TYPE=Release -DALBIVEX_BUILD_TESTS=OFF || exit 1
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} QTWEBENGINE_DISABLE_SANDBOX=1
status=0
for bench in build-bench/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" || status=1
done
exit $status
