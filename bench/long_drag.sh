#!/usr/bin/env bash
# bench/long_drag.sh [MOVES] [PROGRAM]
# One drag from the magnifier of MOVES pointer moves (100000 by default), sent
# as fast as xdotool goes, over paint_root's pattern on a private Xvfb with
# openbox. Prints, after a warm-up of 1000 moves and then every tenth of the
# drag, what the program holds: resident memory, open file descriptors,
# threads, shared-memory segments, and its X resources (windows, pixmaps, GCs,
# pictures, cursors, bytes, from the X-Resource extension through xrestop).
# Then says whether memory grew by less than 1 MB, every count stayed the
# same, and the drag was followed to its end. A bench: it prints figures and
# exits 0 either way, unless the session broke.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/bench/lib.sh"
moves=${1:-100000}
program=$(realpath "${2:-$root/build/default/app/tintgrabber}")
if [ -z "${TG_BENCH_ON_DISPLAY:-}" ]; then
    bench_require long_drag "$program" "$map_timer" "$paint_root" "$dialog_layout"
    command -v xrestop >/dev/null || { echo "long_drag: xrestop is not installed" >&2; exit 2; }
fi
bench_on_desktop "$moves" "$program"

bench_fresh_user
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
"$paint_root" --pattern
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
read -r _ pid wid _ < <("$map_timer" --keep "$program")
sleep 1

# What the program holds, as "NAME VALUE" lines.
holdings() {
    awk '/^VmRSS:/ { print "rss_kB", $2 } /^Threads:/ { print "threads", $2 }' "/proc/$pid/status"
    echo "fds $(find "/proc/$pid/fd" -mindepth 1 | wc -l)"
    # System V segments the program made (MIT-SHM screen reads).
    echo "shm_segments $(awk -v pid="$pid" 'NR > 1 && $5 == pid { n++ } END { print n + 0 }' \
        /proc/sysvipc/shm)"
    # The X client that owns our window: its resource base is the window id
    # with the client's bits cleared.
    xrestop -b -m 1 2>/dev/null | awk -v base="$(printf '0x%x' $((wid & ~0x1fffff)))" '
        /^[0-9]+ - / { mine = 0 }
        $1 == "res_base" { mine = ($3 == base) }
        mine && /^\t(windows|pixmaps|GCs|pictures|glyphsets|cursors|colormaps|fonts|passive grabs|unknowns|total bytes)/ {
            line = $0; sub(/^\t/, "", line); split(line, kv, /[ \t]*: */)
            name = kv[1]; gsub(/ /, "_", name); value = kv[2]; sub(/^~/, "", value)
            print "x_" name, value
        }'
}

# A zig-zag over the whole screen, at most 5000 moves per xdotool run (the
# button stays down between runs).
move_batch() {
    local from=$1 count=$2 args=() i
    for ((i = from; i < from + count; i++)); do
        args+=(mousemove $(((i * 37) % screen_w)) $(((i * 17) % screen_h)))
        [ $(((i - from) % 5000)) -eq 4999 ] && { xdotool "${args[@]}"; args=(); }
    done
    [ ${#args[@]} -eq 0 ] || xdotool "${args[@]}"
}
verdict() { if "${@:2}"; then echo "ok: $1"; else echo "NOT SO: $1"; fi; }

# shellcheck disable=SC2046 # the magnifier's centre, "X Y"
xdotool mousemove $(bench_point "$wid" IDC_ZOOMAREA) mousedown 1 sleep 0.1
warmup=1000
move_batch 0 "$warmup"
sleep 1
mapfile -t before < <(holdings)
start=$(date +%s.%N)
step=$(((moves - warmup) / 10))
done_moves=$warmup
printf '%8s  %s\n' moves "$(printf '%s ' "${before[@]%% *}")"
printf '%8d  %s\n' "$done_moves" "$(printf '%s ' "${before[@]##* }")"
while [ "$done_moves" -lt "$moves" ]; do
    count=$((done_moves + step > moves ? moves - done_moves : step))
    move_batch "$done_moves" "$count"
    done_moves=$((done_moves + count))
    sleep 0.5
    mapfile -t now < <(holdings)
    printf '%8d  %s\n' "$done_moves" "$(printf '%s ' "${now[@]##* }")"
done
xdotool mouseup 1
elapsed=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
cpu_ms=$(awk '/se.sum_exec_runtime/ { s += $3 } END { printf "%d", s }' /proc/"$pid"/task/*/sched)
echo "moves sent: $moves in $elapsed s; program CPU time: $cpu_ms ms"

verdict "the program still runs" kill -0 "$pid"
# The drag was followed to its end: the "#HTML" button copies the colour at
# the last move.
expected=$(bench_pattern_hex $((((moves - 1) * 37) % screen_w)) $((((moves - 1) * 17) % screen_h)))
echo none | xclip -i -selection clipboard
# shellcheck disable=SC2046
xdotool mousemove --sync $(bench_point "$wid" IDC_COPYHASHHEX) click 1 sleep 0.5
verdict "the colour at the last move, $expected, is copied" \
    test "$(xclip -o -selection clipboard 2>/dev/null)" = "$expected"
growth=$((${now[0]##* } - ${before[0]##* }))
verdict "resident memory grew by $growth kB, less than 1 MB" test "$growth" -lt 1024
for i in "${!before[@]}"; do
    case ${before[i]%% *} in rss_kB | x_total_bytes) continue ;; esac
    verdict "${before[i]%% *} stayed ${before[i]##* } (now ${now[i]##* })" \
        test "${before[i]##* }" = "${now[i]##* }"
done
echo "X resource bytes: ${before[-1]##* } -> ${now[-1]##* }"
