#!/bin/sh
# Builds Brumix and runs the deletion benchmark under Wine, on a virtual display when there
# is none, in the test prefix. Arguments go to the benchmark: [rounds] [folders-per-level]
# [files-per-folder].
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh
export WINEPREFIX="$PWD/build/wineprefix"
exec scripts/virtual-display.sh env WINEPREFIX="$WINEPREFIX" sh -c 'status=0; build/wine-run.sh build/deletion_bench.exe "$@" || status=$?; scripts/wine-prefix.sh stop; exit $status' bench "$@"
