#!/usr/bin/env bash
# about_test.sh PROGRAM LAYOUT_TOOL
# The window menu comes up on the right button over the background and over
# either area, on the Menu key and on Shift+F10; its entry opens the About
# window, each time anew. The About window's links go to the desktop's opener
# exactly as written; an opener that fails is said in a message, which Escape
# closes; Escape and OK close the About window and the main window lives on.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
tg_layout "$2"

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

# open_about HOW...: brings up the menu by HOW (right-click on a control, see
# rect_of, or keys), takes its entry and waits for the About window.
open_about() {
    local before
    before=$(windows)
    if [ "$1" = click ]; then
        tg_activate "$wid"
        # shellcheck disable=SC2046
        xdotool mousemove --sync --window "$wid" $(centre_of "$2") click 3
    else
        tg_key "$wid" "$@"
    fi
    # The menu has no title to wait for.
    tg_wait_for 5 eval '[ "$(windows)" -gt "$before" ]' || tg_fail "$*: no window menu"
    xdotool key Down Return
    about=$(tg_wait_window "$pid" "About Tintgrabber") && echo "ok   $*: About window"
}

close_about() {
    case "$1" in
    # shellcheck disable=SC2046
    OK) tg_activate "$about" && tg_click "$about" $(centre_of ID_OK) ;;
    *) tg_key "$about" "$1" ;;
    esac
    eventually "$1 closes the About window" about_gone
}

open_about click BACKGROUND
# Near the left end of a link.
# shellcheck disable=SC2207
link_point() { local r=($(rect_of "$1")) && echo $((r[0] + r[3] / 2)) $((r[1] + r[3] / 2)); }
for link in "IDC_MAILLINK mailto:info@example.org?subject=tintgrabber" "IDC_WEBLINK https://www.example.org/tintgrabber/"; do
    read -r name target <<<"$link"
    : >"$bin/opened"
    # shellcheck disable=SC2046
    tg_click "$about" $(link_point "$name")
    tg_wait_for 5 test -s "$bin/opened"
    assert_eq "the link hands its text to the opener" "$target" "$(cat "$bin/opened")"
done
# An opener that finds no program for the link exits with status 3.
printf '#!/bin/sh\nexit 3\n' >"$bin/xdg-open"
# shellcheck disable=SC2046
tg_click "$about" $(link_point IDC_MAILLINK)
said() { xdotool search --all --onlyvisible --pid "$pid" --name '^Tintgrabber$' 2>/dev/null | grep -vx "$wid"; }
eventually "a link not opened is said" eval '[ -n "$(said)" ]'
tg_key "$(said)" Escape
eventually "Escape closes the message" eval '[ -z "$(said)" ]'
close_about Escape
# The magnifier, the swatch, then keys.
for how in "OK click IDC_ZOOMAREA" "Escape click IDC_COLORAREA" "Escape Menu" "OK shift+F10"; do
    # shellcheck disable=SC2086
    open_about ${how#* }
    close_about "${how%% *}"
done
assert_true "the main window lives on" eval 'kill -0 "$pid" && xwininfo -id "$wid" | grep -q IsViewable'
tg_finish
