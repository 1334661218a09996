#!/usr/bin/env bash
# with-kde.sh -- COMMAND [ARG]...
# Runs COMMAND on a private headless KDE Plasma desktop (kwin_wayland) of
# 1280 x 800 with XWayland and the screenshot portal with KDE's backend, as
# scripts/desktop-common.sh describes, all as root. The backend saves each
# screenshot in $HOME/Pictures first, which is there at the start. Exports
# WAYLAND_DISPLAY, DISPLAY (XWayland), DBUS_SESSION_BUS_ADDRESS,
# XDG_RUNTIME_DIR, XDG_CURRENT_DESKTOP and HOME. Exits 77 where it cannot run
# (not root, or kwin_wayland missing), else with the command's status.
set -euo pipefail
# shellcheck source=scripts/desktop-common.sh
. "$(dirname "$0")/desktop-common.sh"
desktop_enter with-kde.sh kwin_wayland "$@"
[ "${1:-}" = -- ] && shift
desktop_prepare
export XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=wayland
mkdir -p "$HOME/Pictures"

# The installed binary carries a file capability that a container may not
# grant, so that it does not start at all; a plain copy runs.
cp /usr/bin/kwin_wayland /tmp/kwin_wayland
# Its first program learns XWayland's display name.
printf '#!/bin/sh\necho "$DISPLAY" >/tmp/display\n' >/tmp/tell-display && chmod +x /tmp/tell-display
/tmp/kwin_wayland --virtual --xwayland --width 1280 --height 800 --socket wayland-kde \
    --no-lockscreen /tmp/tell-display >>"$log" 2>&1 &
desktop_wait_for 30 test -s /tmp/display || desktop_fail "kwin_wayland did not start"
export WAYLAND_DISPLAY=wayland-kde DISPLAY
DISPLAY=$(cat /tmp/display)
backend=$(ls /usr/lib/*/libexec/xdg-desktop-portal-kde | head -n 1)
QT_QPA_PLATFORM=wayland "$backend" >>"$log" 2>&1 &
desktop_portal org.freedesktop.impl.portal.desktop.kde
desktop_run "$@"
