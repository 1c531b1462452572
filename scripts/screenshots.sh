#!/bin/sh
# Builds Brumix, brings up each of its windows under Wine and saves them as the README's
# pictures: docs/main-dialog.png, docs/summary-question.png, docs/file-question.png,
# docs/running.png (the main dialog during a run), docs/help.png and docs/long-question.png
# (a summary too long for a message box, in the question dialog); then the same windows
# but the last on a screen at 150 % and at 200 % (144 and 192 DPI, in the prefix that
# dpi-prefix.sh scales), as docs/main-dialog-150.png, docs/main-dialog-200.png and so on.
# Runs on a virtual display when there is none. The per-file question is taken only when
# a run asks one; otherwise it is skipped with a message.
set -eu
cd "$(dirname "$0")/.."
if [ "${1:-}" != "--built" ]; then
    scripts/build.sh
fi
if [ -z "${DISPLAY:-}" ]; then
    exec scripts/virtual-display.sh "$0" --built
fi

. scripts/arches.sh
brumix_arches
arch=${BRUMIX_RUNNABLE%% *}
tree=$(brumix_tree $arch)
export BRUMIX_WINE="$(brumix_loader $arch)" WINELOADER="$(brumix_loader $arch)"
export WINEPREFIX="$PWD/$tree/run-prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
scripts/wine-prefix.sh ensure
# The pictures go next to the program that takes them.
shots=$tree/screenshots
mkdir -p "$shots" docs
rm -f "$shots"/*.bmp

status=0
"$BRUMIX_WINE" "$tree/brumix_screenshots.exe" </dev/null || status=$?
scripts/wine-prefix.sh stop
for scale in 150:144 200:192; do
    BRUMIX_SHOT_SUFFIX=-${scale%%:*} WINEPREFIX="$PWD/$tree/dpi-prefix" \
        scripts/dpi-prefix.sh "${scale#*:}" "$tree/wine_keeper.exe" "$tree/brumix_screenshots.exe" </dev/null ||
        status=$?
done

for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    name=$(basename "$bmp" .bmp)
    # No time stamps, so the same picture gives the same file; full colour, since some
    # viewers draw the title bar's gradient wrong from a palette.
    convert "$bmp" -strip "PNG24:$shots/$name.png"
done
for name in main-dialog summary-question file-question running help long-question \
    main-dialog-150 summary-question-150 file-question-150 running-150 help-150 \
    main-dialog-200 summary-question-200 file-question-200 running-200 help-200; do
    if [ -e "$shots/$name.bmp" ]; then
        cp "$shots/$name.png" "docs/$name.png"
        echo "docs/$name.png"
    else
        echo "no picture of $name: docs/$name.png left as it was" >&2
    fi
done
exit $status
