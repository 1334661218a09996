#!/usr/bin/env bash
# german_test.sh PROGRAM LAYOUT_TOOL PAINT_ROOT CHECK_MAGNIFIER
# Started with LANG=de_DE.UTF-8 (the locale made first where it is missing),
# the program speaks German: its --help, and the About window's title. The
# window keeps its name, and the six colour texts stay what other programs
# read: numbers, hex, a POV-Ray colour with decimal points.
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
start_program 420 330 # waits for the window's title, its name in every language
drag 1100 620 swatch
check_texts 1100 620

windows() { xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
before=$(windows)
tg_activate "$wid"
# shellcheck disable=SC2046
xdotool mousemove --sync --window "$wid" $(centre_of BACKGROUND) click 3
tg_wait_for 5 eval '[ "$(windows)" -gt "$before" ]' || tg_fail "no window menu"
xdotool key Down Return
if about=$(tg_wait_window "$pid" "Über Tintgrabber"); then
    assert_eq "the About window's title in German" '"Über Tintgrabber"' "$(tg_prop "$about" WM_NAME)"
    tg_key "$about" Escape
fi
tg_close Escape
tg_finish
