#!/usr/bin/env bash
# scripts/windows/qt.sh
# Builds Qt for 64-bit Windows from Debian's own qt6-base source (the same
# version as the host Qt, whose tools serve as the host tools) and prints the
# install prefix. The result is cached under ~/.cache/tintgrabber/, in a folder
# named by the Qt version and a hash of the flags, compiler and toolchain file;
# a cache from other flags is simply another folder. The build happens in a
# work folder and is renamed into place only when installed completely, so an
# interrupted build is never taken for a finished one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${TINTGRABBER_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tintgrabber}
toolchain=$here/mingw.cmake
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
flags=(-release -shared -xplatform win32-g++
    -device-option CROSS_COMPILE=x86_64-w64-mingw32- -qt-host-path /usr
    -nomake examples -nomake tests -nomake benchmarks
    -no-dbus -no-opengl -no-feature-vulkan -no-feature-sql -no-feature-network
    -no-feature-xml -no-feature-concurrent -no-feature-printsupport
    # Debian's tarball lacks src/3rdparty/wintab
    -no-feature-tabletevent
    # qwindows.dll does not link with Direct2D off and DirectWrite on
    -no-feature-direct2d -no-feature-directwrite
    -qt-zlib -qt-pcre -qt-libpng -no-libjpeg -qt-freetype -qt-harfbuzz -no-icu -no-zstd)
key=$( (echo "$version" "${flags[*]}"; cat "$toolchain"
    x86_64-w64-mingw32-g++-posix --version | head -1) | sha256sum | cut -c1-12)
prefix=$cache/qt-${version%%+*}-win64-$key

mkdir -p "$cache"
# One build per key at a time; a second caller waits and then reuses it.
exec 9>"$prefix.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi
rm -rf "$prefix" "$prefix".work.*    # an unfinished or abandoned attempt

work=$prefix.work.$$
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/build"
echo "qt.sh: building Qt $version for Windows into $prefix (about 25 minutes on 2 cores)" >&2

# Debian's source through a source list of our own, leaving the machine's alone.
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
cat >"$work/apt/sources.list" <<EOF
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main
EOF
apt=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache"
    -o APT::Sandbox::User="$(id -un)")
apt-get "${apt[@]}" -q update >&2
(cd "$work" && apt-get "${apt[@]}" -q source "qt6-base=$version" >&2)
src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)

cd "$work/build"
nice -n 10 "$src/configure" -prefix "$prefix" "${flags[@]}" -- -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >&2
nice -n 10 cmake --build . --parallel "${TINTGRABBER_JOBS:-2}" >&2
DESTDIR=$work/stage cmake --install . >&2
printf '%s\n' "$version" "${flags[*]}" >"$work/stage$prefix/.complete"
mv "$work/stage$prefix" "$prefix"
echo "$prefix"
