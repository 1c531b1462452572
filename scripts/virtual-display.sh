#!/bin/sh
# Runs a command on the current display, or on a private virtual one when there is none.
#   virtual-display.sh COMMAND [ARG...]
set -eu
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi

number=90
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
done
Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT INT TERM
tries=0
until [ -e "/tmp/.X11-unix/X$number" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 $xvfb 2>/dev/null; then
        echo "virtual-display: Xvfb :$number did not start" >&2
        exit 1
    fi
    sleep 0.1
done
export DISPLAY=":$number"
status=0
"$@" || status=$?
exit $status
