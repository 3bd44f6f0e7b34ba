#!/usr/bin/env bash
# stress.sh [NORMAL_RUNS [SANITIZER_RUNS]]: runs the whole suite again and again while
# busy loops keep every core loaded, as a CI machine is while it builds or runs the
# other half of `ctest -j 2`, and prints how often each test failed.
# Defaults: 10 runs of the normal build (build/), 3 of the sanitizer build (build-asan/).
# Both trees are built first (scripts/build.sh). The output of every failed test is kept
# in stress-logs/. Non-zero when any test failed even once.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
normal_runs=${1:-10}
sanitizer_runs=${2:-3}
load=${STRESS_LOAD:-$(nproc)}

bash scripts/install-deps.sh
((normal_runs == 0)) || bash scripts/build.sh build
((sanitizer_runs == 0)) || bash scripts/build.sh build-asan -DALBIVEX_SANITIZE=ON -DALBIVEX_BUILD_BENCH=OFF
source scripts/sanitizer-env.sh
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1

logs=$root/stress-logs
rm -rf "$logs"
mkdir -p "$logs"

busy=()
stop_load() { ((${#busy[@]} == 0)) || kill "${busy[@]}" 2>/dev/null || true; }
trap stop_load EXIT
for ((i = 0; i < load; i++)); do
    bash -c 'while :; do :; done' &
    busy+=($!)
done

declare -A failures=()
summary=()
# run_ctest TREE TAG [ctest args...]: one ctest pass; every failed test counts once.
run_ctest() {
    local tree=$1 tag=$2
    shift 2
    local out=$logs/$tag.log
    local list=$tree/Testing/Temporary/LastTestsFailed.log
    # ctest leaves the list of an earlier pass in place when every test passes: a list
    # from before this pass would count its failures again.
    rm -f "$list"
    (cd "$tree" && ctest --output-on-failure -j 2 "$@") >"$out" 2>&1 || true
    if [ -s "$list" ] && grep -q . "$list"; then
        local name
        while IFS=: read -r _ name; do
            failures[$tree/$name]=$((${failures[$tree/$name]:-0} + 1))
        done <"$list"
        rm -f "$list"
    else
        rm -f "$out"
    fi
}

for ((run = 1; run <= normal_runs; run++)); do
    start=$SECONDS
    run_ctest build "normal-$run"
    summary+=("build/ run $run: $((SECONDS - start)) s")
done

for ((run = 1; run <= sanitizer_runs; run++)); do
    start=$SECONDS
    rm -rf "$root/build-asan/sanitizer-reports"
    sanitizer_env "$root"
    run_ctest build-asan "sanitize-$run" -LE 'webengine|packaging'
    sanitizer_env "$root" browser
    run_ctest build-asan "sanitize-browser-$run" -L webengine
    unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS
    if ! sanitizer_reports "$root" >"$logs/sanitizer-reports-$run.log"; then
        failures["build-asan/sanitizer reports"]=$((${failures["build-asan/sanitizer reports"]:-0} + 1))
    else
        rm -f "$logs/sanitizer-reports-$run.log"
    fi
    summary+=("build-asan/ run $run: $((SECONDS - start)) s")
done

stop_load
printf '%s\n' "${summary[@]}"
echo "load: $load busy loops on $(nproc) cores; runs: $normal_runs normal, $sanitizer_runs sanitizer"
if ((${#failures[@]} == 0)); then
    echo "0 failures"
    exit 0
fi
printf '%-50s %s\n' "test" "failed runs"
for key in "${!failures[@]}"; do
    printf '%-50s %s\n' "$key" "${failures[$key]}"
done | sort
echo "outputs of the failed runs: $logs/"
exit 1
