#!/usr/bin/env bash
# about_test.sh PROGRAM BASE_UNITS_TOOL
# The window menu opens the About window: by the right button on the window,
# by Shift+F10 and by the Menu key. A click on the mail link hands exactly its
# text to the desktop's opener; Escape and the close box end the About window
# and the main window lives on.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
read -r bx by < <("$2")

work=$(mktemp -d)
trap '_tg_cleanup; rm -rf "$work"' EXIT

# A stand-in for the desktop's opener, first on PATH: it records what it was
# asked to open. Without a known desktop, Qt opens links with xdg-open.
mkdir -p "$work/bin" "$work/config"
cat >"$work/bin/xdg-open" <<STUB
#!/bin/sh
printf '%s\n' "\$*" >>"$work/opened"
STUB
chmod +x "$work/bin/xdg-open"

# The number of mapped windows of a process.
visible_windows() {
    xdotool search --all --onlyvisible --pid "$1" 2>/dev/null | wc -l
}

# Waits until process PID maps a window more than COUNT; the menu has no title
# to look for.
wait_more_windows() {
    local pid=$1 count=$2 tries=250
    while [ "$(visible_windows "$pid")" -le "$count" ] && [ "$tries" -gt 0 ]; do
        sleep 0.02
        tries=$((tries - 1))
    done
    [ "$tries" -gt 0 ]
}

# Waits until the About window of PID is gone.
wait_about_gone() {
    local pid=$1 tries=250
    while [ -n "$(xdotool search --all --onlyvisible --pid "$pid" --name '^About Tintgrabber$' 2>/dev/null)" ] &&
        [ "$tries" -gt 0 ]; do
        sleep 0.02
        tries=$((tries - 1))
    done
    [ "$tries" -gt 0 ]
}

# open_about HOW: brings up the window menu by HOW, chooses the entry with the
# keyboard and prints the About window's id.
open_about() {
    local before
    before=$(visible_windows "$TG_PID")
    case "$1" in
    right-button)
        # The middle of the magnifier's frame (1, 2, 57, 55 dialog units),
        # which lets the mouse through to the window.
        xdotool mousemove --sync --window "$wid" "$(tg_mul_div 59 "$bx" 8)" "$(tg_mul_div 59 "$by" 16)" \
            click 3
        ;;
    *)
        tg_key "$wid" "$1"
        ;;
    esac
    wait_more_windows "$TG_PID" "$before" || return 1
    xdotool key Down Return
    tg_wait_window "$TG_PID" "About Tintgrabber"
}

env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    XDG_CONFIG_HOME="$work/config" PATH="$work/bin:$PATH" "$program" &
TG_PID=$!
TG_PIDS+=("$TG_PID")
wid=$(tg_wait_window "$TG_PID" Tintgrabber) || { tg_fail "no main window"; tg_finish; }

if about=$(open_about right-button); then
    echo "ok   the right button's menu opens the About window"
    assert_eq "About window's title" '"About Tintgrabber"' "$(tg_prop "$about" _NET_WM_NAME)"
    assert_true "About window belongs to the main window" \
        eval 'xprop -id "$about" WM_TRANSIENT_FOR | grep -q "# $(printf 0x%x "$wid")\$"'
    # Near the left end of the mail link (40, 41, 149, 8 dialog units).
    tg_click "$about" "$(tg_mul_div 44 "$bx" 4)" "$(tg_mul_div $((2 * 41 + 8)) "$by" 16)"
    for _ in $(seq 1 250); do
        [ -s "$work/opened" ] && break
        sleep 0.02
    done
    assert_eq "the mail link hands its text to the opener" \
        "mailto:info@example.org?subject=tintgrabber" "$(cat "$work/opened" 2>/dev/null)"
    tg_key "$about" Escape
    assert_true "Escape closes the About window" wait_about_gone "$TG_PID"
    assert_true "the main window lives on" \
        eval 'kill -0 "$TG_PID" && [ -n "$(xdotool search --onlyvisible --pid "$TG_PID" --name "^Tintgrabber\$")" ]'
else
    tg_fail "the right button's menu did not open the About window"
fi

if about=$(open_about shift+F10); then
    echo "ok   Shift+F10's menu opens the About window"
    tg_key "$about" alt+F4 # the window manager's close command
    assert_true "the close box closes the About window" wait_about_gone "$TG_PID"
else
    tg_fail "Shift+F10's menu did not open the About window"
fi

if about=$(open_about Menu); then
    echo "ok   the Menu key's menu opens the About window"
    tg_key "$about" Escape
    assert_true "Escape closes the About window again" wait_about_gone "$TG_PID"
else
    tg_fail "the Menu key's menu did not open the About window"
fi

# Still the same, working main window: Escape ends it as always.
tg_key "$wid" Escape
if tg_wait_exit "$TG_PID" 10; then
    assert_eq "the main window closes normally afterwards" 0 "$TG_STATUS"
else
    tg_fail "the main window did not close"
fi

tg_finish
