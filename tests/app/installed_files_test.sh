#!/usr/bin/env bash
# installed_files_test.sh BUILD_DIR
# Installs the build into a scratch prefix: the program, the launcher entry,
# the icons and the AppStream file land in their standard places and pass the
# desktop's own validators.
set -uo pipefail
id=com.example.tintgrabber
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
check() {
    local out
    out=$("${@:2}" 2>&1) || { echo "FAIL $1: $out"; failures=$((failures + 1)); }
}

cmake --install "$1" --prefix "$prefix" >/dev/null || { echo "FAIL cmake --install"; exit 1; }
cd "$prefix/share"
check "program in bin/" test -x "$prefix/bin/tintgrabber"
check "desktop-file-validate" desktop-file-validate "applications/$id.desktop"
check "the entry runs tintgrabber" grep -qx "Exec=tintgrabber" "applications/$id.desktop"
check "the entry names the icon" grep -qx "Icon=$id" "applications/$id.desktop"
check "appstreamcli validate" appstreamcli validate --no-net --explain "metainfo/$id.metainfo.xml"
check "the AppStream file launches the entry" grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "metainfo/$id.metainfo.xml"
for size in 16 32 48 64 128 256; do
    check "icon ${size}x$size" test "$(identify -format '%wx%h' "icons/hicolor/${size}x$size/apps/$id.png")" = "${size}x$size"
done
[ "$failures" = 0 ] && echo "ok   installed files in place and valid"
