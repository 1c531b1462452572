#!/bin/sh
# Runs a Windows program in the prefix where Brumix's screen is scaled: $WINEPREFIX (a
# prefix made like the test prefix, see wine-prefix.sh), its system DPI set to the first
# argument first: 144 for 150 %, 192 for 200 %.
#   dpi-prefix.sh DPI KEEPER.exe PROGRAM.exe [ARGUMENTS...]
# Wine reads the DPI (HKCU\Control Panel\Desktop, LogPixels) once in each process as it
# starts: when it changes, the prefix's server and keeper are ended and started again, so
# that no process of the old DPI is left. The runs of one prefix take turns (a lock held
# for the whole run), and the prefix's processes are ended when the program has ended.
# BRUMIX_WINE is the Wine loader of the build, or BRUMIX_ARCH (x86, x64) names the build.
set -eu
: "${WINEPREFIX:?set WINEPREFIX to the prefix to use}"
if [ -z "${BRUMIX_WINE:-}" ]; then
    . "$(dirname "$0")/arches.sh"
    BRUMIX_WINE=$(brumix_loader "${BRUMIX_ARCH:?set BRUMIX_WINE, or BRUMIX_ARCH to x86 or x64}")
fi
export BRUMIX_WINE
dpi=${1:?usage: dpi-prefix.sh DPI KEEPER.exe PROGRAM.exe [ARGUMENTS...]}
keeper=${2:?usage: dpi-prefix.sh DPI KEEPER.exe PROGRAM.exe [ARGUMENTS...]}
shift 2
here=$(dirname "$0")
export WINEPREFIX WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=" WINELOADER="$BRUMIX_WINE"

mkdir -p "$(dirname "$WINEPREFIX")"
exec 8>"$WINEPREFIX.turn"
flock 8

"$here/wine-prefix.sh" ensure 8>&-
set_dpi() {
    "$BRUMIX_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        </dev/null >/dev/null 2>&1 8>&-
}
shown=$("$BRUMIX_WINE" reg query 'HKCU\Control Panel\Desktop' /v LogPixels </dev/null 2>/dev/null 8>&- |
        sed -n 's/.*LogPixels.*REG_DWORD *0x\([0-9a-fA-F]*\).*/\1/p' | tr -d '\r')
if [ -z "$shown" ] || [ $((0x$shown)) -ne "$dpi" ]; then
    if ! set_dpi; then
        echo "dpi-prefix: cannot set the DPI of $WINEPREFIX to $dpi" >&2
        exit 1
    fi
    "$here/wine-prefix.sh" stop 8>&-
fi
"$here/wine-prefix.sh" ensure "$keeper" 8>&-

status=0
"$BRUMIX_WINE" "$@" 8>&- || status=$?
"$here/wine-prefix.sh" stop 8>&-
exit $status
