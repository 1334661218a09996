#!/usr/bin/env bash
# with-debian-root.sh -- COMMAND [ARG]...
# Runs COMMAND with DEBIAN_ROOT naming a throwaway Debian 12 (bookworm) root:
# a minbase system made once with debootstrap and kept in
# ~/.cache/tintgrabber/bookworm-minbase, seen through an overlay so that
# nothing a run does reaches the kept copy. /proc, /dev and the host's name
# servers are mounted in; downloaded packages are kept between runs in
# ~/.cache/tintgrabber/bookworm-apt. Everything is unmounted and removed when
# the command ends, whatever the way. Needs root and Debian's archive.
set -euo pipefail
[ "${1:-}" = -- ] && shift
[ $# -gt 0 ] || { echo "usage: with-debian-root.sh -- COMMAND..." >&2; exit 2; }
cache=${XDG_CACHE_HOME:-$HOME/.cache}/tintgrabber
base=$cache/bookworm-minbase
mirror=http://deb.debian.org/debian

mkdir -p "$cache" "$cache/bookworm-apt/partial"
# Kept only when complete: made under another name and renamed when done; two
# checkouts making it at once wait for each other.
exec 9>"$cache/bookworm-minbase.lock"
flock 9
if [ ! -d "$base" ]; then
    start=$(date +%s)
    rm -rf "$base.new"
    debootstrap --variant=minbase bookworm "$base.new" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
        { tail -20 "$cache/debootstrap.log" >&2; exit 1; }
    mv "$base.new" "$base"
    echo "with-debian-root.sh: made $base in $(($(date +%s) - start)) s" >&2
fi
flock -u 9

work=$(mktemp -d)
mounts=()
cleanup() {
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount -l "${mounts[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$work/upper" "$work/overlay-work" "$work/root"
mount -t overlay overlay -o "lowerdir=$base,upperdir=$work/upper,workdir=$work/overlay-work" \
    "$work/root"
mounts+=("$work/root")
root=$work/root
mount -t proc proc "$root/proc" && mounts+=("$root/proc")
mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev" && mounts+=("$root/dev")
mount --bind "$cache/bookworm-apt" "$root/var/cache/apt/archives" &&
    mounts+=("$root/var/cache/apt/archives")
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

export DEBIAN_ROOT=$root
status=0
"$@" || status=$?
exit "$status"
