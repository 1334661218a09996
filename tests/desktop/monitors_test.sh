#!/usr/bin/env bash
# monitors_test.sh PROGRAM LAYOUT_TOOL PAINT_ROOT CHECK_MAGNIFIER
# A 2560 x 800 screen split into RandR monitors, two side by side, then two
# with room between them, over a known picture: drags read the right pixel on
# each monitor and at the seam; the magnifier shows both monitors across the
# seam and the button face wherever no monitor shows the screen, though the
# root window has pixels there; a point on no monitor reads as white.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
sampler_setup "$1" "$2" "$3" "$4"

# set_monitors "X Y W H"...: replaces the monitors; a Qt program sees those.
set_monitors() {
    local name x y w h i
    for name in $(xrandr --listmonitors | awk 'NR > 1 { sub(/^[+*]*/, "", $2); print $2 }'); do
        xrandr --delmonitor "$name" >/dev/null 2>&1
    done
    MONITORS=("$@")
    for i in "${!MONITORS[@]}"; do
        read -r x y w h <<<"${MONITORS[i]}"
        # The first takes the screen's one output; the rest need none.
        xrandr --setmonitor "M$i" "$w/0x$h/0+$x+$y" "$([ $i = 0 ] && echo screen || echo none)" >/dev/null 2>&1
    done
}

set_monitors "0 0 1280 800" "1280 0 1280 800"
start_program 200 200
read_at 1279 450
check_magnifier "across the seam from x 1279: both monitors" 3 1279 450
read_at 1280 450 swatch
check_magnifier "across the seam from x 1280: both monitors" 3 1280 450
tg_close Escape

# The root's columns 1000 to 1099, and its rows below the first monitor and
# above the second, are on no monitor.
set_monitors "0 0 1000 700" "1100 100 1200 700"
start_program 100 150
read_at 1100 100
check_magnifier "the second monitor's top-left corner, button face beside it" 3 1100 100
read_at 999 699 swatch
check_magnifier "the first monitor's bottom-right corner, button face beside it" 3 999 699
drag 1050 400
check_magnifier "between the monitors: nothing but button face" 3 1050 400
assert_eq "between the monitors: white, not the root window's pixel" "#ffffff" "$(copied 3)"
tg_close Escape
tg_finish
