#!/usr/bin/env bash
# program_bench.sh [PROGRAM]...
#
# Whole programs on a private X desktop (Xvfb + openbox), measured as a user
# meets them, in one run and one table: each tintgrabber build given (default
# build/default/app/tintgrabber), then the peer gpick, then bench/move_floor,
# a Qt Widgets window that repaints as many widgets per move as the sampler and
# does nothing else, the floor under any program built this way. For each:
#   - start to window mapped: median of 10 starts after one warm-up start,
#     with the CPU the process had used by then;
#   - CPU while idle: 5 s with no input, shortly after start;
#   - two drags over a painted root, 2,000 pointer moves each, paced at 10 ms
#     and at 4 ms (one xdotool process chaining its moves): CPU per move (the
#     scheduler's exact figure, all threads) and, for tintgrabber, whether the
#     fields showed the last pixel 100 ms after the last move (read back
#     through the "#HTML" copy button and the clipboard);
#   - latency from a pointer move to the swatch on screen showing the colour
#     now under the pointer (bench/swatch_latency): 300 moves 20 ms apart;
#   - peak (VmHWM) and final (VmRSS) resident memory.
# gpick has no drag: its window is made active and its continuous pick
# samples the pointer on its own timer, so its CPU per move is its CPU during
# the moves divided by their number.
#
# All run as for a new user (an empty HOME) with a session bus that starts no
# services. gpick is installed with apt-get when missing (as root or with
# password-less sudo), else its column is left out. Figures only: nothing here
# fails on time.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/bench/lib.sh"
MOVES=${BENCH_MOVES:-2000}
STARTS=10
programs=()
for program in "${@:-$root/build/default/app/tintgrabber}"; do
    programs+=("$(realpath "$program")")
done

if [ -z "${TG_BENCH_ON_DISPLAY:-}" ]; then
    bench_require program_bench "${programs[@]}" "$map_timer" "$paint_root" "$dialog_layout" \
        "$build/bench/swatch_latency"
    if ! command -v gpick >/dev/null; then
        as_root=()
        [ "$(id -u)" -eq 0 ] || as_root=(sudo -n)
        install=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y
            --no-install-recommends gpick)
        { "${install[@]}" || { "${as_root[@]}" apt-get update && "${install[@]}"; }; } \
            >/dev/null 2>&1 || echo "program_bench: gpick could not be installed" >&2
    fi
fi
bench_on_desktop "${programs[@]}"

# --- on the private display from here on ---------------------------------

bench_fresh_user
PID=
trap '[ -n "$PID" ] && kill "$PID" 2>/dev/null && bench_gone "$PID" 100; rm -rf "$work"' EXIT
# A pause without starting a process: a read that times out on a pipe that
# never delivers.
exec {nap_fd}<> <(:)
nap() { read -r -t "$1" -u "$nap_fd" _ || true; }
"$paint_root" --pattern

# CPU nanoseconds of every thread of a process so far, the first field of
# each thread's schedstat. Read without forking, so that the benchmark's own
# work stays off the CPU it measures.
cpu_ns() {
    local file ns total=0
    for file in /proc/"$1"/task/*/schedstat; do
        read -r ns _ <"$file" 2>/dev/null || continue
        total=$((total + ns))
    done
    echo "$total"
}
ms() { awk -v ns="$1" -v n="${2:-1}" 'BEGIN { printf "%.3f", ns / 1e6 / n }'; }
mb() { awk -v key="$2:" '$1 == key { printf "%.1f", $2 / 1024 }' /proc/"$1"/status; }
median() { sort -g | awk '{ v[NR] = $1 } END { printf "%.1f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Waits until the process's CPU has not grown for 50 ms, at most 3 s: the
# moves still queued when the last was sent are handled by then.
settle() {
    local before now quiet=0 tries=0
    before=$(cpu_ns "$1")
    while [ $quiet -lt 10 ] && [ $((tries++)) -lt 600 ]; do
        nap 0.005
        now=$(cpu_ns "$1")
        if [ "$now" = "$before" ]; then quiet=$((quiet + 1)); else quiet=0 before=$now; fi
    done
}

startup() {
    local i line
    for ((i = 0; i <= STARTS; i++)); do
        line=$("$map_timer" "$@") || { echo "program_bench: $1 mapped no window" >&2; exit 1; }
        # The first start on a fresh server warms caches; it is not counted.
        [ "$i" -eq 0 ] || echo "$line"
        sleep 0.2
    done >"$work/starts"
    R[$col.start]=$(cut -d' ' -f1 "$work/starts" | median)
    R[$col.startcpu]=$(cut -d' ' -f4 "$work/starts" | median)
}

# One drag at a pace, pressed where our swatch is or in the floor's middle;
# gpick only follows the pointer.
drag() {
    local pace=$1 c0 x=$((200 + ((MOVES - 1) * 3) % 800)) y=$((150 + ((MOVES - 1) * 2) % 500))
    bench_path 0 "$MOVES" "$pace"
    case $kind in
    ours) xdotool mousemove --sync $(bench_point "$WID" IDC_COLORAREA) mousedown 1 ;;
    floor) xdotool mousemove --sync $((ox + w / 2)) $((oy + h / 2)) mousedown 1 ;;
    gpick) xdotool windowactivate --sync "$WID" mousemove --sync "${path_args[@]:1:2}" ;;
    esac
    sleep 0.2
    c0=$(cpu_ns "$PID")
    xdotool "${path_args[@]}"
    [ "$kind" = gpick ] || settle "$PID"
    R[$col.cpu$pace]=$(ms $(($(cpu_ns "$PID") - c0)) "$MOVES")
    [ "$kind" = gpick ] && return
    # A user reads the fields 100 ms after the last move, and releases there.
    sleep 0.1
    xdotool mouseup 1
    [ "$kind" = ours ] || return 0
    echo none | xclip -i -selection clipboard
    xdotool mousemove --sync $(bench_point "$WID" IDC_COPYHASHHEX) click 1
    sleep 0.2
    local shown expected
    shown=$(xclip -o -selection clipboard 2>/dev/null || true)
    expected=$(bench_pattern_hex "$x" "$y")
    [ "$shown" = "$expected" ] && shown=yes || shown="no ($shown, not $expected)"
    R[$col.kept]+="${R[$col.kept]:+ / }$shown"
}

latency() {
    local p50 p99 max missed
    case $kind in
    ours) xdotool mousemove --sync $(bench_point "$WID" IDC_COLORAREA) mousedown 1 ;;
    gpick) xdotool windowactivate --sync "$WID" ;;
    *) return ;;
    esac
    sleep 0.2
    read -r p50 p99 max missed _ < <("$build/bench/swatch_latency" "$ox" "$oy" "$w" "$h" 300 20) ||
        true
    [ "$kind" = ours ] && xdotool mouseup 1
    R[$col.latency]="${p50:--} / ${p99:--}"
    R[$col.latmax]="${max:--} / ${missed:--}"
}

# Starts the program for the long run in the top left, clear of the path,
# then measures it.
measure() {
    local line
    startup "$@"
    line=$("$map_timer" --keep "$@")
    read -r _ PID WID _ <<<"$line"
    sleep 1
    xdotool windowmove "$WID" 0 0 >/dev/null 2>&1 || true
    sleep 0.3
    read -r ox oy w h < <(bench_geometry "$WID")
    local c0
    c0=$(cpu_ns "$PID")
    sleep 5
    R[$col.idle]=$(ms $(($(cpu_ns "$PID") - c0)))
    drag 0.01
    drag 0.004
    latency
    R[$col.rss]="$(mb "$PID" VmHWM) / $(mb "$PID" VmRSS)"
    kill "$PID"
    bench_gone "$PID" 50 || true
    PID=
}

declare -A R
echo "program_bench: $MOVES moves a drag, on $(nproc) CPUs, load $(cut -d' ' -f1-3 /proc/loadavg)"
for ((col = 0; col < ${#programs[@]}; col++)); do
    kind=ours R[$col.label]=${programs[col]}
    measure "${programs[col]}"
done
if command -v gpick >/dev/null; then
    # Its complaints about its session (no accessibility bus, no user
    # scripts) are not ours to show.
    kind=gpick R[$col.label]=gpick
    measure sh -c 'exec gpick >/dev/null 2>&1'
    col=$((col + 1))
fi
if [ -x "$build/bench/move_floor" ]; then
    kind=floor R[$col.label]="Qt floor (move_floor)"
    measure "$build/bench/move_floor"
    col=$((col + 1))
fi

row() {
    local c label
    printf '%-42s' "$1"
    for ((c = 0; c < col; c++)); do
        label=${R[$c.label]}
        printf '  %-*s' $((${#label} > 24 ? ${#label} : 24)) "${R[$c.$2]:--}"
    done
    echo
}
echo
row "" label
row "start to window mapped, ms (median of $STARTS)" start
row "  CPU used by then, ms (median)" startcpu
row "idle CPU over 5 s, ms" idle
row "CPU per move, ms, moves every 10 ms" cpu0.01
row "CPU per move, ms, moves every 4 ms" cpu0.004
row "last pixel shown 100 ms later (10 / 4 ms)" kept
row "move to swatch on screen, ms, p50 / p99" latency
row "  max ms / moves missed (of 300)" latmax
row "resident memory, MB, peak / final" rss
