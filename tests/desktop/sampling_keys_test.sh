#!/usr/bin/env bash
# sampling_keys_test.sh PROGRAM LAYOUT_TOOL PAINT_ROOT CHECK_MAGNIFIER POINTER_STATE [FACTOR NUM DEN]
# Over a known picture, optionally with QT_SCALE_FACTOR FACTOR (= NUM / DEN):
# Escape during a drag undoes it and Enter keeps its colour, neither closing
# the window, and both give back the pointer and the cursor. A click in either
# area samples without a button until the next click, which keeps the colour
# under it. The arrow keys move the pointer by one physical pixel,
# ten with Shift, and sample there; other keys do nothing while sampling.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
[ -n "${6:-}" ] && export QT_SCALE_FACTOR=$6
sampler_setup "$1" "$2" "$3" "$4" "${7:-1}" "${8:-1}"
pointer_state=$5

# sampling_is yes|no: the pointer grabbed and the sampling cursor (32 x 32,
# hot spot in the middle), or neither.
sampling_is() {
    local state
    state=$("$pointer_state")
    case $1 in
    yes) [ "$state" = "grabbed 32x32+15+15" ] ;;
    no) [[ $state == free* && $state != *32x32+15+15 ]] ;;
    esac
}
# press_and_move AREA SX SY: the button held from AREA to screen point (SX, SY).
press_and_move() {
    # shellcheck disable=SC2046
    xdotool mousemove $(point_at "$1") mousedown 1 sleep 0.05 mousemove "$2" "$3"
    eventually "pressed: the sampling cursor" sampling_is yes
    # Keys that overtook the move would test nothing.
    check_magnifier "moved to ($2, $3): sampled" 3 "$2" "$3"
}
# Over the window the cursor is the window's own again once sampling ended.
cursor_back() {
    # shellcheck disable=SC2046
    xdotool mousemove $(point_at BACKGROUND)
    eventually "$1: over the window, its own cursor again" sampling_is no
}
hex_is() { assert_eq "$1" "#$(pattern_hex "$2" "$3")" "$(copied 3)"; }

# Clear of every point sampled, at both factors.
start_program 420 60
read_at 100 100

press_and_move IDC_ZOOMAREA 700 500
xdotool key Escape
eventually "Escape mid-drag: the pointer and the cursor given back" sampling_is no
xdotool mouseup 1
cursor_back "Escape mid-drag"
check_texts 100 100
check_magnifier "Escape mid-drag: the magnifier from before the press" 3 100 100

# The focus is on a copy button, which would take Enter as a click.
press_and_move IDC_COLORAREA 700 500
xdotool key Return
eventually "Enter mid-drag: sampling ends" sampling_is no
xdotool mouseup 1
hex_is "Enter mid-drag keeps the last colour" 700 500

# shellcheck disable=SC2046
xdotool mousemove $(point_at IDC_COLORAREA) click 1
eventually "a click in the swatch: sampling with no button held" sampling_is yes
xdotool mousemove 300 200 sleep 0.05 mousemove 310 210 sleep 0.05 click 1
eventually "the next click ends it" sampling_is no
cursor_back "the ending click"
hex_is "the next click keeps the colour under it" 310 210

# The list has the focus, yet the arrows move the pointer, not the zoom.
# shellcheck disable=SC2046
xdotool mousemove $(point_at IDC_ZOOMAREA) click 5
press_and_move IDC_ZOOMAREA 700 600
xdotool key Right Down shift+Right shift+Down Right Left a Tab space
eventually "the arrows end at (711, 611)" eval '[ "$(xdotool getmouselocation --shell | head -n 2 | tr "\n" " ")" = "X=711 Y=611 " ]'
check_magnifier "a nudge samples where it ends" 3 711 611
xdotool mouseup 1
assert_eq "the arrows left the zoom alone" "" "$(tg_setting zom)"
check_texts 711 611
tg_close Escape
tg_finish
