#!/bin/sh
# Runs the script-level tests (tests/scripts/*_test.sh) twice: with the Wine loaders that
# this machine names, and as a machine whose kernel runs no 32-bit program (BRUMIX_WINE32
# named as a file that cannot be executed), so that both paths are checked wherever the
# tests run. Exit status non-zero when any of them failed.
set -u
cd "$(dirname "$0")/.."
status=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for way in "this machine" "no 32-bit support"; do
    for test in tests/scripts/*_test.sh; do
        if [ "$way" = "this machine" ]; then
            sh "$test" >"$log" 2>&1
        else
            BRUMIX_WINE32="$PWD/tests/scripts/not-a-program" sh "$test" >"$log" 2>&1
        fi
        result=$?
        if [ $result -eq 0 ]; then
            echo "Script test $(basename "$test" .sh) ($way): passed"
        else
            echo "Script test $(basename "$test" .sh) ($way): FAILED"
            cat "$log"
            status=1
        fi
    done
done
exit $status
