#!/usr/bin/env bash
# sampling_test.sh PROGRAM LAYOUT_TOOL PAINT_ROOT CHECK_MAGNIFIER [FACTOR NUM DEN]
# Over a known picture, optionally with QT_SCALE_FACTOR FACTOR (= NUM / DEN):
# drags from either area read the physical pixel under the pointer, also
# between logical pixels and at the four corners, and the six copy buttons
# copy its texts, after which only a focused field shows its selection. The
# magnifier shows the screen around it, each physical pixel as a block of
# exactly z x z device pixels with the cross-hair around the sampled one, and
# the button face beyond the screen: at x3 and, once the wheel chose x10, at
# x10.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
[ -n "${5:-}" ] && export QT_SCALE_FACTOR=$5
sampler_setup "$1" "$2" "$3" "$4" "${6:-1}" "${7:-1}"

# Clear of the corners, which the drags sample.
start_program 420 330
check_magnifier "before any sample: a plain square with the cross-hair" 3 none
# The screen is 1280 x 800. Qt hands pointer positions over rounded to whole
# logical pixels; multiples of 6 lie on them at every factor, the others
# between them.
for point in "1279 0 swatch" "0 799" "1279 799 swatch" "0 0 swatch" "1279 799" "1098 618" "1 1" \
    "335 77 swatch" "1100 617" "0 0"; do
    # shellcheck disable=SC2086
    read_at $point
done
check_magnifier "x3 at the top-left corner, button face beyond the screen" 3 0 0
read_at 1101 619
check_magnifier "x3 between logical pixels: the cross-hair on the pointer's pixel" 3 1101 619
drag 1278 798
check_magnifier "x3 at the bottom-right corner: button face beyond the screen" 3 1278 798
drag 1100 620 swatch
check_texts 1100 620
# The fields that show a selection, in Qt's highlight colour, by copy button
# (COPY0's field is TEXT0).
crop() { local r=($(rect_of "${1/COPY/TEXT}")) && echo "$(physical "${r[2]}")x$(physical "${r[3]}")+$(physical "${r[0]}")+$(physical "${r[1]}")"; }
highlighted() { for i in "${!buttons[@]}"; do import -window "$wid" -depth 8 -crop "$(crop "${buttons[i]}")" txt:- |
    grep -ci '#308cc6' >/dev/null && printf '%s ' "$i"; done; }
assert_eq "every button copied, the focus on one: no field shows a selection" "" "$(highlighted)"
tg_key "$wid" Tab
eventually "Tab: the field of the button clicked last shows its selection, alone" \
    eval '[ "$(highlighted)" = "$((${#buttons[@]} - 1)) " ]'
zoom_to_x10
check_magnifier "x10 redraws the last capture" 10 1100 620
drag 1098 618 swatch
check_magnifier "x10: physical pixels in 10 x 10 blocks" 10 1098 618
tg_close Escape
tg_finish
