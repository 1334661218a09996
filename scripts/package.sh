#!/usr/bin/env bash
# scripts/package.sh [KIND]
# Builds an installable package of the program into build/packages.
#   deb (the default)  the Debian package tintgrabber_VERSION-1_ARCH.deb, from
#                      the default build; settings in cmake/DebianPackage.cmake
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
*)
    echo "package.sh: no package kind \"$kind\" (known: deb)" >&2
    exit 2
    ;;
esac
