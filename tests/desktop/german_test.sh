#!/usr/bin/env bash
# german_test.sh PROGRAM BASE_UNITS_TOOL PAINT_ROOT CHECK_MAGNIFIER
# Started with LANG=de_DE.UTF-8 (the locale made first where it is missing),
# the program speaks German: its --help, the window menu's entry and the About
# window's title. The window keeps its name, and the six colour texts stay
# what other programs read: numbers, hex, a POV-Ray colour with decimal points.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
if ! locale -a | grep -qix 'de_DE\.utf-\?8'; then
    localedef -i de_DE -c -f UTF-8 de_DE.UTF-8 || { echo "SKIP cannot make the de_DE.UTF-8 locale"; exit 77; }
fi
binary=$1
sampler_setup "$1" "$2" "$3" "$4"
# Only the program runs in German: the harness reads times and numbers in C.
german() { exec env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LC_NUMERIC LANG=de_DE.UTF-8 "$binary" "$@"; }
program=german

assert_eq "--help in German" "Aufruf: tintgrabber [OPTION]..." "$( (german --help) | head -n 1)"
start_program 420 330
assert_eq "the window keeps its name" '"Tintgrabber"' "$(tg_prop "$wid" WM_NAME)"
drag 1100 620 swatch
check_texts 1100 620

read -r x y < <(tg_units_centre "$bx" "$by" 58 2 3 55) # between the magnifier and the buttons
tg_activate "$wid"
xdotool mousemove --sync --window "$wid" "$x" "$y" click 3
sleep 1
xdotool key Down Return
if about=$(tg_wait_window "$pid" "Über Tintgrabber"); then
    assert_eq "the About window's title in German" '"Über Tintgrabber"' "$(tg_prop "$about" WM_NAME)"
    tg_key "$about" Escape
fi
tg_close Escape
tg_finish
