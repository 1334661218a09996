#!/usr/bin/env bash
# installed_files_test.sh BUILD_DIR
# Installs the build into a scratch prefix and checks that the program, the
# launcher entry, the icons and the AppStream file land in their standard
# places and pass the desktop's own validators.
set -uo pipefail
build=$1
id=com.example.tintgrabber
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL cmake --install"; exit 1; }

[ -x "$prefix/bin/tintgrabber" ] || fail "program not installed in bin/"

desktop=$prefix/share/applications/$id.desktop
if [ -f "$desktop" ]; then
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
    grep -qx "Exec=tintgrabber" "$desktop" || fail "desktop entry does not run tintgrabber"
    grep -qx "Icon=$id" "$desktop" || fail "desktop entry does not name icon $id"
else
    fail "missing $desktop"
fi

metainfo=$prefix/share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
    out=$(appstreamcli validate --no-net --explain "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "metainfo does not launch $id.desktop"
else
    fail "missing $metainfo"
fi

for size in 16 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    if [ -f "$icon" ]; then
        actual=$(identify -format '%wx%h' "$icon")
        [ "$actual" = "${size}x${size}" ] || fail "$icon is $actual"
    else
        fail "missing $icon"
    fi
done

[ "$failures" -eq 0 ] && echo "ok   installed files in place and valid"
[ "$failures" -eq 0 ]
