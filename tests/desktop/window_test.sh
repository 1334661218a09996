#!/usr/bin/env bash
# window_test.sh PROGRAM BASE_UNITS_TOOL
# The window maps with the template's size (273 × 58 dialog units), cannot be
# resized or maximised, and is a normal window that task bars list. A second
# instance runs beside the first.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
read -r bx by < <("$2")

tg_start "$program"
wid=$(tg_wait_window "$TG_PID" Tintgrabber) || tg_finish

width=$(tg_mul_div 273 "$bx" 4)
height=$(tg_mul_div 58 "$by" 8)
assert_eq "client size is 273 x 58 dialog units at base units $bx x $by" \
    "$width $height" "$(tg_window_size "$wid")"
assert_eq "not resizable: minimum and maximum size both the window's" \
    "$width $height $width $height" "$(tg_size_hints "$wid")"
assert_eq "normal window type" "_NET_WM_WINDOW_TYPE_NORMAL" "$(tg_prop "$wid" _NET_WM_WINDOW_TYPE)"
assert_eq "owned by no other window" "" "$(tg_prop "$wid" WM_TRANSIENT_FOR)"
actions=$(tg_prop "$wid" _NET_WM_ALLOWED_ACTIONS)
assert_true "window manager offers neither resize nor maximise" \
    eval '! grep -q -e _NET_WM_ACTION_RESIZE -e _NET_WM_ACTION_MAXIMIZE <<<"$actions"'
assert_eq "title" '"Tintgrabber"' "$(tg_prop "$wid" _NET_WM_NAME)"

first=$TG_PID
tg_start "$program"
if second=$(tg_wait_window "$TG_PID" Tintgrabber); then
    assert_true "a second instance maps its own window beside the first" \
        eval '[ "$second" != "$wid" ] && kill -0 "$first"'
fi

tg_finish
