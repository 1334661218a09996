#!/usr/bin/env bash
# installed_files_test.sh BUILD_DIR
# Installs the build into a scratch prefix: the program, the launcher entry,
# the icons and the AppStream file land in their standard places and pass the
# desktop's own validators, with the German summary.
set -uo pipefail
id=com.example.tintgrabber
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null || { echo "FAIL cmake --install"; exit 1; }
cd "$prefix/share" || exit 1
sizes=$(for size in 16 32 48 64 128 256; do identify -format '%wx%h ' "icons/hicolor/${size}x$size/apps/$id.png"; done)
test -x "$prefix/bin/tintgrabber" &&
    desktop-file-validate "applications/$id.desktop" &&
    grep -qx "Exec=tintgrabber" "applications/$id.desktop" &&
    grep -qx "Icon=$id" "applications/$id.desktop" &&
    grep -q '^Comment\[de\]=.' "applications/$id.desktop" &&
    grep -q '<summary xml:lang="de">.' "metainfo/$id.metainfo.xml" &&
    appstreamcli validate --no-net --explain "metainfo/$id.metainfo.xml" >/dev/null &&
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "metainfo/$id.metainfo.xml" &&
    [ "$sizes" = "16x16 32x32 48x48 64x64 128x128 256x256 " ] &&
    echo "ok   installed files in place and valid" || { echo "FAIL installed files (icons: $sizes)"; exit 1; }
