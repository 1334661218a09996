#!/usr/bin/env bash
# sampling_test.sh PROGRAM BASE_UNITS_TOOL PAINT_ROOT CHECK_MAGNIFIER
# Over a known picture: drags from either area read the pixel under the
# pointer, the four corners included, and the six copy buttons copy its texts;
# the magnifier shows the screen around it pixel for pixel, at x3 and, once
# the wheel chose x10, at x10.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
sampler_setup "$1" "$2" "$3" "$4"

# Clear of the corners, which the drags sample.
start_program 420 330
check_magnifier "before any sample: a plain square with the cross-hair" 3 none
# The screen is 1280 x 800.
for point in "1279 0 swatch" "0 799" "1279 799 swatch" "0 0"; do
    # shellcheck disable=SC2086
    read_at $point
done
check_magnifier "x3 at the top-left corner, button face beyond the screen" 3 0 0
drag 1100 620 swatch
check_texts 1100 620
check_magnifier "x3 in the middle of the screen" 3 1100 620
zoom_to_x10
check_magnifier "x10 redraws the last capture" 10 1100 620
tg_close Escape
tg_finish
