#!/usr/bin/env bash
# bench/portal_press.sh [PRESSES [PROGRAM]]
# Press to first sample through the desktop's screenshot portal: on a private
# headless sway desktop (scripts/with-sway.sh, 1280 x 800) the program runs
# through XWayland; each press in the magnifier (PRESSES, default 20) is timed
# from when the press is sent until the swatch shows a new colour, which it
# can only once the portal's picture is in. Between presses a drag to another
# point of the background sets the swatch to a colour the next press changes.
# Prints the median, the fastest and the slowest in ms.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/bench/lib.sh"
presses=${1:-20}
program=$(realpath "${2:-$build/app/tintgrabber}")
pixel_change=$build/bench/pixel_change
bench_require portal_press.sh "$program" "$pixel_change" "$dialog_layout" \
    "$build/tests/desktop/tools/pattern_png"
if [ -z "${TG_BENCH_ON_DISPLAY:-}" ]; then
    TG_BENCH_ON_DISPLAY=1 exec "$root/scripts/with-sway.sh" -- "$0" "$presses" "$program"
fi

"$build/tests/desktop/tools/pattern_png" /tmp/pattern.png 1280 800 && chmod 644 /tmp/pattern.png
swaymsg -q output HEADLESS-1 bg /tmp/pattern.png stretch
bench_fresh_user
unset QT_QPA_PLATFORM
"$program" 2>/dev/null &
for _ in $(seq 100); do
    wid=$(xdotool search --all --onlyvisible --name '^Tintgrabber$' 2>/dev/null | head -n 1) && break
    sleep 0.05
done
[ -n "$wid" ] || { echo "portal_press.sh: the program did not start" >&2; exit 1; }
sleep 0.5
read -r ox oy w h < <(bench_geometry "$wid")
# wayvnc's pointer, as tests/desktop/wayland_test.sh drives it.
exec 5> >(exec socat - UNIX-CONNECT:/tmp/vnc >/dev/null)
printf 'RFB 003.008\n\001\001' >&5
pointer() { printf "$(printf '\\%03o' 5 "$3" $(($1 >> 8)) $(($1 & 255)) $(($2 >> 8)) $(($2 & 255)))" >&5; }
read -r mx my < <(bench_point "$wid" IDC_ZOOMAREA)
read -r sx sy < <(bench_point "$wid" IDC_COLORAREA)
times=()
for ((i = 0; i < presses; i++)); do
    pointer "$mx" "$my" 0 && pointer "$mx" "$my" 1 && sleep 1
    pointer $((100 + i * 7)) 700 1 && sleep 0.1 && pointer $((100 + i * 7)) 700 0 && sleep 0.2
    pointer "$mx" "$my" 0 && sleep 0.2
    coproc WATCH { "$pixel_change" "$wid" $((sx - ox)) $((sy - oy)); }
    read -r _ <&"${WATCH[0]}"
    echo go >&"${WATCH[1]}" && pointer "$mx" "$my" 1
    read -r ms <&"${WATCH[0]}"
    wait "$WATCH_PID" || true
    times+=("$ms")
    pointer "$mx" "$my" 0 && sleep 0.2
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END {
    printf "press to first sample through the portal, %d presses: median %.1f ms, fastest %.1f, slowest %.1f\n",
        NR, (t[int((NR + 1) / 2)] + t[int(NR / 2) + 1]) / 2, t[1], t[NR] }'
