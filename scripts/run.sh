#!/bin/sh
# Builds Brumix and runs it under Wine: the 32-bit program where this machine runs 32-bit
# Wine, otherwise its 64-bit twin. With no display it runs on a virtual one, saves a
# screenshot of its dialog to build/screenshots/main-dialog.png and ends.
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh
. scripts/arches.sh
brumix_arches
arch=${BRUMIX_RUNNABLE%% *}
tree=$(brumix_tree $arch)
export BRUMIX_WINE="$(brumix_loader $arch)" WINELOADER="$(brumix_loader $arch)"
echo "Running the $(brumix_label $arch) program, $tree/brumix.exe, under $BRUMIX_WINE."
if [ "$arch" != x86 ]; then
    echo "$BRUMIX_SKIPPED"
fi
if [ -n "${DISPLAY:-}" ]; then
    export WINEDEBUG="${WINEDEBUG:--all}"
    exec "$BRUMIX_WINE" "$tree/brumix.exe"
fi
exec scripts/virtual-display.sh scripts/screenshot.sh "$tree"
