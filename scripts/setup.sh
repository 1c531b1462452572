#!/bin/sh
# Installs everything the build, the run and the tests need on Debian 12.
# Idempotent: a second run only checks. Needs root, or sudo.
set -eu

if [ "$(id -u)" -eq 0 ]; then SUDO=; else SUDO=sudo; fi

packages="g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
 g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 cmake make
 wine wine32:i386 wine64 fonts-wine fonts-liberation xvfb xdotool x11-apps imagemagick
 googletest python3 ca-certificates git"

missing=
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done

if [ -n "$missing" ]; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $packages
fi
