#!/bin/sh
# Builds Brumix and runs every test under Wine, on a virtual display when there is none.
# Extra arguments go to ctest (for example: -R Engine).
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh
exec scripts/virtual-display.sh scripts/run-tests.sh "$@"
