#!/usr/bin/env bash
# scripts/package.sh [windows]
# Builds and packages the program for one system, into the build's folder.
#   windows  build/windows/tintgrabber-2.2-setup-x64.exe, an installer made by
#            CPack's NSIS generator, and tintgrabber-2.2-windows-x64.zip of
#            build/windows/dist (scripts/build.sh windows first)
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
windows)
    scripts/build.sh windows
    cd build/windows
    cpack -B . >/dev/null
    version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' CPackConfig.cmake)
    name=tintgrabber-$version-windows-x64
    rm -rf "$name" "$name.zip"
    cp -a dist "$name"
    zip -qr "$name.zip" "$name"
    rm -rf "$name"
    ls "$PWD"/*-setup-x64.exe "$PWD/$name.zip"
    ;;
*)
    echo "usage: scripts/package.sh windows" >&2
    exit 2
    ;;
esac
