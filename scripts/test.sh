#!/bin/sh
# Builds both programs and runs every test under Wine, on a virtual display when there is
# none: the script-level tests, played both as this machine and as one without 32-bit
# support, then the whole suite once for each build that this machine can run (both where
# 32-bit Wine runs, the 64-bit one alone elsewhere). Extra arguments go to ctest
# (-R Engine). BRUMIX_ARCHES=x64 (or x86) narrows the choice; BRUMIX_WINE32 and
# BRUMIX_WINE64 name the loaders (see scripts/arches.sh).
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh
status=0
scripts/run-script-tests.sh || status=$?
scripts/virtual-display.sh scripts/run-tests.sh "$@" || status=$?
exit $status
