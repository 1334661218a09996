#!/usr/bin/env bash
# window_test.sh PROGRAM LAYOUT_TOOL
# The window: the size its template gives, not resizable, a normal window (its title
# is the one tg_open waits for); a second instance runs beside the first.
# Always on top switches the window manager's above state in place and is
# stored at once. The window turns translucent while another window is active.
# Escape, Exit, the close box (alt+F4 and the close command) and Enter in a
# text field each end the process with status 0. After one instance stores a
# zoom, a repaint of the other's magnifier selects it in its list and stores
# nothing. The zoom list drops down under 250 pixels with either style here.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1 RATIO_NUM=1 RATIO_DEN=1 conf=$XDG_CONFIG_HOME/Tintgrabber/tintgrabber.conf
tg_layout "$2"

tg_open
read -r _ _ w h < <(rect_of IDD_SAMPLER)
assert_eq "the template's client size" "$w $h" \
    "$(xwininfo -id "$wid" | awk '/^  Width:/ { w = $2 } /^  Height:/ { print w, $2 }')"
assert_eq "not resizable: minimum and maximum size both the window's" "$w $h $w $h" \
    "$(xprop -id "$wid" WM_NORMAL_HINTS | awk '/minimum size:/ { m = $5 " " $7 } /maximum size:/ { print m, $5, $7 }')"
assert_eq "a normal window of its own" "_NET_WM_WINDOW_TYPE_NORMAL|" \
    "$(tg_prop "$wid" _NET_WM_WINDOW_TYPE)|$(tg_prop "$wid" WM_TRANSIENT_FOR)"
assert_true "first run: not on top" tg_on_top_is 0

first_pid=$pid first_wid=$wid
tg_open
assert_true "a second instance maps its own window" eval '[ "$wid" != "$first_wid" ] && kill -0 "$first_pid"'
second=$wid && xdotool windowmove --sync "$second" 0 500
# From the first copy button back past Exit to the list.
for wid in "$first_wid" "$second"; do tg_key "$wid" shift+Tab shift+Tab; done
tg_key "$first_wid" Down && tg_wait_for 3 eval '[ "$(tg_setting zom)" = 1 ]'
for step in "$second $first_wid 2" "$first_wid $second 3"; do
    read -r wid other zoom <<<"$step"
    before=$(stat -c '%i %y' "$conf") && read -r ox oy < <(tg_window_origin "$wid") && drag 900 700
    # Translucent once the other is active, it has handled the repaint before.
    tg_activate "$other" && tg_wait_for 3 eval '[ "$(tg_prop "$wid" _NET_WM_WINDOW_OPACITY)" = 1347440720 ]'
    assert_eq "the other's repaint stores nothing" "$before" "$(stat -c '%i %y' "$conf")"
    tg_key "$wid" Down
    eventually "its list followed: one down stores $zoom" eval '[ "$(tg_setting zom)" = $zoom ]'
done
wid=$second && tg_close close
pid=$first_pid wid=$first_wid

tg_start xmessage -geometry +0+0 "another window"
# xmessage sets no _NET_WM_PID.
tg_wait_for 5 eval 'other_wid=$(xdotool search --onlyvisible --class Xmessage | head -n 1); [ -n "$other_wid" ]'
tg_activate "$other_wid"
# 80/255 as the 32-bit opacity Qt writes.
eventually "another window active: translucent" eval '[ "$(tg_prop "$wid" _NET_WM_WINDOW_OPACITY)" = 1347440720 ]'
tg_activate "$wid"
# No opacity property, or the full one.
eventually "active again: opaque" eval '[[ "$(tg_prop "$wid" _NET_WM_WINDOW_OPACITY)" =~ ^(|4294967295)$ ]]'
kill "$TG_PID"

# Checking the box, then clearing it.
for on_top in 1 0; do
    tg_click_on_top_box
    eventually "the box switches the window: on top $on_top" tg_on_top_is $on_top
    assert_eq "and is stored at once" $on_top "$(tg_setting aot)"
done
assert_true "the same window all along" eval 'xwininfo -id "$wid" >/dev/null 2>&1'
tg_close Exit

for style in Fusion Windows; do
    QT_STYLE_OVERRIDE=$style tg_open
    # The closed list's top; its template's height includes the dropped list.
    read -r l t w _ < <(rect_of IDC_ZOOMLIST)
    tg_activate "$wid" && tg_click "$wid" $((l + w / 2)) $((t + 5))
    tg_wait_for 5 eval 'list=$(xdotool search --all --onlyvisible --pid "$pid" | grep -vx "$wid")'
    assert_true "$style: the list drops down under 250 pixels" \
        eval '[ "$(xwininfo -id "$list" | awk "/Height:/ { print \$2 }")" -lt 250 ]'
    xdotool key Escape && tg_close Escape
done

# The focus starts on the first copy button; Tab takes it to the field below.
for how in Escape alt+F4 "Tab Return"; do
    tg_open
    tg_close "$how"
done
tg_finish
