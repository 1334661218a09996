#!/usr/bin/env bash
# no_display_test.sh PROGRAM
# Without a usable display the program says so in one line and exits with
# status 1: no abort, no core dump, no window. --help and --version need no
# display; an argument Qt does not take (on its offscreen platform here) is
# named in one line, with status 2, before any window, also without a display.
# -display and -platform are refused as DISPLAY and QT_QPA_PLATFORM are.
set -uo pipefail
failures=0

# refused NAME MESSAGE [VAR=VALUE]... [ARG]...: run without any display but
# the given.
refused() {
    local err status vars=()
    while [[ ${3:-} == *=* ]]; do vars+=("$3") && set -- "${@:1:2}" "${@:4}"; done
    err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "${vars[@]}" \
        timeout 10 "$program" "${@:3}" 2>&1 >/dev/null)
    status=$?
    [ "$status" = 1 ] && [[ "$err" =~ ^tintgrabber:\ cannot\ open\ the\ display:\ $2$ ]] &&
        echo "ok   $1: $err" && return
    printf 'FAIL %s: status %s (want 1), message:\n  %s\n' "$1" "$status" "$err"
    failures=$((failures + 1))
}

program=$1
dead=4242
while [ -e "/tmp/.X11-unix/X$dead" ] || [ -e "/tmp/.X$dead-lock" ]; do dead=$((dead + 1)); done
refused "no DISPLAY" "DISPLAY is not set"
refused "no server on :$dead" "no X server answers on \":$dead\"" DISPLAY=":$dead"
refused "unknown platform" 'no platform "nosuchplatform" \(installed: [^)]*xcb[^)]*\)' QT_QPA_PLATFORM=nosuchplatform
# Qt's options as its environment: the display on :1 is not the one asked for.
refused "-display :$dead" "no X server answers on \":$dead\"" DISPLAY=:1 -display ":$dead"
refused "--platform" 'no platform "nonsense" .*' --platform nonsense -style Fusion

# answers STATUS OUTPUT PLATFORM ARG...: with QT_QPA_PLATFORM=PLATFORM the
# program exits with STATUS and prints OUTPUT, Qt's notes aside.
answers() {
    local out
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="$3" timeout 10 "$program" "${@:4}" 2>&1)
    out="$? $(grep -v '^QStandardPaths:' <<<"$out")"
    [[ "$out" =~ ^$1\ $2$ ]] && echo "ok   ${*:4}" && return
    printf 'FAIL %s: %s\n' "${*:4}" "$out" && failures=$((failures + 1))
}
answers 0 'tintgrabber 2\.2' "" --version
answers 0 'Usage: tintgrabber .*--help .*--version .*'"${XDG_CONFIG_HOME:-$HOME/.config}"'/Tintgrabber/tintgrabber\.conf' \
    "" -platform xcb --help
answers 2 'tintgrabber: unknown option "--colour"; see tintgrabber --help' \
    offscreen -platform offscreen -style Fusion --colour
answers 2 'tintgrabber: unknown argument "colour"; see tintgrabber --help' "" -style=Fusion colour
[ "$failures" = 0 ]
