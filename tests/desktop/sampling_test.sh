#!/usr/bin/env bash
# sampling_test.sh PROGRAM BASE_UNITS_TOOL PAINT_ROOT CHECK_MAGNIFIER
# Over a known picture: drags from either area read the pixel under the
# pointer, the four corners included, and the six copy buttons copy its texts;
# the magnifier shows the screen around it pixel for pixel, at x3 and, once
# the wheel chose x10, at x10, which a restart keeps.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
sampler_setup "$1" "$2" "$3" "$4"
read -r last bottom < <(xdotool getdisplaygeometry)
last=$((last - 1)) bottom=$((bottom - 1))

# Clear of the corners, which the drags sample.
start_program 420 330
check_magnifier "before any sample: a plain square with the cross-hair" 3 none
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
zoom_to_x10
check_magnifier "x10 redraws the last capture" 10 1100 620
stop_program

start_program 420 330
drag 200 150
check_magnifier "after a restart the stored x10 applies" 10 200 150
stop_program
tg_finish
