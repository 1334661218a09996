#!/usr/bin/env bash
# scripts/windows/build.sh, run as "scripts/build.sh windows"
# Installs what the Windows build needs, builds Qt for Windows once (qt.sh,
# cached), cross-builds the program and its tests into build/windows/ and
# leaves build/windows/dist/: tintgrabber.exe with every DLL and Qt plugin it
# loads, to run under Wine or on Windows as it is.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/setup.sh
scripts/setup.sh scripts/windows/packages.txt
qt=$(scripts/windows/qt.sh)
out=$PWD/build/windows
# The test programs run under Wine in a prefix of the build's own, finding
# Qt's DLLs in the cache (scripts/windows/wine.sh).
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/scripts/windows/mingw.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_BINDIR=. \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/scripts/windows/wine.sh;$out/wine;$qt/bin" >/dev/null
cmake --build "$out"
rm -rf "$out/dist"
cmake --install "$out" --prefix "$out/dist" >/dev/null
