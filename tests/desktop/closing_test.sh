#!/usr/bin/env bash
# closing_test.sh PROGRAM BASE_UNITS_TOOL
# Escape, the Exit button, the close box and Enter outside the push buttons
# each end the process, with status 0.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
read -r bx by < <("$2")

# expect_exit WHAT: the program started last ends within 10 s, with status 0.
expect_exit() {
    if tg_wait_exit "$TG_PID" 10; then
        assert_eq "$1 ends the process" 0 "$TG_STATUS"
    else
        tg_fail "$1: the process is still running"
    fi
}

tg_start "$program"
if wid=$(tg_wait_window "$TG_PID" Tintgrabber); then
    tg_key "$wid" Escape
    expect_exit "Escape"
fi

tg_start "$program"
if wid=$(tg_wait_window "$TG_PID" Tintgrabber); then
    # The middle of Exit (253, 44, 17, 13 dialog units).
    x=$(tg_mul_div $((2 * 253 + 17)) "$bx" 8)
    y=$(tg_mul_div $((2 * 44 + 13)) "$by" 16)
    tg_activate "$wid"
    tg_click "$wid" "$x" "$y"
    expect_exit "the Exit button"
fi

tg_start "$program"
if wid=$(tg_wait_window "$TG_PID" Tintgrabber); then
    tg_key "$wid" alt+F4 # the window manager's close command
    expect_exit "the close box"
fi

tg_start "$program"
if wid=$(tg_wait_window "$TG_PID" Tintgrabber); then
    # The focus starts on the first copy button; Tab takes it to the field
    # below, where Enter is the OK command.
    tg_key "$wid" Tab Return
    expect_exit "Enter in a text field"
fi

tg_finish
