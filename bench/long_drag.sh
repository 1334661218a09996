#!/usr/bin/env bash
# bench/long_drag.sh [MOVES] [BUILD_DIR]
# One drag of MOVES pointer moves (100000 by default), sent as fast as xdotool
# goes, over a known picture on a private Xvfb with openbox. Prints, after a
# warm-up of 1000 moves and then every tenth of the drag, what the program
# holds: resident memory, open file descriptors, threads, shared-memory
# segments, and its X resources (windows, pixmaps, GCs, pictures, cursors,
# bytes, from the X-Resource extension through xrestop). At the end it says
# whether memory grew by less than 1 MB and every count stayed the same. A
# bench: it prints figures and exits 0 either way, unless the session broke.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" != --session ]; then
    set -e
    cd "$here/.."
    moves=${1:-100000}
    build=${2:-build/default}
    [ -x "$build/app/tintgrabber" ] || scripts/build.sh
    command -v xrestop >/dev/null || scripts/setup.sh
    exec scripts/with-xvfb.sh --wm -- "$here/long_drag.sh" --session "$moves" "$(cd "$build" && pwd)"
fi

moves=$2
build=$3
. "$here/../tests/desktop/lib.sh"
read -r bx by < <("$build/tests/desktop/dialog_base_units")
"$build/tests/desktop/tools/paint_root" --pattern || { tg_fail "could not paint the root window"; tg_finish; }
read -r screen_w screen_h < <(xdotool getdisplaygeometry)

tg_start "$build/app/tintgrabber"
pid=$TG_PID
wid=$(tg_wait_window "$pid" Tintgrabber) || tg_finish
read -r ox oy < <(tg_window_origin "$wid")
read -r zx zy < <(tg_units_centre "$bx" "$by" 1 2 57 55)

# What the program holds, as "NAME VALUE" lines.
holdings() {
    awk '/^VmRSS:/ { print "rss_kB", $2 } /^Threads:/ { print "threads", $2 }' "/proc/$pid/status"
    echo "fds $(ls "/proc/$pid/fd" | wc -l)"
    # System V segments the program made (MIT-SHM screen reads).
    echo "shm_segments $(awk -v pid="$pid" 'NR > 1 && $5 == pid { n++ } END { print n + 0 }' \
        /proc/sysvipc/shm)"
    # The X client that owns our window: its resource base is the window id
    # with the client's bits cleared.
    local base
    base=$(printf '0x%x' $((wid & ~0x1fffff)))
    xrestop -b -m 1 2>/dev/null | awk -v base="$base" '
        /^[0-9]+ - / { mine = 0 }
        $1 == "res_base" { mine = ($3 == base) }
        mine && /^\t(windows|pixmaps|GCs|pictures|glyphsets|cursors|colormaps|fonts|passive grabs|unknowns|total bytes)/ {
            line = $0; sub(/^\t/, "", line); split(line, kv, /[ \t]*: */)
            name = kv[1]; gsub(/ /, "_", name); value = kv[2]; sub(/^~/, "", value)
            print "x_" name, value
        }'
}

# A zig-zag over the whole screen, one batch of moves per xdotool run (the
# button stays down between runs).
move_batch() {
    local from=$1 count=$2 args=() i
    for ((i = from; i < from + count; i++)); do
        args+=(mousemove $(((i * 37) % screen_w)) $(((i * 17) % screen_h)))
    done
    xdotool "${args[@]}"
}

xdotool mousemove $((ox + zx)) $((oy + zy)) mousedown 1 sleep 0.1
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
    count=$step
    [ $((done_moves + count)) -gt "$moves" ] && count=$((moves - done_moves))
    for ((b = 0; b < count; b += 5000)); do
        n=$((count - b < 5000 ? count - b : 5000))
        move_batch $((done_moves + b)) "$n"
    done
    done_moves=$((done_moves + count))
    sleep 0.5
    mapfile -t now < <(holdings)
    printf '%8d  %s\n' "$done_moves" "$(printf '%s ' "${now[@]##* }")"
done
xdotool mouseup 1
elapsed=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
cpu_ms=$(awk '/se.sum_exec_runtime/ { s += $3 } END { printf "%d", s }' /proc/"$pid"/task/*/sched)
echo "moves sent: $moves in $elapsed s; program CPU time: $cpu_ms ms"

assert_true "the program still runs" kill -0 "$pid"
# The drag was followed to its end: the #rrggbb copy button copies the
# picture's colour at the last move.
x=$((((moves - 1) * 37) % screen_w))
y=$((((moves - 1) * 17) % screen_h))
expected=$(printf '#%02x%02x%02x' $((x % 256)) $((y % 256)) \
    $((((x >> 8) * 37 + (y >> 8) * 101 + 3 * x + 5 * y) % 256)))
read -r cx cy < <(tg_units_centre "$bx" "$by" 61 2 41 11)
xdotool mousemove $((ox + cx)) $((oy + cy)) click 1
_clipboard_is() { [ "$(tg_clipboard)" = "$1" ]; }
assert_true "the colour at the last move is $expected" tg_wait_for 3 _clipboard_is "$expected"
growth=$((${now[0]##* } - ${before[0]##* }))
echo "resident memory grew by $growth kB"
assert_true "resident memory grew by less than 1 MB" test "$growth" -lt 1024
for i in "${!before[@]}"; do
    [ "${before[i]%% *}" = rss_kB ] && continue
    [ "${before[i]%% *}" = x_total_bytes ] && continue
    assert_eq "${before[i]%% *} unchanged" "${before[i]##* }" "${now[i]##* }"
done
echo "X resource bytes: ${before[-1]##* } -> ${now[-1]##* }"

tg_key "$wid" Escape
tg_wait_exit "$pid" 10 || tg_fail "Escape did not end the program"
tg_finish
