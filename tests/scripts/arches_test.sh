#!/bin/sh
# Which builds the test, run and benchmark commands run: found by starting each Wine
# loader (BRUMIX_WINE32, BRUMIX_WINE64), narrowed by BRUMIX_ARCHES. Every case of the table
# names its own stand-in loaders; the last case takes the loaders that the pass names, so
# that the pass played as a machine without 32-bit support starts the real 64-bit loader.
set -u
cd "$(dirname "$0")/../.."
. tests/scripts/stand_ins.sh
. scripts/arches.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
make_stand_ins "$scratch"

not_run_32='The 32-bit build (build/brumix.exe) was built but not run here'
cannot_start="$not_run_32: its Wine loader cannot start on this machine ($CANNOT_RUN: Exec format error)."

# Each case: name | BRUMIX_WINE32 | BRUMIX_WINE64 | BRUMIX_ARCHES | status | runnable |
# the lines said about the builds left out (joined by "/"; "-" when they do not matter).
while IFS='|' read -r name wine32 wine64 wanted status runnable said; do
    [ -n "$name" ] || continue
    got=$(BRUMIX_WINE32=$(eval echo "$wine32") BRUMIX_WINE64=$(eval echo "$wine64") \
        BRUMIX_ARCHES=$wanted sh -c '. scripts/arches.sh
            brumix_arches 2>/dev/null; status=$?
            echo "$status|$BRUMIX_RUNNABLE|$BRUMIX_SKIPPED" | paste -s -d /')
    if [ "$said" = "-" ]; then
        got=${got%|*}"|-"
    else
        said=$(eval echo "\"$said\"")
    fi
    check "$name" "$got" "$status|$runnable|$said"
done <<'CASES'
both loaders start|$STARTS|$STARTS||0|x86 x64|
no 32-bit support|$CANNOT_RUN|$STARTS||0|x64|$cannot_start
narrowed to x64|$STARTS|$STARTS|x64|0|x64|$not_run_32: BRUMIX_ARCHES=\"x64\" leaves it out.
narrowed to x86|$STARTS|$STARTS|x86|0|x86|The 64-bit build (build/x64/brumix.exe) was built but not run here: BRUMIX_ARCHES=\"x86\" leaves it out.
narrowed to x86 without 32-bit support|$CANNOT_RUN|$STARTS|x86|1||$cannot_start/The 64-bit build (build/x64/brumix.exe) was built but not run here: BRUMIX_ARCHES=\"x86\" leaves it out.
an unknown build is refused|$STARTS|$STARTS|arm64|2||
nothing can run|$CANNOT_RUN|$CANNOT_RUN||1||-
CASES

# The loaders default to Debian's, each build its own.
check "the 32-bit loader by default" "$(unset BRUMIX_WINE32; brumix_loader x86)" /usr/lib/wine/wine
check "the 64-bit loader by default" "$(unset BRUMIX_WINE64; brumix_loader x64)" /usr/lib/wine/wine64

# The loaders that this pass names, not stand-ins: the machine's own, or the file that
# plays a machine without 32-bit support. The 64-bit loader starts on both kinds of
# machine; the 32-bit one starts, or is left out with the reason the system gave.
loader32=$(brumix_loader x86)
got=$(unset BRUMIX_ARCHES; sh -c '. scripts/arches.sh
    brumix_arches 2>/dev/null; status=$?
    echo "$status|$BRUMIX_RUNNABLE|$BRUMIX_SKIPPED" | paste -s -d /')
if [ "$loader32" = "$CANNOT_RUN" ]; then
    check "this pass's own loaders, without 32-bit support" "$got" "0|x64|$cannot_start"
else
    case "$got" in
    "0|x86 x64|" | "0|x64|$not_run_32: its Wine loader cannot start on this machine ($loader32: "*").") ;;
    *) check "this machine's own loaders" "$got" "0|x86 x64| or 0|x64|$not_run_32: its Wine loader cannot start ..." ;;
    esac
fi

[ $failures -eq 0 ] && echo "every build choice as expected"
exit $failures
