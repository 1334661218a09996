#!/usr/bin/env bash
# wayland_test.sh PROGRAM LAYOUT_TOOL PATTERN_PNG CHECK_MAGNIFIER
# On a sway desktop (scripts/with-sway.sh) whose background is the known
# picture: started with both WAYLAND_DISPLAY and DISPLAY set, the program runs
# through XWayland; each drag samples the desktop's screenshot, taken through
# the real portal at the press: the six fields and the magnifier show the
# picture exactly, and no screenshot file stays behind.
set -uo pipefail
bus=$DBUS_SESSION_BUS_ADDRESS
. "$(dirname "$0")/lib.sh"
export DBUS_SESSION_BUS_ADDRESS=$bus
unset QT_QPA_PLATFORM
# Nothing to paint on X11: the desktop's background is the pattern.
sampler_setup "$1" "$2" true "$4"
# XWayland's root shows only X11 windows; the compositor shows all.
tg_grab_screen() { grim -t ppm "$1"; }
"$3" /tmp/pattern.png 1280 800 && chmod 644 /tmp/pattern.png
swaymsg -q output HEADLESS-1 bg /tmp/pattern.png stretch
eventually "the background shows the pattern" eval '[ "$(_screen_pixel 1000 700)" = "$(pattern_hex 1000 700)" ]'

# The portal's answers, as the bus carries them.
answers=/tmp/answers
dbus-monitor --session "type=signal,interface=org.freedesktop.portal.Request" >"$answers" 2>&1 &
TG_PIDS+=($!)
_answered() { [ "$(grep -c 'member=Response' "$answers")" -gt "$1" ]; }

# The desktop's only pointer is the VNC server's (see with-sway.sh): a shared
# client without a password, whose replies go unread, then a pointer event
# (type 5, the buttons held, X, Y) a move.
exec 5> >(exec socat - UNIX-CONNECT:/tmp/vnc >/dev/null)
TG_PIDS+=($!)
printf 'RFB 003.008\n\001\001' >&5
tg_pointer() { printf "$(printf '\\%03o' 5 "$3" $(($1 >> 8)) $(($1 & 255)) $(($2 >> 8)) $(($2 & 255)))" >&5 && sleep 0.05; }
# The desktop draws the pointer into its screenshots, so a drag's pointer
# moves on only once the picture was taken at the press.
seen=0
tg_pressed() {
    tg_wait_for 5 _answered "$seen" || tg_fail "the portal did not answer"
    seen=$(grep -c 'member=Response' "$answers")
}

start_program 420 330
for point in "1279 0 swatch" "0 799" "5 5"; do
    # shellcheck disable=SC2086
    read_at $point
done
drag 1100 620 swatch
check_texts 1100 620
check_magnifier "x3 from the screenshot" 3 1100 620
assert_true "the screenshot's file is gone" test ! -e /tmp/out.png
tg_close Escape
tg_finish
