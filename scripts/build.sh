#!/bin/sh
# Installs what is missing, then builds both programs and their tests from the same
# sources: build/brumix.exe (32-bit) and build/x64/brumix.exe (64-bit).
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
. scripts/arches.sh
for arch in x86 x64; do
    tree=$(brumix_tree $arch)
    toolchain="$PWD/cmake/toolchain-$arch.cmake"
    # A tree configured with another toolchain cannot be reused.
    if [ -f "$tree/CMakeCache.txt" ] &&
        ! grep -qx "CMAKE_TOOLCHAIN_FILE:FILEPATH=$toolchain" "$tree/CMakeCache.txt"; then
        rm -rf "$tree/CMakeCache.txt" "$tree/CMakeFiles"
    fi
    cmake -S . -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
    cmake --build "$tree" -j "$(nproc)"
done
