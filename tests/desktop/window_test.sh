#!/usr/bin/env bash
# window_test.sh PROGRAM BASE_UNITS_TOOL
# The window: 273 x 58 dialog units, not resizable, a normal titled window; a
# second instance runs beside the first. Always on top switches the window
# manager's above state in place, is stored at once and restored at start.
# The window turns translucent while another window is active. Escape, Exit,
# the close box (alt+F4 and the close command) and Enter in a text field each
# end the process with status 0.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
read -r bx by < <("$2")
TRANSLUCENT=1347440720 # 80/255 as the 32-bit opacity Qt writes
read -r exit_x exit_y < <(tg_units_centre "$bx" "$by" 253 44 17 13)
# The always-on-top box's indicator, at the left end of its rectangle.
read -r box_x box_y _ box_h < <(tg_units_rect "$bx" "$by" 213 2 60 10)
box_x=$((box_x + 6)) box_y=$((box_y + box_h / 2))

above() { tg_prop "$wid" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
# Opaque: no opacity property, or the full one.
opaque() { [[ "$(tg_prop "$wid" _NET_WM_WINDOW_OPACITY)" =~ ^(|4294967295)$ ]]; }

# close_by HOW: ends the program the way HOW names, expecting status 0.
close_by() {
    case "$1" in
    Exit) tg_activate "$wid" && tg_click "$wid" "$exit_x" "$exit_y" ;;
    close) wmctrl -i -c "$wid" ;;
    *) tg_key "$wid" $1 ;;
    esac
    tg_wait_exit "$pid" || { tg_fail "$1: the process still runs"; return; }
    assert_eq "$1 ends the process" 0 "$TG_STATUS"
}

tg_open
w=$(tg_mul_div 273 "$bx" 4) h=$(tg_mul_div 58 "$by" 8)
assert_eq "client size 273 x 58 dialog units at base units $bx x $by" "$w $h" \
    "$(xwininfo -id "$wid" | awk '/^  Width:/ { w = $2 } /^  Height:/ { print w, $2 }')"
assert_eq "not resizable: minimum and maximum size both the window's" "$w $h $w $h" \
    "$(xprop -id "$wid" WM_NORMAL_HINTS | awk '/minimum size:/ { m = $5 " " $7 } /maximum size:/ { print m, $5, $7 }')"
assert_eq "a normal window of its own" "_NET_WM_WINDOW_TYPE_NORMAL|" \
    "$(tg_prop "$wid" _NET_WM_WINDOW_TYPE)|$(tg_prop "$wid" WM_TRANSIENT_FOR)"
assert_eq "title" '"Tintgrabber"' "$(tg_prop "$wid" _NET_WM_NAME)"
assert_true "first run: not on top" eval '! above'

first_pid=$pid first_wid=$wid
tg_open
assert_true "a second instance maps its own window" eval '[ "$wid" != "$first_wid" ] && kill -0 "$first_pid"'
close_by close
pid=$first_pid wid=$first_wid

tg_start xmessage -geometry +0+0 "another window"
other=$TG_PID
# xmessage sets no _NET_WM_PID.
tg_wait_for 5 eval 'other_wid=$(xdotool search --onlyvisible --class Xmessage | head -n 1); [ -n "$other_wid" ]'
tg_activate "$other_wid"
eventually "another window active: translucent" eval '[ "$(tg_prop "$wid" _NET_WM_WINDOW_OPACITY)" = $TRANSLUCENT ]'
tg_activate "$wid"
eventually "active again: opaque" opaque
kill "$other"

tg_click "$wid" "$box_x" "$box_y"
eventually "checking the box puts the window on top" above
assert_eq "and is stored at once" 1 "$(tg_setting aot)"
close_by Escape

tg_open
eventually "a restart comes up on top" above
tg_click "$wid" "$box_x" "$box_y"
eventually "clearing the box takes the window off the top" eval '! above'
assert_eq "and is stored at once" 0 "$(tg_setting aot)"
assert_true "the same window all along" eval 'xwininfo -id "$wid" >/dev/null 2>&1'
close_by Exit

# The focus starts on the first copy button; Tab takes it to the field below.
for how in alt+F4 "Tab Return"; do
    tg_open
    close_by "$how"
done
tg_finish
