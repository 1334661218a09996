#!/usr/bin/env bash
# sampling_test.sh PROGRAM BASE_UNITS_TOOL PAINT_ROOT CHECK_MAGNIFIER
# With a known picture on the screen: drags from either area read the pixel
# under the pointer, also at the screen's four corners, and the copy buttons
# put its six texts on the clipboard; the magnifier shows the screen around it
# pixel for pixel, at x3 and, after the wheel chose x10, at x10; the zoom
# survives a restart.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sampling_lib.sh"
sampler_setup "$1" "$2" "$4"
paint_root=$3

"$paint_root" --pattern || { tg_fail "could not paint the root window"; tg_finish; }
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
read -r list_cx list_cy < <(tg_units_centre "$bx" "$by" 212 44 39 12)

# Clear of the corners, which the drags below sample.
start_program 420 330
check_magnifier "before any sample: a plain square with the cross-hair" 3 none

last=$((screen_w - 1))
bottom=$((screen_h - 1))
drag 0 0
check_texts 0 0
check_magnifier "x3 at the top-left corner, button face beyond the screen" 3 0 0
drag "$last" 0 swatch
check_texts "$last" 0
drag 0 "$bottom"
check_texts 0 "$bottom"
drag "$last" "$bottom" swatch
check_texts "$last" "$bottom"
drag 1100 620 swatch
check_texts 1100 620
check_magnifier "x3 in the middle of the screen" 3 1100 620

# The first turn over the window only gives the list the focus; seven more
# step it from x3 to x10, redrawing the same capture.
xdotool mousemove $((ox + list_cx)) $((oy + list_cy)) click 5 \
    mousemove $((ox + zoom_cx)) $((oy + zoom_cy)) click --repeat 7 --delay 20 5
_zoom_is() { [ "$(tg_setting zom)" = "$1" ]; }
assert_true "the wheel chose x10 and it was stored" tg_wait_for 3 _zoom_is 7
check_magnifier "x10 redraws the last capture" 10 1100 620
stop_program

start_program 420 330
drag 200 150
check_magnifier "after a restart the stored x10 applies" 10 200 150
stop_program
assert_eq "the zoom is still x10" 7 "$(tg_setting zom)"

tg_finish
