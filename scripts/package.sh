#!/usr/bin/env bash
# scripts/package.sh [KIND]
# Builds an installable package of the program.
#   deb (the default)  build/packages/tintgrabber_VERSION-1_ARCH.deb, the Debian
#                      package, from the default build; settings in
#                      cmake/DebianPackage.cmake
#   windows            build/windows/tintgrabber-2.2-setup-x64.exe, an installer
#                      made by CPack's NSIS generator, and
#                      tintgrabber-2.2-windows-x64.zip of build/windows/dist
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-deb}
case "$kind" in
deb)
    scripts/setup.sh
    scripts/build.sh default >/dev/null
    cpack --config build/default/CPackConfig.cmake -G DEB -B build/packages >/dev/null
    rm -rf build/packages/_CPack_Packages
    ls build/packages/*.deb
    ;;
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
    echo "package.sh: no package kind \"$kind\" (known: deb, windows)" >&2
    exit 2
    ;;
esac
