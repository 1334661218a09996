#!/usr/bin/env bash
# sampling_test.sh PROGRAM BASE_UNITS_TOOL PAINT_ROOT CHECK_MAGNIFIER
# Over a known picture: drags from either area read the pixel under the
# pointer, the four corners included, and the six copy buttons copy its texts,
# after which only a focused field shows its selection, and a caret; the magnifier shows the screen around it pixel for pixel, at x3 and, once
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
# The fields whose selection shows (in Qt's highlight colour), in the order of
# the copy buttons; one field's picture.
fields=("149 16 18 12" "170 16 18 12" "191 16 18 12" "61 16 41 12" "105 16 41 12" "61 44 148 12")
field() {
    read -r l t w h < <(tg_units_rect "$bx" "$by" ${fields[$1]})
    import -window "$wid" -crop "${w}x$h+$l+$t" -depth 8 "$2"
}
highlighted() { for i in "${!fields[@]}"; do field "$i" txt:- | grep -ci '#308cc6' >/dev/null && printf '%s ' "$i"; done; }
assert_eq "six copies, the focus on a button: no field shows a selection" "" "$(highlighted)"
tg_key "$wid" Tab
eventually "Tab: the POV-Ray field shows its selection, alone" eval '[ "$(highlighted)" = "5 " ]'
tg_key "$wid" End
eventually "End: no selection" eval '[ -z "$(highlighted)" ]' && field 5 "$shot.caret.ppm"
tg_key "$wid" shift+Tab
eventually "a caret marks the focused field" \
    eval 'field 5 "$shot.ppm" && [ "$(compare -metric AE "$shot.caret.ppm" "$shot.ppm" null: 2>&1)" -gt 0 ]'
zoom_to_x10
check_magnifier "x10 redraws the last capture" 10 1100 620
tg_close Escape
tg_finish
