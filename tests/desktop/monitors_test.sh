#!/usr/bin/env bash
# monitors_test.sh PROGRAM BASE_UNITS_TOOL PAINT_ROOT CHECK_MAGNIFIER LIST_SCREENS
# On a 2560 x 800 screen split into monitors: two side by side, then two with
# room between them that no monitor shows. With a known picture on the whole
# root window, drags read the right pixel on each monitor and at the seam,
# the magnifier shows both monitors across the seam, and the button face
# wherever no monitor shows the screen, even where the root window has pixels.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sampling_lib.sh"
sampler_setup "$1" "$2" "$4"
paint_root=$3
list_screens=$5

"$paint_root" --pattern || { tg_fail "could not paint the root window"; tg_finish; }

# set_monitors "X Y W H"...: replaces the monitors, then checks that a Qt
# program sees exactly those.
set_monitors() {
    local name m x y w h i=0 seen
    for name in $(xrandr --listmonitors | awk 'NR > 1 { sub(/^[+*]*/, "", $2); print $2 }'); do
        xrandr --delmonitor "$name" >/dev/null 2>&1
    done
    MONITORS=("$@")
    for m in "$@"; do
        read -r x y w h <<<"$m"
        # The first takes the screen's one output; the rest need none.
        xrandr --setmonitor "M$i" "$w/0x$h/0+$x+$y" "$([ "$i" = 0 ] && echo screen || echo none)" \
            >/dev/null 2>&1
        i=$((i + 1))
    done
    seen=$("$list_screens" 2>/dev/null | sort -n | awk '{ print $1, $2, $3, $4 }')
    assert_eq "Qt sees the monitors $*" "$(printf '%s\n' "$@" | sort -n)" "$seen"
}

# --- Two monitors side by side, the seam between x 1279 and 1280.
set_monitors "0 0 1280 800" "1280 0 1280 800"
start_program 200 200
check_magnifier "before any sample: a plain square with the cross-hair" 3 none
drag 400 500
check_texts 400 500
drag 2000 300 swatch
check_texts 2000 300
check_magnifier "the second monitor, pixel for pixel" 3 2000 300
for x in 1279 1280; do
    drag "$x" 450
    check_texts "$x" 450
    check_magnifier "across the seam from x $x: both monitors" 3 "$x" 450
done
drag 2559 799
check_texts 2559 799
check_magnifier "the second monitor's far corner, button face beyond" 3 2559 799
stop_program

# --- Monitors of 1000 x 700 at (0, 0) and 1200 x 700 at (1100, 100): the
# root's columns 1000 to 1099, its rows below the first and above the second
# are on no monitor.
set_monitors "0 0 1000 700" "1100 100 1200 700"
start_program 100 150
drag 600 300
check_texts 600 300
drag 1600 500
check_texts 1600 500
drag 1100 100
check_texts 1100 100
check_magnifier "the second monitor's top-left corner, button face beside it" 3 1100 100
drag 999 699
check_texts 999 699
check_magnifier "the first monitor's bottom-right corner, button face beside it" 3 999 699
drag 1050 400
check_magnifier "between the monitors: nothing but button face" 3 1050 400
hash=$(copied_hash_hex)
if [ "$hash" = "#$(pattern_hex 1050 400)" ]; then
    tg_fail "between the monitors the root window's pixel was read: $hash"
else
    echo "ok   between the monitors the root window's pixel is not read ($hash)"
fi
# The first turn only gives the list the focus; seven more step it to x10.
xdotool mousemove $((ox + $(physical "$zoom_cx"))) $((oy + $(physical "$zoom_cy"))) \
    click --repeat 8 --delay 20 5
_zoom_is() { [ "$(tg_setting zom)" = "$1" ]; }
assert_true "the wheel chose x10" tg_wait_for 3 _zoom_is 7
drag 1101 101
check_magnifier "x10 at the second monitor's corner" 10 1101 101
stop_program

tg_finish
