#!/usr/bin/env bash
# with-gnome.sh -- COMMAND [ARG]...
# Runs COMMAND on a private headless GNOME desktop (gnome-shell) of 1280 x 800
# with XWayland and the screenshot portal with GNOME's backend, as
# scripts/desktop-common.sh describes. The shell's settings come from a
# keyfile: /tmp/home/.config/glib-2.0/settings/keyfile, which the shell
# watches. Exports WAYLAND_DISPLAY, DISPLAY (XWayland), XAUTHORITY,
# DBUS_SESSION_BUS_ADDRESS, XDG_RUNTIME_DIR, XDG_CURRENT_DESKTOP and
# GNOME_KEYFILE. Exits 77 where it cannot run (not root, or gnome-shell
# missing), else with the command's status.
set -euo pipefail
# shellcheck source=scripts/desktop-common.sh
. "$(dirname "$0")/desktop-common.sh"
desktop_enter with-gnome.sh gnome-shell "$@"
[ "${1:-}" = -- ] && shift
desktop_prepare
export XDG_CURRENT_DESKTOP=GNOME

# The shell takes a /run/systemd as a sign to ask systemd-logind, which is
# not there, for its session; without it, it asks nobody.
[ -d /run/systemd ] && mount -t tmpfs tmpfs /run/systemd
# It wants a system bus all the same.
dbus-daemon --nofork --config-file="$root/tests/private_bus.conf" \
    --address=unix:path=/tmp/system-bus >>"$log" 2>&1 &
desktop_wait_for 5 test -S /tmp/system-bus || desktop_fail "the system bus did not start"
export GNOME_KEYFILE=/tmp/home/.config/glib-2.0/settings/keyfile
as_nobody mkdir -p "$(dirname "$GNOME_KEYFILE")"
as_nobody DBUS_SYSTEM_BUS_ADDRESS=unix:path=/tmp/system-bus GSETTINGS_BACKEND=keyfile \
    XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland \
    gnome-shell --wayland --headless --virtual-monitor 1280x800 --wayland-display wayland-gnome \
    >>"$log" 2>&1 &
export WAYLAND_DISPLAY=$desktop_runtime/wayland-gnome
desktop_wait_for 30 grep -q 'Using public X11 display' "$log" || desktop_fail "gnome-shell did not start"
DISPLAY=$(sed -n -e 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$log" | head -n 1)
export DISPLAY XAUTHORITY
XAUTHORITY=$(ls "$desktop_runtime"/.mutter-Xwaylandauth.* 2>/dev/null | head -n 1)
shell_property() {
    dbus-send --session --print-reply --dest=org.gnome.Shell /org/gnome/Shell \
        "org.freedesktop.DBus.Properties.$1" string:org.gnome.Shell string:OverviewActive "${@:2}" 2>/dev/null
}
desktop_wait_for 20 shell_property Get >/dev/null || desktop_fail "the shell did not start"
/usr/libexec/xdg-permission-store >>"$log" 2>&1 &
/usr/libexec/xdg-desktop-portal-gnome >>"$log" 2>&1 &
desktop_portal org.freedesktop.impl.portal.PermissionStore org.freedesktop.impl.portal.desktop.gnome \
    org.gnome.Shell.Portal
# The shell opens its overview over the background once it has started.
overview_closed() {
    shell_property Set variant:boolean:false >/dev/null && sleep 0.3 &&
        shell_property Get | grep -q 'boolean false'
}
desktop_wait_for 20 overview_closed || desktop_fail "the overview stays open"
desktop_run "$@"
