#!/bin/sh
# Runs the built test suites on $DISPLAY: one per build that this machine can run, each in
# its own prefix, then ends the prefix's Wine processes. Extra arguments go to ctest.
# The exit status is non-zero when any suite that ran failed.
set -u
cd "$(dirname "$0")/.."
. scripts/arches.sh
brumix_arches || exit $?
export LANG=C.UTF-8 LC_ALL=C.UTF-8

status=0
results=
for arch in $BRUMIX_RUNNABLE; do
    tree=$(brumix_tree $arch)
    label=$(brumix_label $arch)
    export WINEPREFIX="$PWD/$tree/wineprefix" BRUMIX_WINE="$(brumix_loader $arch)"
    echo "=== The $label suite: $tree/brumix.exe under $BRUMIX_WINE"
    result=passed
    ctest --test-dir "$tree" --output-on-failure --timeout 600 "$@" </dev/null || {
        status=$?
        result=FAILED
    }
    scripts/wine-prefix.sh stop
    results="$results
The $label suite ($tree) $result."
done

echo "${results#?}"
if [ -n "$BRUMIX_SKIPPED" ]; then
    echo "$BRUMIX_SKIPPED"
fi
exit $status
