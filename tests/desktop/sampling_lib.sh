# Helpers for tests that sample a known picture with the real program. Source
# this file after lib.sh; call sampler_setup first. The window's layout comes
# in logical pixels from its dialog units; the screen, the pointer and the
# screenshots count physical pixels, RATIO_NUM/RATIO_DEN of them a logical
# pixel (the program's scale factor, 1 unless set).
#
#   sampler_setup PROGRAM BASE_UNITS_TOOL CHECK_MAGNIFIER [NUM DEN]
#   physical N                   print N logical pixels in physical ones, rounded
#   start_program X Y            start, move the window's frame to screen point
#                                (X, Y), set pid, wid and the client origin ox, oy
#   stop_program                 Escape, and wait for the end
#   drag SX SY [AREA]            press in the zoom area (or AREA=swatch), move to
#                                screen point (SX, SY), release there
#   check_texts SX SY            each copy button copies the pattern's texts there
#   copied_hash_hex              click "#HTML", print what it put on the clipboard
#   check_magnifier WHAT FACTOR (SX SY | none)
#                                the magnifier shows the pattern around (SX, SY)
#                                in FACTOR x FACTOR physical blocks, button face
#                                where no monitor in MONITORS shows the screen
#   pattern_hex SX SY            print the pattern's colour there as rrggbb
#   screen_pixel SX SY           print the screen's pixel there as rrggbb
#
# MONITORS holds "X Y W H" rectangles, the screen's parts that monitors show;
# empty means the whole screen.

MONITORS=()

sampler_setup() {
    program=$1
    check_magnifier_tool=$3
    RATIO_NUM=${4:-1}
    RATIO_DEN=${5:-1}
    read -r bx by < <("$2")
    shot=$XDG_CONFIG_HOME/screen.ppm
    # Client rectangles of the window's parts, in logical pixels.
    read -r zoom_l zoom_t zoom_w zoom_h < <(tg_units_rect "$bx" "$by" 1 2 57 55)
    read -r swatch_l swatch_t _ _ < <(tg_units_rect "$bx" "$by" 212 12 59 30)
    read -r zoom_cx zoom_cy < <(tg_units_centre "$bx" "$by" 1 2 57 55)
    read -r swatch_cx swatch_cy < <(tg_units_centre "$bx" "$by" 212 12 59 30)
    # The copy buttons, in an order in which no two neighbours can copy the
    # same text: each read waits for the clipboard to change.
    buttons=(
        "$(tg_units_centre "$bx" "$by" 61 2 41 11)"   # #HTML
        "$(tg_units_centre "$bx" "$by" 149 2 18 11)"  # R
        "$(tg_units_centre "$bx" "$by" 105 2 41 11)"  # HTML
        "$(tg_units_centre "$bx" "$by" 170 2 18 11)"  # G
        "$(tg_units_centre "$bx" "$by" 61 31 148 11)" # POV-Ray
        "$(tg_units_centre "$bx" "$by" 191 2 18 11)"  # B
    )
    # The device pixels the magnifier draws in: its inner rectangle, each
    # edge scaled and rounded to the nearest pixel.
    inner_l=$(physical $((zoom_l + 3)))
    inner_t=$(physical $((zoom_t + 3)))
    inner_w=$(($(physical $((zoom_l + zoom_w - 3))) - inner_l))
    inner_h=$(($(physical $((zoom_t + zoom_h - 3))) - inner_t))
}

physical() {
    tg_mul_div "$1" "$RATIO_NUM" "$RATIO_DEN"
}

pattern_hex() {
    local x=$1 y=$2
    printf '%02x%02x%02x\n' $((x % 256)) $((y % 256)) \
        $((((x >> 8) * 37 + (y >> 8) * 101 + 3 * x + 5 * y) % 256))
}

# The six texts of the pattern's colour at (X, Y), in the buttons' order.
_expected_texts() {
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

_clipboard_is_not() {
    [ "$(tg_clipboard)" != "$1" ]
}

screen_pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n -e 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr 'A-F' 'a-f'
}

# Before the first sample both areas show the button face.
_painted() {
    face=$(screen_pixel $((ox + $(physical $((swatch_l + 4))))) $((oy + $(physical $((swatch_t + 4))))))
    [ -n "$face" ] &&
        [ "$face" = "$(screen_pixel $((ox + inner_l + 1)) $((oy + inner_t + 1)))" ]
}

start_program() {
    tg_start "$program"
    pid=$TG_PID
    wid=$(tg_wait_window "$pid" Tintgrabber) || tg_finish
    xdotool windowmove --sync "$wid" "$1" "$2" >/dev/null 2>&1
    read -r ox oy < <(tg_window_origin "$wid")
    tg_wait_for 3 _painted || tg_fail "the window was not painted"
}

stop_program() {
    tg_key "$wid" Escape
    tg_wait_exit "$pid" 10 || tg_fail "Escape did not end the program"
}

# The short pauses are a hand's: with none at all, on a loaded machine, Qt now
# and then missed the release that follows a press within microseconds.
drag() {
    local x=$zoom_cx y=$zoom_cy
    if [ "${3:-}" = swatch ]; then
        x=$swatch_cx y=$swatch_cy
    fi
    xdotool mousemove $((ox + $(physical "$x"))) $((oy + $(physical "$y"))) mousedown 1 \
        sleep 0.05 mousemove "$1" "$2" sleep 0.05 mouseup 1
}

_click_button() {
    local x y
    read -r x y <<<"${buttons[$1]}"
    xdotool mousemove $((ox + $(physical "$x"))) $((oy + $(physical "$y"))) click 1
}

check_texts() {
    local expected i
    mapfile -t expected < <(_expected_texts "$1" "$2")
    for i in "${!buttons[@]}"; do
        _click_button "$i"
        if tg_wait_for 3 _clipboard_is "${expected[i]}"; then
            echo "ok   ($1, $2): \"${expected[i]}\""
        else
            tg_fail "($1, $2): expected \"${expected[i]}\" on the clipboard, got \"$(tg_clipboard)\""
        fi
    done
}

copied_hash_hex() {
    printf 'cleared' | xclip -i -selection clipboard
    _click_button 0
    tg_wait_for 3 _clipboard_is_not cleared
    tg_clipboard
}

_magnifier_shows() {
    local monitor_args=() m
    for m in "${MONITORS[@]}"; do
        # shellcheck disable=SC2206
        monitor_args+=(--monitor $m)
    done
    import -window root -depth 8 "ppm:$shot" 2>/dev/null &&
        "$check_magnifier_tool" "${monitor_args[@]}" "$shot" \
            $((ox + inner_l)) $((oy + inner_t)) "$inner_w" "$inner_h" "$1" "$face" "${@:2}" \
            >"$shot.log"
}

check_magnifier() {
    local what=$1
    shift
    if tg_wait_for 3 _magnifier_shows "$@"; then
        echo "ok   $what"
    else
        tg_fail "$what"
        cat "$shot.log"
    fi
}
