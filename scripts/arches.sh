#!/bin/sh
# Which of the two builds this machine can run under Wine, found by trying each loader.
#   . scripts/arches.sh; brumix_arches      sets BRUMIX_RUNNABLE ("x86 x64", "x64", ...) and
#                                           BRUMIX_SKIPPED (one line per build left out, why)
# BRUMIX_ARCHES narrows the choice: BRUMIX_ARCHES=x64 scripts/test.sh leaves the 32-bit
# build out by choice. BRUMIX_WINE32 and BRUMIX_WINE64 name the loaders that every script
# starts (/usr/lib/wine/wine and /usr/lib/wine/wine64 unless set): naming a file that
# cannot be executed as BRUMIX_WINE32 plays a machine whose kernel runs no 32-bit program,
# down to the same "Exec format error".

# The build tree, the Wine loader and a name for each build.
brumix_tree() { case "$1" in x86) echo build ;; x64) echo build/x64 ;; esac; }
brumix_loader() {
    case "$1" in
    x86) echo "${BRUMIX_WINE32:-/usr/lib/wine/wine}" ;;
    x64) echo "${BRUMIX_WINE64:-/usr/lib/wine/wine64}" ;;
    esac
}
brumix_label() { case "$1" in x86) echo "32-bit" ;; x64) echo "64-bit" ;; esac; }

brumix_arches() {
    wanted=${BRUMIX_ARCHES:-x86 x64}
    BRUMIX_RUNNABLE=
    BRUMIX_SKIPPED=
    for arch in $wanted; do
        case "$arch" in
        x86|x64) ;;
        *)
            echo "BRUMIX_ARCHES: unknown build '$arch' (use x86, x64 or both)" >&2
            return 2
            ;;
        esac
    done
    for arch in x86 x64; do
        exe="$(brumix_tree $arch)/brumix.exe"
        case " $wanted " in
        *" $arch "*) ;;
        *)
            BRUMIX_SKIPPED="$BRUMIX_SKIPPED
The $(brumix_label $arch) build ($exe) was built but not run here: BRUMIX_ARCHES=\"$wanted\" leaves it out."
            continue
            ;;
        esac
        loader=$(brumix_loader $arch)
        # Starting the loader is the test: on a kernel without 32-bit support the 32-bit
        # one fails with "Exec format error", whatever uname says. Started without a
        # shell, which would take a program it cannot execute for a script.
        if why=$(python3 -c 'import os, sys
try:
    os.execv(sys.argv[1], sys.argv[1:])
except OSError as error:
    sys.exit("%s: %s" % (sys.argv[1], error.strerror))' "$loader" --version 2>&1 </dev/null); then
            BRUMIX_RUNNABLE="$BRUMIX_RUNNABLE $arch"
        else
            why=$(printf '%s' "$why" | tail -n 1)
            BRUMIX_SKIPPED="$BRUMIX_SKIPPED
The $(brumix_label $arch) build ($exe) was built but not run here: its Wine loader cannot start on this machine (${why:-$loader failed})."
        fi
    done
    BRUMIX_RUNNABLE=${BRUMIX_RUNNABLE# }
    BRUMIX_SKIPPED=${BRUMIX_SKIPPED#
}
    if [ -z "$BRUMIX_RUNNABLE" ]; then
        echo "No build of Brumix can run under Wine here: run scripts/setup.sh, and check BRUMIX_ARCHES." >&2
        [ -n "$BRUMIX_SKIPPED" ] && echo "$BRUMIX_SKIPPED" >&2
        return 1
    fi
    return 0
}
