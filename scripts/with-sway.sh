#!/usr/bin/env bash
# with-sway.sh -- COMMAND [ARG]...
# Runs COMMAND on a private headless sway desktop of 1280 x 800 with XWayland,
# a virtual pointer (wayvnc's, driven with "swaymsg seat - cursor ..." or
# through the VNC socket /tmp/vnc), and the screenshot portal with its
# wlroots backend (which shoots with grim into /tmp/out.png, and the GTK one
# for the Access interface it needs), as scripts/desktop-common.sh describes.
# Exports WAYLAND_DISPLAY, DISPLAY (XWayland), SWAYSOCK,
# DBUS_SESSION_BUS_ADDRESS, XDG_RUNTIME_DIR and XDG_CURRENT_DESKTOP. Exits 77
# where it cannot run (not root, or sway missing), else with the command's
# status.
set -euo pipefail
# shellcheck source=scripts/desktop-common.sh
. "$(dirname "$0")/desktop-common.sh"
desktop_enter with-sway.sh sway "$@"
[ "${1:-}" = -- ] && shift
desktop_prepare
export XDG_CURRENT_DESKTOP=sway

cat >/tmp/sway.config <<CONFIG
output HEADLESS-1 resolution 1280x800 position 0 0 bg #808080 solid_color
xwayland enable
# X11 windows float where they ask to be, as on a stacking desktop.
for_window [shell="xwayland"] floating enable
seat seat0 xcursor_theme default 24
# The tests and the program run as root.
exec sh -c "xhost +si:localuser:root && echo \$DISPLAY >$desktop_runtime/display"
CONFIG
as_nobody WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c /tmp/sway.config >>"$log" 2>&1 &
sway_up() { [ -s "$desktop_runtime/display" ] && ls "$desktop_runtime"/sway-ipc.* >/dev/null 2>&1; }
desktop_wait_for 5 sway_up || desktop_fail "sway did not start"
SWAYSOCK=$(ls "$desktop_runtime"/sway-ipc.*)
WAYLAND_DISPLAY=$desktop_runtime/$(cd "$desktop_runtime" && ls wayland-* | grep -v lock | head -n 1)
DISPLAY=$(cat "$desktop_runtime/display")
export SWAYSOCK WAYLAND_DISPLAY DISPLAY

# Headless, the seat has no pointer until a virtual one comes.
as_nobody WAYLAND_DISPLAY="$WAYLAND_DISPLAY" wayvnc --unix-socket /tmp/vnc >>"$log" 2>&1 &
pointer_up() { swaymsg -t get_seats 2>/dev/null | grep -q '"type": "pointer"'; }
desktop_wait_for 5 pointer_up || desktop_fail "no virtual pointer"

pipewire >>"$log" 2>&1 &
# The wlroots backend gives up at start without PipeWire.
desktop_wait_for 5 test -S "$XDG_RUNTIME_DIR/pipewire-0"
/usr/libexec/xdg-desktop-portal-wlr >>"$log" 2>&1 &
/usr/libexec/xdg-desktop-portal-gtk >>"$log" 2>&1 &
desktop_portal org.freedesktop.impl.portal.desktop.wlr org.freedesktop.impl.portal.desktop.gtk
desktop_run "$@"
