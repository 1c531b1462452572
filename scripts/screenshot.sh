#!/bin/sh
# Starts the built Brumix of a build tree (build or build/x64) under Wine on $DISPLAY,
# saves a picture of its main dialog to build/screenshots/main-dialog.png, then closes the
# program. BRUMIX_WINE is the loader of that build.
set -eu
cd "$(dirname "$0")/.."
tree=${1:-build}
: "${BRUMIX_WINE:?set BRUMIX_WINE to the Wine loader of the build}"
export BRUMIX_WINE WINELOADER="$BRUMIX_WINE"
export WINEPREFIX="$PWD/$tree/run-prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
scripts/wine-prefix.sh ensure
mkdir -p build/screenshots
shot="$PWD/build/screenshots/main-dialog.png"
rm -f "$shot"

# A first process of its own lets the prefix start its services and fonts, so that the
# program's title bar gets its Marlett buttons.
"$BRUMIX_WINE" cmd /c exit </dev/null >/dev/null 2>&1
"$BRUMIX_WINE" "$tree/brumix.exe" </dev/null >/dev/null 2>&1 &
program=$!
if ! window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Brumix$' | head -n 1) || [ -z "$window" ]; then
    echo "screenshot: the main dialog of $tree/brumix.exe did not show within 60 s" >&2
    kill $program 2>/dev/null || true
    scripts/wine-prefix.sh stop
    exit 1
fi
sleep 1
import -window "$window" "$shot"
"$BRUMIX_WINE" taskkill /im brumix.exe </dev/null >/dev/null 2>&1 || true
wait || true
scripts/wine-prefix.sh stop
echo "Screenshot of the main dialog: $shot"
