#!/bin/sh
# Which builds the test, run and benchmark commands run: found by starting each Wine
# loader, narrowed by BRUMIX_ARCHES. A loader that cannot start here stands in for the
# 32-bit one on a kernel without 32-bit support.
set -u
cd "$(dirname "$0")/../.."
. scripts/arches.sh
failures=0
check() {
    if [ "$2" != "$3" ]; then
        echo "FAILED: $1: got '$2', expected '$3'"
        failures=$((failures + 1))
    fi
}

# Loaders that start on any machine: the narrowing alone is under test here, whatever
# this machine's kernel runs.
brumix_loader() { echo /bin/true; }

BRUMIX_ARCHES=x64 brumix_arches
check "narrowed to x64: runnable" "$BRUMIX_RUNNABLE" "x64"
check "narrowed to x64: said" "$BRUMIX_SKIPPED" \
    'The 32-bit build (build/brumix.exe) was built but not run here: BRUMIX_ARCHES="x64" leaves it out.'

BRUMIX_ARCHES=x86 brumix_arches
check "narrowed to x86: runnable" "$BRUMIX_RUNNABLE" "x86"
check "narrowed to x86: said" "$BRUMIX_SKIPPED" \
    'The 64-bit build (build/x64/brumix.exe) was built but not run here: BRUMIX_ARCHES="x86" leaves it out.'

BRUMIX_ARCHES=arm64 brumix_arches 2>/dev/null
check "an unknown build is refused" "$?" "2"

# A loader that the kernel cannot execute: a file that is no program at all.
fake=$(mktemp)
printf 'not a program\n' >"$fake"
chmod +x "$fake"
brumix_loader() { case "$1" in x86) echo "$fake" ;; x64) echo /usr/lib/wine/wine64 ;; esac; }
unset BRUMIX_ARCHES
brumix_arches
check "no 32-bit support: runnable" "$BRUMIX_RUNNABLE" "x64"
case "$BRUMIX_SKIPPED" in
"The 32-bit build (build/brumix.exe) was built but not run here: its Wine loader cannot start on this machine ("*"Exec format error)."*) ;;
*) check "no 32-bit support: said" "$BRUMIX_SKIPPED" "the 32-bit build named, with the loader's error" ;;
esac

brumix_loader() { echo "$fake"; }
brumix_arches 2>/dev/null
check "nothing can run: refused" "$?" "1"
rm -f "$fake"

[ $failures -eq 0 ] && echo "every build choice as expected"
exit $failures
