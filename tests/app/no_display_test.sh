#!/usr/bin/env bash
# no_display_test.sh PROGRAM
# Without a usable display the program must say so in one line and exit with
# status 1: no abort, no core dump, no window.
set -uo pipefail
program=$1
failures=0

# Finds an X display number that no server uses.
free_display() {
    local n=4242
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    echo ":$n"
}

# expect_refusal NAME PATTERN ENV-ARGS...: runs the program under env with the
# given arguments and checks status and message.
expect_refusal() {
    local name=$1 pattern=$2
    shift 2
    local err status
    err=$(env "$@" timeout 10 "$program" 2>&1 >/dev/null)
    status=$?
    local lines
    lines=$(printf '%s\n' "$err" | grep -c .)
    if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -qE "$pattern" <<<"$err"; then
        echo "FAIL $name: status $status (want 1), $lines line(s) (want 1):"
        printf '  %s\n' "$err"
        failures=$((failures + 1))
    else
        echo "ok   $name: $err"
    fi
}

base=(-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE)
expect_refusal "no DISPLAY" '^tintgrabber: cannot open the display: DISPLAY is not set$' \
    "${base[@]}"
dead=$(free_display)
expect_refusal "no server on $dead" "^tintgrabber: cannot open the display: no X server answers on \"$dead\"\$" \
    "${base[@]}" DISPLAY="$dead"
expect_refusal "unknown platform" '^tintgrabber: cannot open the display: no platform "nosuchplatform" \(installed: .*xcb.*\)$' \
    "${base[@]}" QT_QPA_PLATFORM=nosuchplatform

[ "$failures" -eq 0 ]
