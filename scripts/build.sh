#!/bin/sh
# Installs what is missing, then builds Brumix and its tests into build/.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
