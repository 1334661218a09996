#!/usr/bin/env bash
# sampling_test.sh PROGRAM BASE_UNITS_TOOL PAINT_ROOT CHECK_MAGNIFIER
# Over a known picture: drags from either area read the pixel under the
# pointer, the four corners included, and the six copy buttons copy its texts,
# after which only a focused field shows its selection; the magnifier shows the screen around it pixel for pixel, at x3 and, once
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
# The fields that show a selection, in Qt's highlight colour, by copy button.
fields=("149 16 18 12" "170 16 18 12" "191 16 18 12" "61 16 41 12" "105 16 41 12" "61 44 148 12")
highlighted() { for i in "${!fields[@]}"; do import -window "$wid" -depth 8 -crop "$(tg_units_rect "$bx" "$by" \
    ${fields[i]} | awk '{ print $3 "x" $4 "+" $1 "+" $2 }')" txt:- | grep -ci '#308cc6' >/dev/null && printf '%s ' "$i"; done; }
assert_eq "six copies, the focus on a button: no field shows a selection" "" "$(highlighted)"
tg_key "$wid" Tab
eventually "Tab: the POV-Ray field shows its selection, alone" eval '[ "$(highlighted)" = "5 " ]'
zoom_to_x10
check_magnifier "x10 redraws the last capture" 10 1100 620
tg_close Escape
tg_finish
