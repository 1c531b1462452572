#!/bin/sh
# Builds both programs and runs every test under Wine, on a virtual display when there is
# none: the whole suite once for each build that this machine can run (both where 32-bit
# Wine runs, the 64-bit one alone elsewhere). Extra arguments go to ctest (-R Engine).
# BRUMIX_ARCHES=x64 (or x86) narrows the choice.
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh
exec scripts/virtual-display.sh scripts/run-tests.sh "$@"
