#!/usr/bin/env bash
# about_test.sh PROGRAM BASE_UNITS_TOOL
# The window menu comes up on the right button over the background and over
# either area, on the Menu key and on Shift+F10; its entry opens the About
# window, each time anew. The About window's links go to the desktop's opener
# exactly as written, clicked or reached by Tab and opened by Enter or Space; an opener that fails is said in a message, which Escape
# closes; Escape and OK close the About window and the main window lives on.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
read -r bx by < <("$2")

# A stand-in for the desktop's opener, first on PATH, records what it was
# asked to open. Without a known desktop, Qt opens links with xdg-open.
bin=$XDG_CONFIG_HOME/bin
mkdir "$bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/opened"\n' "$bin" >"$bin/xdg-open"
chmod +x "$bin/xdg-open"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
PATH=$bin:$PATH tg_open "$program"

windows() { xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
about_gone() { [ -z "$(xdotool search --all --onlyvisible --pid "$pid" --name '^About Tintgrabber$')" ]; }

# open_about HOW...: brings up the menu by HOW (right-click at a rectangle in
# dialog units, or keys), takes its entry and waits for the About window.
open_about() {
    local before x y
    before=$(windows)
    if [ "$1" = click ]; then
        read -r x y < <(tg_units_centre "$bx" "$by" "${@:2}")
        tg_activate "$wid"
        xdotool mousemove --sync --window "$wid" "$x" "$y" click 3
    else
        tg_key "$wid" "$@"
    fi
    # The menu has no title to wait for.
    tg_wait_for 5 eval '[ "$(windows)" -gt "$before" ]' || tg_fail "$*: no window menu"
    xdotool key Down Return
    about=$(tg_wait_window "$pid" "About Tintgrabber") && echo "ok   $*: About window"
}

close_about() {
    local x y
    read -r x y < <(tg_units_centre "$bx" "$by" 178 7 32 14)
    case "$1" in
    OK) tg_activate "$about" && tg_click "$about" "$x" "$y" ;;
    *) tg_key "$about" "$1" ;;
    esac
    eventually "$1 closes the About window" about_gone
}

open_about click 58 2 3 55 # between the magnifier and the buttons
# Tab from OK, or from the link before, then Enter or Space; a click near the
# link's left end.
for link in "41 Return mailto:info@example.org?subject=tintgrabber" "58 space https://www.example.org/tintgrabber/"; do
    read -r top key target <<<"$link"
    for how in "Tab $key" click; do
        : >"$bin/opened"
        # shellcheck disable=SC2086
        [ "$how" = click ] && tg_click "$about" "$(tg_mul_div 44 "$bx" 4)" "$(tg_mul_div $((2 * top + 8)) "$by" 16)" ||
            tg_key "$about" $how
        tg_wait_for 5 test -s "$bin/opened"
        assert_eq "$how: the link hands its text to the opener" "$target" "$(cat "$bin/opened")"
    done
done
# An opener that finds no program for the link exits with status 3.
printf '#!/bin/sh\nexit 3\n' >"$bin/xdg-open"
tg_click "$about" "$(tg_mul_div 44 "$bx" 4)" "$(tg_mul_div 90 "$by" 16)"
said() { xdotool search --all --onlyvisible --pid "$pid" --name '^Tintgrabber$' 2>/dev/null | grep -vx "$wid"; }
eventually "a link not opened is said" eval '[ -n "$(said)" ]'
tg_key "$(said)" Escape
eventually "Escape closes the message" eval '[ -z "$(said)" ]'
close_about Escape
# The magnifier, the swatch, then keys.
for how in "OK click 1 2 57 55" "Escape click 212 12 59 30" "Escape Menu" "OK shift+F10"; do
    # shellcheck disable=SC2086
    open_about ${how#* }
    close_about "${how%% *}"
done
assert_true "the main window lives on" eval 'kill -0 "$pid" && xwininfo -id "$wid" | grep -q IsViewable'
tg_finish
