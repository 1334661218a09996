#!/usr/bin/env bash
# sampling_test.sh PROGRAM BASE_UNITS_TOOL PAINT_ROOT CHECK_MAGNIFIER
# With a known picture on the screen: drags from either area read the pixel
# under the pointer, also at the screen's four corners, and the copy buttons
# put its six texts on the clipboard; the magnifier shows the screen around it
# pixel for pixel, at x3 and, after the wheel chose x10, at x10; the zoom
# survives a restart.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
read -r bx by < <("$2")
paint_root=$3
check_magnifier=$4

"$paint_root" --pattern || { tg_fail "could not paint the root window"; tg_finish; }
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
shot=$XDG_CONFIG_HOME/screen.ppm

# Client rectangles of the window's parts, in pixels.
read -r zoom_l zoom_t zoom_w zoom_h < <(tg_units_rect "$bx" "$by" 1 2 57 55)
read -r swatch_l swatch_t _ _ < <(tg_units_rect "$bx" "$by" 212 12 59 30)
read -r zoom_cx zoom_cy < <(tg_units_centre "$bx" "$by" 1 2 57 55)
read -r swatch_cx swatch_cy < <(tg_units_centre "$bx" "$by" 212 12 59 30)
read -r list_cx list_cy < <(tg_units_centre "$bx" "$by" 212 44 39 12)
# The copy buttons, in an order in which no two neighbours can copy the same
# text: each read below waits for the clipboard to change.
buttons=(
    "$(tg_units_centre "$bx" "$by" 61 2 41 11)"   # #HTML
    "$(tg_units_centre "$bx" "$by" 149 2 18 11)"  # R
    "$(tg_units_centre "$bx" "$by" 105 2 41 11)"  # HTML
    "$(tg_units_centre "$bx" "$by" 170 2 18 11)"  # G
    "$(tg_units_centre "$bx" "$by" 61 31 148 11)" # POV-Ray
    "$(tg_units_centre "$bx" "$by" 191 2 18 11)"  # B
)

# The six texts of the pattern's colour at (X, Y), in the buttons' order.
expected_texts() {
    local x=$1 y=$2 r g b
    r=$((x % 256))
    g=$((y % 256))
    b=$((((x >> 8) * 37 + (y >> 8) * 101 + 3 * x + 5 * y) % 256))
    printf '#%02x%02x%02x\n%d\n%02x%02x%02x\n%d\n' "$r" "$g" "$b" "$r" "$r" "$g" "$b" "$g"
    awk -v r="$r" -v g="$g" -v b="$b" \
        'BEGIN { printf "color rgb <%.6f, %.6f, %.6f>\n", r / 255, g / 255, b / 255 }'
    printf '%d\n' "$b"
}

_clipboard_is() {
    [ "$(tg_clipboard)" = "$1" ]
}

# start_program: starts the program, moves its window clear of the corners and
# sets pid, wid and the client origin ox, oy.
start_program() {
    tg_start "$program"
    pid=$TG_PID
    wid=$(tg_wait_window "$pid" Tintgrabber) || tg_finish
    xdotool windowmove --sync "$wid" 420 330 >/dev/null 2>&1
    read -r ox oy < <(tg_window_origin "$wid")
}

# drag FROM_X FROM_Y SX SY: press at the client point, move to the screen
# point, release there. The server takes the steps in order; the short pauses
# are a hand's: with none at all, on a loaded machine, Qt now and then missed
# the release that follows a press within microseconds.
drag() {
    xdotool mousemove $((ox + $1)) $((oy + $2)) mousedown 1 sleep 0.05 \
        mousemove "$3" "$4" sleep 0.05 mouseup 1
}

# check_texts SX SY: each copy button puts its text for that pixel on the
# clipboard.
check_texts() {
    local expected i=0 text
    mapfile -t expected < <(expected_texts "$1" "$2")
    for i in "${!buttons[@]}"; do
        read -r x y <<<"${buttons[i]}"
        xdotool mousemove $((ox + x)) $((oy + y)) click 1
        if tg_wait_for 3 _clipboard_is "${expected[i]}"; then
            echo "ok   ($1, $2): \"${expected[i]}\""
        else
            tg_fail "($1, $2): expected \"${expected[i]}\" on the clipboard, got \"$(tg_clipboard)\""
        fi
    done
}

_magnifier_shows() {
    import -window root -depth 8 "ppm:$shot" 2>/dev/null &&
        "$check_magnifier" "$shot" $((ox + zoom_l)) $((oy + zoom_t)) "$zoom_w" "$zoom_h" \
            "$@" >"$shot.log"
}

# check_magnifier WHAT FACTOR (SX SY | none): waits until the magnifier shows
# exactly what it must.
check_magnifier() {
    local what=$1
    shift
    if tg_wait_for 3 _magnifier_shows "$1" "$face" "${@:2}"; then
        echo "ok   $what"
    else
        tg_fail "$what"
        cat "$shot.log"
    fi
}

# The colour of a screen pixel as rrggbb.
screen_pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n -e 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr 'A-F' 'a-f'
}

# Before the first sample both areas show the button face.
_painted() {
    face=$(screen_pixel $((ox + swatch_l + 3)) $((oy + swatch_t + 3)))
    [ -n "$face" ] && [ "$face" = "$(screen_pixel $((ox + zoom_l + 3)) $((oy + zoom_t + 3)))" ]
}

start_program
tg_wait_for 3 _painted || tg_fail "the window was not painted"
check_magnifier "before any sample: a plain square with the cross-hair" 3 none

last=$((screen_w - 1))
bottom=$((screen_h - 1))
drag "$zoom_cx" "$zoom_cy" 0 0
check_texts 0 0
check_magnifier "x3 at the top-left corner, button face beyond the screen" 3 0 0
drag "$swatch_cx" "$swatch_cy" "$last" 0
check_texts "$last" 0
drag "$zoom_cx" "$zoom_cy" 0 "$bottom"
check_texts 0 "$bottom"
drag "$swatch_cx" "$swatch_cy" "$last" "$bottom"
check_texts "$last" "$bottom"
drag "$swatch_cx" "$swatch_cy" 1100 620
check_texts 1100 620
check_magnifier "x3 in the middle of the screen" 3 1100 620

# The first turn over the window only gives the list the focus; seven more
# step it from x3 to x10, redrawing the same capture.
xdotool mousemove $((ox + list_cx)) $((oy + list_cy)) click 5 \
    mousemove $((ox + zoom_cx)) $((oy + zoom_cy)) click --repeat 7 --delay 20 5
_zoom_is() { [ "$(tg_setting zom)" = "$1" ]; }
assert_true "the wheel chose x10 and it was stored" tg_wait_for 3 _zoom_is 7
check_magnifier "x10 redraws the last capture" 10 1100 620

tg_key "$wid" Escape
tg_wait_exit "$pid" 10 || tg_fail "Escape did not end the program"

start_program
drag "$zoom_cx" "$zoom_cy" 200 150
check_magnifier "after a restart the stored x10 applies" 10 200 150
tg_key "$wid" Escape
tg_wait_exit "$pid" 10 || tg_fail "Escape did not end the program"
assert_eq "the zoom is still x10" 7 "$(tg_setting zom)"

tg_finish
