#!/usr/bin/env bash
# about_test.sh PROGRAM BASE_UNITS_TOOL
# The right button on the main window brings up the window menu, whose entry
# opens the About window; a click on the mail link hands exactly its text to
# the desktop's opener; Escape ends the About window and the main window lives
# on. Which keys and places bring up the menu is left to the widget tests.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
read -r bx by < <("$2")

# A stand-in for the desktop's opener, first on PATH: it records what it was
# asked to open. Without a known desktop, Qt opens links with xdg-open.
bin=$(mktemp -d)
trap '_tg_cleanup; rm -rf "$bin"' EXIT
cat >"$bin/xdg-open" <<STUB
#!/bin/sh
printf '%s\n' "\$*" >>"$bin/opened"
STUB
chmod +x "$bin/xdg-open"

windows() { xdotool search --all --onlyvisible --pid "$TG_PID" 2>/dev/null | wc -l; }
more_windows_than() { [ "$(windows)" -gt "$1" ]; }
opened() { [ -s "$bin/opened" ]; }
about_gone() {
    [ -z "$(xdotool search --all --onlyvisible --pid "$TG_PID" --name '^About Tintgrabber$' 2>/dev/null)" ]
}

env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    PATH="$bin:$PATH" "$program" &
TG_PID=$!
TG_PIDS+=("$TG_PID")
wid=$(tg_wait_window "$TG_PID" Tintgrabber) || tg_finish

# The right button in the magnifier's frame (1, 2, 57, 55 dialog units), which
# lets the mouse through to the window. The menu has no title to wait for.
before=$(windows)
read -r x y < <(tg_units_centre "$bx" "$by" 1 2 57 55)
xdotool mousemove --sync --window "$wid" "$x" "$y" click 3
tg_wait_for 5 more_windows_than "$before" || tg_fail "no window menu"
xdotool key Down Return
about=$(tg_wait_window "$TG_PID" "About Tintgrabber") || tg_finish
assert_eq "About window's title" '"About Tintgrabber"' "$(tg_prop "$about" _NET_WM_NAME)"
assert_true "About window belongs to the main window" \
    eval 'xprop -id "$about" WM_TRANSIENT_FOR | grep -q "# $(printf 0x%x "$wid")\$"'

# Near the left end of the mail link (40, 41, 149, 8 dialog units).
tg_click "$about" "$(tg_mul_div 44 "$bx" 4)" "$(tg_mul_div $((2 * 41 + 8)) "$by" 16)"
tg_wait_for 5 opened
assert_eq "the mail link hands its text to the opener" \
    "mailto:info@example.org?subject=tintgrabber" "$(cat "$bin/opened" 2>/dev/null)"

tg_key "$about" Escape
assert_true "Escape closes the About window" tg_wait_for 5 about_gone
assert_true "the main window lives on" \
    eval 'kill -0 "$TG_PID" && [ -n "$(xdotool search --onlyvisible --pid "$TG_PID" --name "^Tintgrabber\$")" ]'
tg_finish
