#!/usr/bin/env bash
# closing_test.sh PROGRAM BASE_UNITS_TOOL
# Escape, the Exit button, the window manager's close command and Enter in a
# text field each end the process, with status 0.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
read -r bx by < <("$2")
# The middle of Exit (253, 44, 17, 13 dialog units).
read -r exit_x exit_y < <(tg_units_centre "$bx" "$by" 253 44 17 13)

# The focus starts on the first copy button; Tab takes it to the field below,
# where Enter is the OK command.
for how in Escape Exit alt+F4 "Tab Return"; do
    tg_start "$program"
    wid=$(tg_wait_window "$TG_PID" Tintgrabber) || continue
    if [ "$how" = Exit ]; then
        tg_activate "$wid"
        tg_click "$wid" "$exit_x" "$exit_y"
    else
        # shellcheck disable=SC2086
        tg_key "$wid" $how
    fi
    if tg_wait_exit "$TG_PID" 10; then
        assert_eq "$how ends the process" 0 "$TG_STATUS"
    else
        tg_fail "$how: the process is still running"
    fi
done

tg_finish
