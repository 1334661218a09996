#!/usr/bin/env bash
# bench/portal_press.sh [PRESSES [PROGRAM [DESKTOP]]]
# Press to first sample through the desktop's screenshot portal: on a private
# headless Wayland desktop of 1280 x 800 (DESKTOP sway, the default, gnome or
# kde, started by scripts/with-DESKTOP.sh) the program runs through XWayland;
# each press in the magnifier (PRESSES, default 20) is timed from when the
# press is sent until the swatch shows a new colour, which it can only once
# the portal's picture is in. The press then drags away and ends there, so
# that it is no click; before it a drag to another point of the background
# sets the swatch to a colour the press changes. GNOME's answer to its
# question is stored as Allow first. Prints the median, the fastest and the
# slowest in ms.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/bench/lib.sh"
presses=${1:-20}
program=$(realpath "${2:-$build/app/tintgrabber}")
desktop=${3:-sway}
pixel_change=$build/bench/pixel_change
bench_require portal_press.sh "$program" "$pixel_change" "$dialog_layout" \
    "$build/tests/desktop/tools/pattern_png"
if [ -z "${TG_BENCH_ON_DISPLAY:-}" ]; then
    TG_BENCH_ON_DISPLAY=1 exec "$root/scripts/with-$desktop.sh" -- "$0" "$presses" "$program" "$desktop"
fi

"$build/tests/desktop/tools/pattern_png" /tmp/pattern.png 1280 800 && chmod 644 /tmp/pattern.png
. "$root/tests/desktop/wayland_desktop.sh"
wayland_setup "$desktop" /tmp/pattern.png
[ "$desktop" != gnome ] || wayland_store SetPermission true screenshot '' "['yes']" >/dev/null
session_bus=$DBUS_SESSION_BUS_ADDRESS
bench_fresh_user
unset QT_QPA_PLATFORM
DBUS_SESSION_BUS_ADDRESS=$session_bus "$program" 2>/dev/null &
for _ in $(seq 100); do
    wid=$(xdotool search --all --onlyvisible --name '^Tintgrabber$' 2>/dev/null | head -n 1) && break
    sleep 0.05
done
[ -n "$wid" ] || { echo "portal_press.sh: the program did not start" >&2; exit 1; }
sleep 2
read -r ox oy _ _ < <(bench_geometry "$wid")
read -r mx my < <(bench_point "$wid" IDC_ZOOMAREA)
# Off the magnifier's middle, which shows the swatch's own colour, and off
# its cross-hair: the screenshot shows what the magnifier showed there.
mx=$((mx + 20)) my=$((my + 15))
read -r sx sy < <(bench_point "$wid" IDC_COLORAREA)
pointer() { wayland_pointer "$@" && sleep 0.05; }
times=()
for ((i = 0; i < presses; i++)); do
    pointer "$mx" "$my" 0 && pointer "$mx" "$my" 1 && sleep 1
    pointer $((100 + i * 7)) 700 1 && sleep 0.1 && pointer $((100 + i * 7)) 700 0 && sleep 0.2
    pointer "$mx" "$my" 0 && sleep 0.2
    coproc WATCH { "$pixel_change" "$wid" $((sx - ox)) $((sy - oy)); }
    read -r _ <&"${WATCH[0]}"
    echo go >&"${WATCH[1]}" && wayland_pointer "$mx" "$my" 1
    read -r ms <&"${WATCH[0]}"
    wait "${WATCH_PID:-}" 2>/dev/null || true
    times+=("$ms")
    # Released where it was pressed, the press would be a click, and the
    # next press would end click-sampling instead of starting a drag.
    pointer $((100 + i * 7)) 600 1 && sleep 0.1 && pointer $((100 + i * 7)) 600 0 && sleep 0.2
done
printf '%s\n' "${times[@]}" | sort -n | awk -v desktop="$desktop" '{ t[NR] = $1 } END {
    printf "press to first sample through the portal on %s, %d presses: median %.1f ms, fastest %.1f, slowest %.1f\n",
        desktop, NR, (t[int((NR + 1) / 2)] + t[int(NR / 2) + 1]) / 2, t[1], t[NR] }'
