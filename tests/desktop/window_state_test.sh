#!/usr/bin/env bash
# window_state_test.sh PROGRAM BASE_UNITS_TOOL
# The always-on-top box switches the window manager's above state and is
# stored, so a restart comes up on top; the window turns translucent while
# another window is active and opaque again when it comes back, on top or not.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
read -r bx by < <("$2")

TRANSLUCENT=1347440720 # 80/255 as the 32-bit opacity Qt writes

# Opaque: no opacity property, or the full 32-bit one.
opaque() {
    case "$(tg_prop "$1" _NET_WM_WINDOW_OPACITY)" in
    "" | 4294967295) return 0 ;;
    *) return 1 ;;
    esac
}

above() {
    tg_prop "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE
}

not_above() {
    ! above "$1"
}

# The box's indicator, at the left end of its rectangle (213, 2, 60, 10).
read -r box_x box_y box_w box_h < <(tg_units_rect "$bx" "$by" 213 2 60 10)
box_x=$((box_x + 6))
box_y=$((box_y + box_h / 2))

tg_start "$program"
pid=$TG_PID
wid=$(tg_wait_window "$pid" Tintgrabber) || tg_finish
assert_true "first run: not on top" not_above "$wid"
tg_activate "$wid"
assert_true "active: opaque" opaque "$wid"

# Another window takes the focus, then ours gets it back.
tg_start xmessage -geometry +0+0 "another window"
other=
tg_wait_for 5 eval 'other=$(xdotool search --onlyvisible --class Xmessage 2>/dev/null | head -n 1); [ -n "$other" ]' ||
    tg_fail "no xmessage window"
if [ -n "$other" ]; then
    tg_activate "$other"
    tg_wait_prop "$wid" _NET_WM_WINDOW_OPACITY "$TRANSLUCENT" "another window active: translucent"
    tg_activate "$wid"
    assert_true "active again: opaque" tg_wait_for 3 opaque "$wid"
fi

tg_click "$wid" "$box_x" "$box_y"
assert_true "checking the box puts the window on top" tg_wait_for 3 above "$wid"
assert_eq "the choice is stored at once" 1 "$(tg_setting aot)"
if [ -n "$other" ]; then
    tg_activate "$other"
    tg_wait_prop "$wid" _NET_WM_WINDOW_OPACITY "$TRANSLUCENT" "on top, another window active: translucent"
    tg_activate "$wid"
    assert_true "on top, active again: opaque" tg_wait_for 3 opaque "$wid"
fi

tg_key "$wid" Escape
tg_wait_exit "$pid" 10 || tg_fail "Escape did not end the program"
assert_eq "nothing else stored at close" 1 "$(tg_setting aot)"

tg_start "$program"
wid=$(tg_wait_window "$TG_PID" Tintgrabber) || tg_finish
assert_true "after a restart the window comes up on top" tg_wait_for 3 above "$wid"
tg_click "$wid" "$box_x" "$box_y"
assert_true "clearing the box takes it off the top" tg_wait_for 3 not_above "$wid"
assert_eq "the cleared box is stored" 0 "$(tg_setting aot)"
assert_true "the same window all along" eval 'xwininfo -id "$wid" >/dev/null 2>&1'

tg_finish
