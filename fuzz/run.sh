#!/usr/bin/env bash
# fuzz/run.sh [SECONDS] [HARNESS...]: builds the libFuzzer harnesses in build-fuzz/ with
# clang and runs each (or the named ones) for SECONDS seconds (default 30), one after
# the other, each on a scratch copy of its seed corpus in fuzz/corpus-run/. With
# FUZZ_RUNS=N in the environment a harness stops after N executions instead, SECONDS
# being the most it may take (a long run to a fixed count on a busy machine). Non-zero
# when any harness crashes, leaks, trips a sanitizer or breaks one of its properties;
# the input that did it is kept in fuzz/corpus-run/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# As in scripts/build.sh: clones in other folders share the compiler cache.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
    -DALBIVEX_BUILD_FUZZ=ON -DALBIVEX_BUILD_TESTS=OFF -DALBIVEX_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzzers -j "$(nproc)"

# Longest input per harness: a little above the largest real text of its kind
# (a listing page of several albums or pictures, QQ's cookie text of 1-2 KB, a name
# beyond the 255-byte limit of file names, a small picture of every format), so that
# long inputs are tried without spending the run on sizes that only repeat what
# shorter ones show.
max_len() {
    case $1 in
        # An album row costs a date formatted for China's time zone on top of the cuts,
        # so album-list inputs are held to a page of about eight albums: past 4 KB the
        # run slowed to a fifth of its speed without reaching any new code.
        fuzz_album_list) echo 4096 ;;
        # Bytes that steer the making of an answer, not the answer itself.
        fuzz_list_items) echo 1024 ;;
        fuzz_photo_list | fuzz_floatview) echo 16384 ;;
        fuzz_cookie_capture | fuzz_album_record | fuzz_album_document | fuzz_mood_document) echo 4096 ;;
        # The verdict is settled by the first keys of an answer; longer inputs only
        # add text the reader never reaches.
        fuzz_answer_verdict) echo 1024 ;;
        fuzz_picture_path) echo 2048 ;;
        fuzz_folder_name | fuzz_unescape_unicode | fuzz_nickname) echo 1024 ;;
        fuzz_version_file) echo 256 ;;
        fuzz_picture_end | fuzz_picture_metadata) echo 8192 ;;
        fuzz_random_digits) echo 4 ;;
        *) echo 4096 ;;
    esac
}

harnesses=("$@")
if ((${#harnesses[@]} == 0)); then
    for dir in fuzz/corpus/*/; do
        harnesses+=("$(basename "$dir")")
    done
fi

scratch=fuzz/corpus-run
mkdir -p "$scratch/artifacts"
# intercept_tls_get_addr=0: see scripts/sanitizer-env.sh.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:intercept_tls_get_addr=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
failed=()
printf '%-24s %12s %8s %10s  %s\n' harness executions seconds exec/s result
for h in "${harnesses[@]}"; do
    binary=build-fuzz/fuzz/$h
    [ -x "$binary" ] || { echo "no harness $h"; failed+=("$h"); continue; }
    rm -rf "${scratch:?}/$h"
    cp -r "fuzz/corpus/$h" "$scratch/$h"
    extra=()
    [ -f "fuzz/dict/$h.dict" ] && extra+=("-dict=fuzz/dict/$h.dict")
    [ -n "${FUZZ_RUNS:-}" ] && extra+=("-runs=$FUZZ_RUNS")
    log=$scratch/$h.log
    start=$(date +%s)
    result=ok
    "$binary" "$scratch/$h" "${extra[@]}" -max_total_time="$seconds" -max_len="$(max_len "$h")" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$scratch/artifacts/$h-" >"$log" 2>&1 \
        || result=FAILED
    elapsed=$(($(date +%s) - start))
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)
    printf '%-24s %12s %8s %10s  %s\n' "$h" "${runs:-?}" "$elapsed" "${rate:-?}" "$result"
    if [ "$result" != ok ]; then
        failed+=("$h")
        grep -v '^#' "$log" | tail -n 60
    fi
done
if ((${#failed[@]})); then
    echo "fuzzing failed: ${failed[*]} (inputs in $scratch/artifacts/)"
    exit 1
fi
