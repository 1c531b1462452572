#!/bin/sh
# Prepares and warms a private Wine prefix ($WINEPREFIX) for Brumix's tests and screenshots.
#   wine-prefix.sh ensure [keeper.exe]   create the prefix once; keep a warm server and, given a
#                                        keeper, one long-lived Wine process on this $DISPLAY
#   wine-prefix.sh stop                  end every Wine process of the prefix
# BRUMIX_WINE is the Wine loader of the build that uses the prefix (see brumix_loader in
# arches.sh); each build has a prefix of its own.
# Safe to call from many processes at once: the work is done under a lock.
set -eu

: "${WINEPREFIX:?set WINEPREFIX to the prefix to use}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=${BRUMIX_WINE:?set BRUMIX_WINE to the Wine loader of the build}
# Debian's wine script would take the 32-bit loader whenever it is installed, even where
# it cannot run; Wine starts its own helpers with WINELOADER.
export WINELOADER="$wine"

action=${1:-ensure}
keeper=${2:-}
state="$WINEPREFIX.state"
log="$WINEPREFIX.log"

quietly() { "$@" </dev/null >/dev/null 2>&1 9>&-; }
# Runs a command with its output added to the prefix's log.
logged() { "$@" </dev/null >>"$log" 2>&1 9>&-; }
# Ends the prefix's server and waits until it is gone.
end_server() {
    quietly wineserver -k || true
    quietly wineserver -w || true
}

last_logged() { grep -v '^[[:space:]]*$' "$log" | tail -n 1; }

# Runs a step of the prefix's making with its output kept in the log; on failure says in
# one line what failed and what to do, and ends the script.
step() {
    what=$1
    shift
    if ! logged "$@"; then
        last=$(last_logged)
        echo "wine-prefix: $what failed for $WINEPREFIX with $wine${last:+ ($last)}; run scripts/setup.sh, and see $log" >&2
        exit 1
    fi
}

# The real MS Sans Serif gives dialogs Windows' base units (6x13); Wine's stand-in
# resolves to DejaVu Sans and 7x13. Wine draws its own title bars here, and their
# buttons are Marlett glyphs: without marlett.ttf in the prefix the close box shows the
# letter "r" of whatever font stands in. Wine reads only the prefix's Fonts folder, not
# /usr/share/wine/fonts, so the files are checked at every use: a prefix made before one
# of them was listed here, or whose folder lost one, gets it back.
install_fonts() {
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    for font in sserife.fon ms_sans_serif.ttf marlett.ttf; do
        if ! cmp -s "/usr/share/wine/fonts/$font" "$fonts/$font"; then
            cp "/usr/share/wine/fonts/$font" "$fonts/$font"
        fi
    done
}

create_prefix() {
    : >"$log"
    # The very first 32-bit Wine process on a freshly booted machine was once seen to fail
    # with "could not load kernel32.dll, status c0000135", and every later one to succeed:
    # a half-made prefix is thrown away and made once more, and the failure is said.
    if ! logged "$wine" wineboot -i; then
        echo "wine-prefix: making the Wine prefix (wineboot -i) failed once for $WINEPREFIX with $wine ($(last_logged)); making it again" >&2
        end_server
        rm -rf "$WINEPREFIX"
        step "making the Wine prefix (wineboot -i)" "$wine" wineboot -i
    fi
    install_fonts
    # Arial is drawn with its metric twin.
    step "setting the prefix's fonts" "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f
    # Xvfb has no window manager: without this Wine waits about 2 s whenever a
    # captioned window is hidden.
    step "setting the prefix's X11 driver" "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    quietly wineserver -w || true
    touch "$WINEPREFIX/.brumix-ready"
}

keeper_alive() {
    [ -f "$state" ] || return 1
    read -r pid display < "$state" || return 1
    [ "$display" = "${DISPLAY:-}" ] && kill -0 "$pid" 2>/dev/null
}

start_keeper() {
    end_server
    setsid wineserver -p </dev/null >/dev/null 2>&1 9>&- &
    # One long-lived process starts the prefix's services and desktop with no
    # output attached; otherwise they inherit the pipes of whoever ran first.
    setsid "$wine" "$keeper" </dev/null >>"$log" 2>&1 9>&- &
    echo "$! ${DISPLAY:-}" > "$state"
    step "starting a program in the prefix (cmd /c exit)" "$wine" cmd /c exit
    if ! keeper_alive; then
        echo "wine-prefix: the keeper process $keeper ended at once in $WINEPREFIX; see $log" >&2
        exit 1
    fi
}

case "$action" in
ensure)
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ -f "$WINEPREFIX/.brumix-ready" ]; then install_fonts; else create_prefix; fi
    if [ -n "$keeper" ] && ! keeper_alive; then start_keeper; fi
    ;;
stop)
    quietly wineserver -k || true
    rm -f "$state"
    ;;
*)
    echo "usage: $0 ensure [keeper.exe] | stop" >&2
    exit 2
    ;;
esac
