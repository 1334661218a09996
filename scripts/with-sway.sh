#!/usr/bin/env bash
# with-sway.sh -- COMMAND [ARG]...
# Runs COMMAND on a private headless sway desktop of 1280 x 800 with XWayland,
# a virtual pointer (wayvnc's, driven with "swaymsg seat - cursor ..."), a
# private session bus, and the screenshot portal (xdg-desktop-portal with its
# wlroots backend, which shoots with grim into /tmp/out.png, and the GTK one
# for the Access interface it needs). Everything runs in new PID, mount
# (a /tmp of its own) and network namespaces, so that nothing outlives the
# command and nothing meets another desktop's files or sockets. sway refuses
# to run as root, so it and wayvnc run as the existing user nobody. Exports
# WAYLAND_DISPLAY, DISPLAY (XWayland), SWAYSOCK, DBUS_SESSION_BUS_ADDRESS,
# XDG_RUNTIME_DIR and XDG_CURRENT_DESKTOP. Exits 77 where it cannot run (not
# root, or sway missing), else with the command's status.
set -euo pipefail

if [ -z "${TG_IN_SWAY_NAMESPACE:-}" ]; then
    [ "$(id -u)" = 0 ] && command -v sway >/dev/null || {
        echo "with-sway.sh: needs root and sway" >&2
        exit 77
    }
    exec env TG_IN_SWAY_NAMESPACE=1 unshare --pid --fork --kill-child --mount-proc --mount \
        --net --propagation private -- "$0" "$@"
fi

[ "${1:-}" = -- ] && shift

# A checkout under /tmp (where a CI job may clone) stays in sight through a
# descriptor opened before the private /tmp hides it.
root=$(cd "$(dirname "$0")/.." && pwd -P)
exec 9<"$root"
mount -t tmpfs -o mode=1777 tmpfs /tmp
if [[ $root == /tmp/* ]]; then
    mkdir -p "$root" && mount --no-canonicalize --bind /proc/self/fd/9 "$root"
fi
exec 9<&-
ip link set lo up 2>/dev/null || true
# sway's runtime folder is nobody's, the rest's root's.
export XDG_RUNTIME_DIR=/tmp/runtime XDG_CURRENT_DESKTOP=sway
sway_runtime=/tmp/sway-runtime
mkdir -m 700 "$XDG_RUNTIME_DIR" "$sway_runtime" /tmp/home
chown nobody: "$sway_runtime" /tmp/home
log=/tmp/with-sway.log
as_nobody() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups env -i HOME=/tmp/home \
        XDG_RUNTIME_DIR="$sway_runtime" PATH=/usr/bin:/bin "$@"
}
fail() { echo "with-sway.sh: $*" >&2 && cat "$log" >&2 && exit 1; }

cat >/tmp/sway.config <<CONFIG
output HEADLESS-1 resolution 1280x800 position 0 0 bg #808080 solid_color
xwayland enable
# X11 windows float where they ask to be, as on a stacking desktop.
for_window [shell="xwayland"] floating enable
seat seat0 xcursor_theme default 24
# The tests and the program run as root.
exec sh -c "xhost +si:localuser:root && echo \$DISPLAY >$sway_runtime/display"
CONFIG
as_nobody WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c /tmp/sway.config >>"$log" 2>&1 &
for _ in $(seq 100); do
    [ -s "$sway_runtime/display" ] && ls "$sway_runtime"/sway-ipc.* >/dev/null 2>&1 && break
    sleep 0.05
done
[ -s "$sway_runtime/display" ] || fail "sway did not start"
SWAYSOCK=$(ls "$sway_runtime"/sway-ipc.*)
WAYLAND_DISPLAY=$sway_runtime/$(cd "$sway_runtime" && ls wayland-* | grep -v lock | head -n 1)
DISPLAY=$(cat "$sway_runtime/display")
export SWAYSOCK WAYLAND_DISPLAY DISPLAY

# Headless, the seat has no pointer until a virtual one comes.
as_nobody WAYLAND_DISPLAY="$WAYLAND_DISPLAY" wayvnc --unix-socket /tmp/vnc >>"$log" 2>&1 &
for _ in $(seq 100); do
    swaymsg -t get_seats 2>/dev/null | grep -q '"type": "pointer"' && break
    sleep 0.05
done
swaymsg -t get_seats | grep -q '"type": "pointer"' || fail "no virtual pointer"

export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
dbus-daemon --nofork --config-file="$(dirname "$0")/../tests/private_bus.conf" \
    --address="$DBUS_SESSION_BUS_ADDRESS" >>"$log" 2>&1 &
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/bus" ] && break; sleep 0.05; done
pipewire >>"$log" 2>&1 &
# The wlroots backend gives up at start without PipeWire.
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break; sleep 0.05; done
/usr/libexec/xdg-desktop-portal-wlr >>"$log" 2>&1 &
/usr/libexec/xdg-desktop-portal-gtk >>"$log" 2>&1 &
/usr/libexec/xdg-desktop-portal >>"$log" 2>&1 &
owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q true
}
for _ in $(seq 200); do
    owned org.freedesktop.portal.Desktop && owned org.freedesktop.impl.portal.desktop.gtk &&
        owned org.freedesktop.impl.portal.desktop.wlr && break
    sleep 0.05
done
owned org.freedesktop.portal.Desktop && owned org.freedesktop.impl.portal.desktop.wlr ||
    fail "the portal did not start"

set +e
"$@"
status=$?
[ "$status" = 0 ] || cat "$log" >&2
exit $status
