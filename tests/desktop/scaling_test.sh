#!/usr/bin/env bash
# scaling_test.sh PROGRAM BASE_UNITS_TOOL PAINT_ROOT CHECK_MAGNIFIER LIST_SCREENS FACTOR NUM DEN
# The program run as a user of a scaled desktop runs it, with QT_SCALE_FACTOR
# FACTOR (= NUM / DEN) in its environment, over a known picture: a drag reads
# the physical pixel under the pointer, as a screenshot shows it; the
# magnifier shows every physical pixel as a block of exactly z x z device
# pixels with the cross-hair around the sampled one, at x3 and at x10.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sampling_lib.sh"
export QT_SCALE_FACTOR=$6
sampler_setup "$1" "$2" "$4" "$7" "$8"
paint_root=$3
list_screens=$5

"$paint_root" --pattern || { tg_fail "could not paint the root window"; tg_finish; }
assert_eq "Qt scales the screen by $QT_SCALE_FACTOR" "0 0 1280 800 $QT_SCALE_FACTOR" \
    "$("$list_screens" 2>/dev/null)"

start_program 280 260
check_magnifier "before any sample: a plain square with the cross-hair" 3 none

# Multiples of 6 lie on whole logical pixels at both 1.5 and 2: every copy
# button copies the pattern's texts there.
for point in "1098 618" "0 0" "1278 798" "336 78"; do
    read -r x y <<<"$point"
    drag "$x" "$y"
    assert_eq "($x, $y): the screenshot shows the pattern" "$(pattern_hex "$x" "$y")" \
        "$(screen_pixel "$x" "$y")"
    check_texts "$x" "$y"
done
check_magnifier "x3 near the top: physical pixels" 3 336 78

# Qt hands pointer positions over rounded to whole logical pixels; the sample
# is still the physical pixel under the pointer wherever it lies between them,
# up to the screen's last column and row.
for point in "1101 619" "1279 799" "1 1" "335 77" "1100 617" "1279 0" "0 799"; do
    read -r x y <<<"$point"
    drag "$x" "$y"
    shown=$(screen_pixel "$x" "$y")
    assert_eq "($x, $y): the screenshot shows the pattern" "$(pattern_hex "$x" "$y")" "$shown"
    assert_eq "($x, $y): \"#HTML\" copies the pixel under the pointer" "#$shown" \
        "$(copied_hash_hex)"
done
drag 1101 619
check_magnifier "x3 between logical pixels: the cross-hair on the pointer's pixel" 3 1101 619
drag 1098 618 swatch
check_magnifier "x3: physical pixels in 3 x 3 blocks" 3 1098 618
drag 1278 798
check_magnifier "x3 at the corner: button face beyond the screen" 3 1278 798

# The first turn over the window only gives the list the focus; seven more
# step it from x3 to x10, redrawing the same capture.
xdotool mousemove $((ox + $(physical "$zoom_cx"))) $((oy + $(physical "$zoom_cy"))) \
    click --repeat 8 --delay 20 5
_zoom_is() { [ "$(tg_setting zom)" = "$1" ]; }
assert_true "the wheel chose x10" tg_wait_for 3 _zoom_is 7
check_magnifier "x10 redraws the last capture" 10 1278 798
drag 1098 618
check_magnifier "x10: physical pixels in 10 x 10 blocks" 10 1098 618
stop_program

tg_finish
