#!/bin/sh
# Builds Brumix and runs it under Wine. With no display it runs on a virtual one, saves a
# screenshot of its dialog to build/screenshots/main-dialog.png and ends.
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh
if [ -n "${DISPLAY:-}" ]; then
    export WINEDEBUG="${WINEDEBUG:--all}"
    exec wine build/brumix.exe
fi
exec scripts/virtual-display.sh scripts/screenshot.sh
