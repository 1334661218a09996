#!/usr/bin/env bash
# zoom_list_test.sh PROGRAM BASE_UNITS_TOOL
# With each style Qt has here, the zoom list drops down under 250 pixels tall,
# showing the current item highlighted. Two instances share the stored zoom:
# after one changes it, a repaint of the other's magnifier selects the new item
# in its list and stores nothing.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1 RATIO_NUM=1 RATIO_DEN=1
read -r bx by < <("$2")
conf=$XDG_CONFIG_HOME/Tintgrabber/tintgrabber.conf
mkdir -p "${conf%/*}" && printf '[win]\nzom=27\n' >"$conf"

for style in Fusion Windows; do
    QT_STYLE_OVERRIDE=$style tg_open
    tg_activate "$wid" && tg_click "$wid" $(tg_units_centre "$bx" "$by" 212 44 39 12)
    tg_wait_for 5 eval 'list=$(xdotool search --all --onlyvisible --pid "$pid" | grep -vx "$wid")'
    assert_true "$style: drop-down under 250 pixels tall" \
        eval '[ "$(xwininfo -id "$list" | awk "/Height:/ { print \$2 }")" -lt 250 ]'
    # Qt's highlight, #308cc6, shaded by some styles.
    eventually "$style: x30 shown highlighted" \
        eval '[ "$(import -window "$list" -depth 8 txt:- | grep -ciE "#(2F8|308)...\b")" -gt 0 ]'
    xdotool key Escape # closes the list
    tg_close Escape
done

tg_open && first=$wid && tg_open && second=$wid
xdotool windowmove --sync "$first" 0 0 windowmove --sync "$second" 0 300
# From the first copy button, back past Exit to the list.
for wid in "$first" "$second"; do tg_key "$wid" shift+Tab shift+Tab; done
tg_key "$first" Up
eventually "one instance stores x29" eval '[ "$(tg_setting zom)" = 26 ]'
before=$(stat -c '%i %y' "$conf")
for instance in "$second 25 x28" "$first 24 x27"; do
    read -r wid step name <<<"$instance"
    read -r ox oy < <(tg_window_origin "$wid")
    drag 900 500
    # Turning translucent as the other becomes active, it has handled the
    # repaint before.
    tg_activate "$([ "$wid" = "$first" ] && echo "$second" || echo "$first")"
    eventually "inactive" eval '[ "$(tg_prop "$wid" _NET_WM_WINDOW_OPACITY)" = 1347440720 ]'
    [ "$wid" = "$second" ] && assert_eq "the other's repaint stores nothing" "$before" "$(stat -c '%i %y' "$conf")"
    tg_key "$wid" Up
    eventually "its list followed: one up from there is $name" eval '[ "$(tg_setting zom)" = $step ]'
done
tg_finish
