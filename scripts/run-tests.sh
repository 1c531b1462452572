#!/bin/sh
# Runs the built tests on $DISPLAY, then ends the test prefix's Wine processes.
set -eu
cd "$(dirname "$0")/.."
export WINEPREFIX="$PWD/build/wineprefix"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
status=0
ctest --test-dir build --output-on-failure --timeout 600 "$@" </dev/null || status=$?
scripts/wine-prefix.sh stop
exit $status
