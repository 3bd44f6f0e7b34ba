#!/usr/bin/env bash
# mutants.sh [PATTERN...]: plants each fault of scripts/mutants.tsv in the code in turn,
# rebuilds, runs the suite and says whether a test caught it. A fault the suite lets
# through is a hole in the tests; a row whose text no longer occurs exactly once is a
# stale row. Either makes the script end non-zero.
#
# Each row of the table (TAB between the fields; blank lines and lines starting with #
# are left out):
#   file   text   replacement   fault   [suite]
# file is relative to the repository; text must occur exactly once in it and is replaced
# by replacement (which may be empty); fault says in a plain sentence what the change
# models; suite, when given, is the test expected to catch it, run alone first, and only
# when it passes is the rest of the suite run. A fault that does not compile counts as
# not caught: a planted fault must be one a developer could have committed.
#
# PATTERNs (extended regular expressions) pick the rows whose file or fault matches one.
# The tree is build/ or $MUTANTS_BUILD; $MUTANTS_CTEST_ARGS adds arguments to the suite
# run (for example "-LE packaging"). Each row's build and test output is kept in
# TREE/mutants/line-N.log. The file is put back byte for byte after each row, also when
# the script is stopped, and the tree is rebuilt from the restored code at the end.
# Slow (a rebuild and a suite run a row): not part of CI.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
table=${MUTANTS_TABLE:-scripts/mutants.tsv}
tree=${MUTANTS_BUILD:-build}
read -r -a ctest_args <<<"${MUTANTS_CTEST_ARGS:-}"
patterns=("$@")
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1

[ -f "$table" ] || { echo "mutants: no table $table" >&2; exit 2; }

work=$(mktemp -d)
planted= # the file that holds a planted fault right now
backup=$work/original
restore() {
    if [ -n "$planted" ]; then
        cp "$backup" "$planted" # a fresh time, so that the next build compiles it again
        echo "mutants: restored $planted"
        planted=
    fi
}
finish() {
    restore
    rm -rf "$work"
}
trap finish EXIT
trap 'restore; echo "mutants: stopped; build $tree again before using it"; exit 130' INT
trap 'restore; exit 143' TERM

# occurrences FILE TEXT: how often TEXT occurs in FILE, byte for byte.
occurrences() {
    perl -e 'local $/; open(my $f, "<:raw", $ARGV[0]) or die; my $t = <$f>;
             my ($n, $at) = (0, 0);
             while (($at = index($t, $ARGV[1], $at)) >= 0) { ++$n; ++$at }
             print $n' "$1" "$2"
}

# plant FILE TEXT REPLACEMENT: replaces the one occurrence, in place.
plant() {
    perl -e 'local $/; open(my $f, "<:raw", $ARGV[0]) or die; my $t = <$f>; close $f;
             substr($t, index($t, $ARGV[1]), length($ARGV[1])) = $ARGV[2];
             open($f, ">:raw", $ARGV[0]) or die; print $f $t; close $f or die' "$1" "$2" "$3"
}

wanted() {
    local file=$1 fault=$2 p
    ((${#patterns[@]})) || return 0
    for p in "${patterns[@]}"; do
        [[ $file =~ $p || $fault =~ $p ]] && return 0
    done
    return 1
}

# run_tests LOG [ctest args...]: true when every test passed; else sets $failed_test
# to the first test ctest lists as failed and $failed_check to its first failing check.
run_tests() {
    local log=$1
    shift
    local list=$tree/Testing/Temporary/LastTestsFailed.log
    rm -f "$list"
    if (cd "$tree" && ctest --output-on-failure "${ctest_args[@]}" "$@") >>"$log" 2>&1; then
        return 0
    fi
    failed_test=$( [ -s "$list" ] && head -n1 "$list" | cut -d: -f2-)
    failed_check=$(grep -m1 -E '^(FAIL!|XPASS|QFATAL)' "$log" | cut -c1-200)
    [ -n "$failed_test" ] || failed_test="(ctest failed; see the log)"
    return 1
}

echo "mutants: building $tree"
if ! bash scripts/build.sh "$tree" >"$work/build.log" 2>&1; then
    tail -n 30 "$work/build.log"
    echo "mutants: the unmodified tree does not build" >&2
    exit 2
fi
mkdir -p "$tree/mutants"

caught=()
missed=()
lineno=0
while IFS= read -r line <&3 || [ -n "$line" ]; do
    lineno=$((lineno + 1))
    [[ -z ${line//[[:space:]]/} || $line == \#* ]] && continue
    # A separator that is not white space keeps empty fields (an empty replacement).
    IFS=$'\x1f' read -r file text replacement fault suite <<<"${line//$'\t'/$'\x1f'}"
    where="line $lineno"
    if [ -z "${file:-}" ] || [ -z "${text:-}" ] || [ -z "${fault:-}" ]; then
        echo "FAILED $where: needs file, text, replacement and fault, TAB apart"
        missed+=("$where: malformed row")
        continue
    fi
    wanted "$file" "$fault" || continue
    echo
    echo "== $where: $fault ($file)"
    if [ ! -f "$file" ]; then
        echo "FAILED $where: no file $file"
        missed+=("$where: no file $file")
        continue
    fi
    count=$(occurrences "$file" "$text")
    if [ "$count" != 1 ]; then
        echo "FAILED $where: the text occurs $count times in $file, not once: $text"
        missed+=("$where: text occurs $count times in $file")
        continue
    fi

    log=$tree/mutants/line-$lineno.log
    : >"$log"
    cp "$file" "$backup"
    planted=$file
    plant "$file" "$text" "$replacement"
    failed_test= failed_check=
    result=
    # The suite named first: building only its target is much quicker than the tree.
    if [ -n "${suite:-}" ] && cmake --build "$tree" --target "$suite" >>"$log" 2>&1 \
        && ! run_tests "$log" -R "^${suite}\$"; then
        result=caught
    elif ! cmake --build "$tree" >>"$log" 2>&1; then
        result=unbuilt
    elif ! run_tests "$log" -j 2 --stop-on-failure ${suite:+-E "^${suite}\$"}; then
        result=caught
    fi
    restore
    if [ "$result" = unbuilt ]; then
        echo "NOT caught $where: does not build (see $log)"
        missed+=("$where: does not build")
    elif [ "$result" = caught ]; then
        echo "caught $where by $failed_test${failed_check:+: $failed_check}"
        caught+=("$where: $failed_test")
    else
        echo "NOT caught $where: every test passed"
        missed+=("$where: not caught")
    fi
done 3<"$table"

echo
echo "mutants: rebuilding $tree from the restored code"
cmake --build "$tree" >/dev/null || echo "mutants: the restored tree does not build" >&2
echo
echo "== summary: ${#caught[@]} caught, ${#missed[@]} not caught or stale"
((${#missed[@]} == 0)) || printf '  %s\n' "${missed[@]}"
((${#missed[@]} == 0))
