#!/bin/sh
# Builds Brumix and runs the deletion benchmark under Wine for each build that this
# machine can run (BRUMIX_ARCHES narrows it), each in its own test prefix, on a virtual
# display when there is none: both trees against del /s /q, a folder of 30,000 names that
# end in a dot with the longest wait for the window's answer, the peak memory of runs of
# 20,000 and 200,000 files, each in a process of its own, then the cost of the count in
# the title: one title change, and runs with and without it. Argument: [rounds] (3).
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh
. scripts/arches.sh
brumix_arches
[ -z "$BRUMIX_SKIPPED" ] || echo "$BRUMIX_SKIPPED"
status=0
for arch in $BRUMIX_RUNNABLE; do
    tree=$(brumix_tree $arch)
    echo "=== The $(brumix_label $arch) build ($tree), under $(brumix_loader $arch)"
    WINEPREFIX="$PWD/$tree/wineprefix" BRUMIX_WINE="$(brumix_loader $arch)" \
        scripts/virtual-display.sh sh -c \
        'status=0
         for run in "${1:-3}" dotted "memory 20000" "memory 200000" "title ${1:-3}"; do
             "$0/wine-run.sh" "$0/deletion_bench.exe" $run || status=$?
         done
         scripts/wine-prefix.sh stop; exit $status' \
        "$tree" "$@" || status=$?
done
exit $status
