#!/usr/bin/env bash
# package_test.sh BUILD_DIR
# The Debian package as a user gets it: cpack makes it from BUILD_DIR under
# the expected name, lintian finds no error in it, and in a throwaway Debian 12
# root (scripts/with-debian-root.sh) apt-get installs it with the dependencies
# it names, /usr/bin/tintgrabber answers --version, the files are where the
# desktop looks, and apt-get remove leaves none of them. Needs root.
set -uo pipefail
[ "$(id -u)" -eq 0 ] || { echo "SKIP the Debian root needs root"; exit 77; }
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
version=$("$1/app/tintgrabber" --version)
deb=$out/tintgrabber_${version#tintgrabber }-1_$(dpkg --print-architecture).deb
cpack --config "$1/CPackConfig.cmake" -G DEB -B "$out" >/dev/null && [ -f "$deb" ] ||
    { echo "FAIL cpack made no $(basename "$deb"):" "$out"/*.deb; exit 1; }
echo "ok   cpack made $(basename "$deb") (Depends: $(dpkg-deb -f "$deb" Depends))"
lintian --allow-root --fail-on error "$deb" && echo "ok   lintian: no error" || { echo "FAIL lintian"; exit 1; }

export deb version
"$here/../../scripts/with-debian-root.sh" -- bash -c '
    in_root() { chroot "$DEBIAN_ROOT" env DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"; }
    id=com.example.tintgrabber
    cp "$deb" "$DEBIAN_ROOT/tmp/"
    in_root apt-get update -qq &&
        in_root apt-get install -y -qq --no-install-recommends "/tmp/${deb##*/}" >/dev/null ||
        { echo "FAIL apt-get install ./${deb##*/}"; exit 1; }
    [ "$(in_root /usr/bin/tintgrabber --version)" = "$version" ] &&
        echo "ok   /usr/bin/tintgrabber --version says \"$version\"" ||
        { echo "FAIL /usr/bin/tintgrabber --version"; exit 1; }
    files=$(in_root dpkg -L tintgrabber)
    missing=$(for file in /usr/bin/tintgrabber /usr/share/applications/$id.desktop \
        /usr/share/metainfo/$id.metainfo.xml /usr/share/doc/tintgrabber/copyright \
        /usr/share/doc/tintgrabber/changelog.Debian.gz \
        /usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$id.png; do
        grep -qx "$file" <<<"$files" && [ -e "$DEBIAN_ROOT$file" ] || echo "$file"; done)
    [ -z "$missing" ] && echo "ok   the program, launcher entry, icons, AppStream file and copyright installed" ||
        { echo "FAIL not installed: $missing"; exit 1; }
    in_root apt-get remove -y -qq tintgrabber >/dev/null || { echo "FAIL apt-get remove"; exit 1; }
    left=$(while read -r file; do
        [ -e "$DEBIAN_ROOT$file" ] && [ ! -d "$DEBIAN_ROOT$file" ] && echo "$file"; done <<<"$files")
    [ -z "$left" ] && ! in_root dpkg-query -W -f="\${db:Status-Status}\n" tintgrabber 2>/dev/null | grep -qv not-installed &&
        [ ! -d "$DEBIAN_ROOT/usr/share/doc/tintgrabber" ] &&
        echo "ok   apt-get remove leaves nothing of it" || { echo "FAIL left after remove: $left"; exit 1; }
'
