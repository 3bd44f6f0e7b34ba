#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: the normal build
# (build/) and the sanitizer build (build-asan/: AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer), and runs each fuzzing harness for 30 seconds.
# Non-zero when a test fails, a sanitizer reports anything, or a harness fails.
#
# Parts can be run alone: scripts/test.sh [normal] [sanitize] [fuzz]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
parts=("$@")
((${#parts[@]})) || parts=(normal sanitize fuzz)
wants() { [[ " ${parts[*]} " == *" $1 "* ]]; }
# Each step's time, for keeping the whole within CI's limit.
times=()
step_start=$SECONDS
step_done() {
    times+=("$(printf '%-34s %5d s' "$1" $((SECONDS - step_start)))")
    step_start=$SECONDS
}

bash scripts/install-deps.sh
step_done "install"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
failed=()

if wants normal; then
    bash scripts/build.sh build
    step_done "build build/"
    (cd build && ctest --output-on-failure -j 2) || failed+=("tests (build/)")
    step_done "tests build/"
fi

if wants sanitize; then
    bash scripts/build.sh build-asan -DALBIVEX_SANITIZE=ON -DALBIVEX_BUILD_BENCH=OFF
    step_done "build build-asan/"
    source scripts/sanitizer-env.sh
    rm -rf "$root/build-asan/sanitizer-reports"
    sanitizer_env "$root"
    # The install and package checks (label packaging) belong to the normal build.
    (cd build-asan && ctest --output-on-failure -j 2 -LE 'webengine|packaging') || failed+=("tests (build-asan/)")
    # Suites that start the embedded browser run apart, with the engine's allowances.
    sanitizer_env "$root" browser
    (cd build-asan && ctest --output-on-failure -j 2 -L webengine) || failed+=("browser tests (build-asan/)")
    unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS
    step_done "tests build-asan/"

    sanitizer_reports "$root" || failed+=("sanitizer reports")
fi

if wants fuzz; then
    bash fuzz/run.sh 30 || failed+=("fuzzing")
    step_done "fuzzing (build and run)"
fi

printf '%s\n' "${times[@]}"
if ((${#failed[@]})); then
    printf 'FAILED: %s\n' "${failed[@]}"
    exit 1
fi
echo "all passed"
