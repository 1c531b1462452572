#!/bin/sh
# Starts the built Brumix under Wine on $DISPLAY, saves a picture of its main dialog to
# build/screenshots/main-dialog.png, then closes the program.
set -eu
cd "$(dirname "$0")/.."
export WINEPREFIX="$PWD/build/run-prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
scripts/wine-prefix.sh ensure
mkdir -p build/screenshots
shot="$PWD/build/screenshots/main-dialog.png"

# A first process of its own lets the prefix start its services and fonts, so that the
# program's title bar gets its Marlett buttons.
wine cmd /c exit </dev/null >/dev/null 2>&1
wine build/brumix.exe </dev/null >/dev/null 2>&1 &
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Brumix$' | head -n 1)
sleep 1
import -window "$window" "$shot"
wine taskkill /im brumix.exe </dev/null >/dev/null 2>&1 || true
wait || true
scripts/wine-prefix.sh stop
echo "Screenshot of the main dialog: $shot"
