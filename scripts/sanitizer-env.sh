# Sourced by the scripts that run the sanitizer build's suites (test.sh, stress.sh).
# sanitizer_env ROOT [browser]: exports ASAN/LSAN/UBSAN options that write every ASan and
# LSan report of any process (a test, or a program a test starts) to
# ROOT/build-asan/sanitizer-reports/, so a report fails the run even when the process
# that made it is not the one ctest watches. UBSan reports go to standard error (the
# combined runtime does not log them to a file) and stop the process.
#
# With "browser", the options are those of the suites that start the embedded browser
# (ctest label webengine), with two allowances for the browser engine (Chromium inside
# QtWebEngineCore, built without the sanitizers):
# - new_delete_type_mismatch=0: the engine deletes some objects with a size other than
#   they were made with; ASan stops at the first, while the page loads, and it cannot be
#   suppressed by library. Every other check stays on.
# - the engine keeps its singletons to the end of the process by design;
#   lsan-webengine.supp names its libraries. With malloc_context_size=2 the stack kept
#   for each allocation is the allocating function alone, so a suppression matches only
#   memory the engine itself allocated: a leak of ours made in a slot the browser calls
#   is still reported. (Heap reports of this pass show two frames of allocation stack;
#   rerun the suite with a larger value to see more.)
sanitizer_env() {
    local root=$1 mode=${2:-}
    local reports=$root/build-asan/sanitizer-reports supp=$root/tools/sanitizer
    mkdir -p "$reports"
    local asan="detect_leaks=1:abort_on_error=1:check_initialization_order=1:strict_init_order=1"
    asan+=":detect_stack_use_after_return=1:intercept_tls_get_addr=0:log_path=$reports/asan"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$supp/ubsan.supp"
    if [ "$mode" = browser ]; then
        cat "$supp/lsan.supp" "$supp/lsan-webengine.supp" >"$root/build-asan/lsan-webengine.supp"
        export ASAN_OPTIONS="$asan:new_delete_type_mismatch=0:malloc_context_size=2"
        export LSAN_OPTIONS="suppressions=$root/build-asan/lsan-webengine.supp:print_suppressions=0"
    else
        export ASAN_OPTIONS=$asan
        export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
    fi
}

# sanitizer_reports ROOT: prints every report written so far; non-zero when there is one.
sanitizer_reports() {
    local reports=$1/build-asan/sanitizer-reports
    compgen -G "$reports/*" >/dev/null || return 0
    local report
    for report in "$reports"/*; do
        echo "=== sanitizer report $report"
        cat "$report"
    done
    if grep -l "new-delete-type-mismatch" "$reports"/* | xargs -r grep -l "libQt6WebEngineCore" >/dev/null; then
        echo "hint: a suite that starts the embedded browser needs LABELS webengine (tests/CMakeLists.txt)"
    fi
    return 1
}
