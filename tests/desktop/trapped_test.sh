#!/usr/bin/env bash
# trapped_test.sh PROGRAM LAYOUT_TOOL PAINT_ROOT CHECK_MAGNIFIER POINTER_STATE
# Nothing traps the user or throws work away. While sampling, by click or by
# drag, the right button, the Menu key and Shift+F10 open no menu, and a
# notice ends sampling first: the pointer is free for any program, and a drag
# and a copy button work at once. A zoom that cannot be stored applies for the
# run, the file untouched; one stored outside the list draws at x3. SIGTERM,
# SIGINT (twice) and SIGHUP mid-drag end the program as Exit does: status 0,
# the pointer free, the copied text kept.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
sampler_setup "$1" "$2" "$3" "$4"
pointer_state=$5
folder=$XDG_CONFIG_HOME/Tintgrabber
free() { [[ $("$pointer_state") == free* ]]; }
windows() { xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
notice() { xdotool search --all --onlyvisible --pid "$pid" --name '^Tintgrabber$' 2>/dev/null | grep -vx "$wid"; }
# shellcheck disable=SC2046
sample() {
    case $1 in
    click) xdotool mousemove $(point_at IDC_COLORAREA) click 1 sleep 0.05 mousemove 700 500 ;;
    drag) xdotool mousemove $(point_at IDC_ZOOMAREA) mousedown 1 sleep 0.05 mousemove 700 500 ;;
    esac
    eventually "$1: sampling holds the pointer" eval '! free'
}
settings() { rm -rf "$folder" && mkdir -p "$folder" && printf "$1" >"$folder/tintgrabber.conf"; }

start_program 420 330
for how in click drag; do
    sample $how
    # shellcheck disable=SC2046
    xdotool mousemove $(point_at BACKGROUND) click 3 key Menu shift+F10
    [ $how = click ] && xdotool key Return || xdotool mouseup 1
    eventually "$how: ended, the pointer is free" free
    assert_eq "$how: no menu opened" 1 "$(windows)"
    read_at 800 600
done
tg_close Escape

for zoom in 999 -5; do
    settings "[win]\nzom=$zoom\n"
    start_program 420 330
    drag 700 500
    check_magnifier "zom=$zoom draws at x3" 3 700 500
    tg_close Escape
done

# The notice comes with the first zoom change: the second wheel turn, here
# while sampling, which it ends.
settings '\001\002\377garbled[[[\n[win]\nzom=2\n'
before=$(sha256sum <"$folder/tintgrabber.conf")
start_program 420 330
sample click
xdotool click --repeat 2 --delay 50 5
eventually "a notice while sampling: the pointer is free" free
eventually "the notice is shown" eval '[ -n "$(notice)" ]'
tg_key "$(notice)" Escape
# shellcheck disable=SC2046
xdotool mousemove $(point_at IDC_ZOOMAREA) click --repeat 6 --delay 50 5
check_magnifier "not stored, x10 applies all the same" 10 700 500
assert_eq "the file is untouched" "$before" "$(sha256sum <"$folder/tintgrabber.conf")"
tg_close Escape
rm -rf "$folder"

# As from a terminal: a shell's background job would ignore SIGINT, and so
# would the program.
printf '#!/bin/sh\nexec env --default-signal "%s"\n' "$program" >"$XDG_CONFIG_HOME/terminal"
chmod +x "$XDG_CONFIG_HOME/terminal"
program=$XDG_CONFIG_HOME/terminal
for signals in TERM "INT INT" HUP; do
    start_program 420 330
    read_at 600 250
    [ "$signals" = HUP ] && sample drag
    for signal in $signals; do kill -s "$signal" "$pid"; done
    tg_wait_exit "$pid" || tg_fail "SIG$signals: the program still runs"
    xdotool mouseup 1
    assert_eq "SIG$signals: status 0" 0 "${TG_STATUS:-}"
    assert_eq "SIG$signals: the copied text kept" "#$(pattern_hex 600 250)" "$(tg_clipboard)"
    assert_true "SIG$signals: the pointer is free" free
done
tg_finish
