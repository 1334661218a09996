#!/usr/bin/env bash
# scaling_test.sh PROGRAM BASE_UNITS_TOOL PAINT_ROOT CHECK_MAGNIFIER FACTOR NUM DEN
# With QT_SCALE_FACTOR FACTOR (= NUM / DEN), over a known picture: a drag
# reads the physical pixel under the pointer, also between logical pixels and
# at the corners; the magnifier shows each physical pixel as a block of
# exactly z x z device pixels with the cross-hair around the sampled one.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
export QT_SCALE_FACTOR=$5
sampler_setup "$1" "$2" "$3" "$4" "$6" "$7"

start_program 280 260
# Qt hands pointer positions over rounded to whole logical pixels; multiples
# of 6 lie on them at both factors, the others between them.
for point in "1098 618" "0 0 swatch" "1279 799" "1 1" "335 77 swatch" "1100 617" "1279 0" "0 799" "1101 619"; do
    # shellcheck disable=SC2086
    read_at $point
done
check_magnifier "x3 between logical pixels: the cross-hair on the pointer's pixel" 3 1101 619
drag 1278 798
check_magnifier "x3 at the corner: button face beyond the screen" 3 1278 798
zoom_to_x10
drag 1098 618 swatch
check_magnifier "x10: physical pixels in 10 x 10 blocks" 10 1098 618
tg_close Escape
tg_finish
