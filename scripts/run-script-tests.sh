#!/bin/sh
# Runs the script-level tests. Those that choose Wine loaders (tests/scripts/*_test.sh)
# run twice: with the loaders that this machine names, and as a machine whose kernel runs
# no 32-bit program (BRUMIX_WINE32 named as a file that cannot be executed), so that both
# paths are checked wherever the tests run. Those about the release
# (tests/scripts/release/*_test.sh) run once, on the programs already built.
# Exit status non-zero when any of them failed.
set -u
cd "$(dirname "$0")/.."
status=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# run_test TEST WAY [VARIABLE=VALUE...]
run_test() {
    test=$1 way=$2
    shift 2
    if env "$@" sh "$test" >"$log" 2>&1; then
        echo "Script test $(basename "$test" .sh) ($way): passed"
    else
        echo "Script test $(basename "$test" .sh) ($way): FAILED"
        cat "$log"
        status=1
    fi
}
for test in tests/scripts/*_test.sh; do
    run_test "$test" "this machine"
    run_test "$test" "no 32-bit support" BRUMIX_WINE32="$PWD/tests/scripts/not-a-program"
done
for test in tests/scripts/release/*_test.sh; do
    run_test "$test" "built programs"
done
exit $status
