#!/usr/bin/env bash
# program_bench.sh [PROGRAM]
#
# The whole program on a private X desktop (Xvfb + openbox), measured as a
# user meets it, next to the peer gpick in the same run:
#   - start to window mapped: median of 10 starts after one warm-up start,
#     with the CPU the process had used by then;
#   - CPU while idle: 5 s with no input, shortly after start;
#   - two drags from the swatch over a painted root, 2,000 pointer moves each,
#     paced at 10 ms and at 4 ms (one xdotool process chaining its moves):
#     CPU per move (the scheduler's exact figure, all threads), whether the
#     fields showed the last pixel 100 ms after the last move (read back
#     through the "#HTML" copy button and the clipboard), and how long the
#     process still used CPU after the pause that follows the last move;
#   - peak (VmHWM) and final (VmRSS) resident memory.
# gpick has no drag: its window is made active and the pointer moves over the
# same path while its continuous pick samples on its own timer.
# Where the build has bench/move_floor, its two drags are measured too: a Qt
# Widgets window that repaints as many widgets per move as the sampler and
# does nothing else, the floor under any program built this way.
#
# Both run as for a new user (an empty HOME) with a session bus that starts
# no services. PROGRAM defaults to build/default/app/tintgrabber. The helpers map_timer and
# paint_root come from the same build (BENCH_BUILD, default build/default);
# this script builds nothing. gpick is installed with apt-get when missing
# (root or password-less sudo), else its column is left out. Figures only:
# nothing here fails on time.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/default/app/tintgrabber}")
build=$(realpath "${BENCH_BUILD:-$root/build/default}")
map_timer=$build/bench/map_timer
move_floor=$build/bench/move_floor
paint_root=$build/tests/desktop/tools/paint_root

MOVES=${BENCH_MOVES:-2000}
STARTS=10
. "$root/bench/lib.sh"

if [ -z "${TG_BENCH_ON_DISPLAY:-}" ]; then
    bench_require program_bench "$program" "$map_timer" "$paint_root"
    if ! command -v gpick >/dev/null; then
        install="DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends gpick"
        if [ "$(id -u)" -eq 0 ]; then
            sh -c "$install" >/dev/null 2>&1 ||
                { apt-get update >/dev/null 2>&1 && sh -c "$install" >/dev/null 2>&1; } || true
        elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
            sudo sh -c "$install" >/dev/null 2>&1 || true
        fi
        command -v gpick >/dev/null || echo "program_bench: gpick could not be installed; measuring the program alone" >&2
    fi
fi
bench_on_desktop "$program"

# --- on the private display from here on ---------------------------------

# Both programs start as for a new user: no settings yet, nothing cached but
# the system's caches.
bench_fresh_user
started=()
cleanup() {
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${started[@]}"; do
        bench_gone "$pid" 100 || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# A pause without starting a process: a read that times out on a pipe that
# never delivers.
exec {nap_fd}<> <(:)
nap() { read -r -t "$1" -u "$nap_fd" _ || true; }
"$paint_root" --pattern

# CPU nanoseconds of every thread of a process so far: the first field of
# each thread's schedstat is its se.sum_exec_runtime, in nanoseconds. Read
# without forking, so that the benchmark's own work stays off the CPU it
# measures.
cpu_ns() {
    local file ns total=0
    for file in /proc/"$1"/task/*/schedstat; do
        read -r ns _ <"$file" 2>/dev/null || continue
        total=$((total + ns))
    done
    echo "$total"
}
ns_to_ms() { awk -v ns="$1" -v n="${2:-1}" 'BEGIN { printf "%.3f", ns / 1e6 / n }'; }
now_ns() { date +%s%N; }
status_kb() { awk -v key="$2:" '$1 == key { print $2 }' /proc/"$1"/status; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b + 0 == 0) print "-"; else printf "%.2f", a / b }'; }
scaled() { awk -v a="$1" -v b="$2" -v c="$3" 'BEGIN { printf "%d", (a * b * 2 + c) / (c * 2) }'; }

# The path both programs' pointers follow: steps of 3 and 2 pixels wrapping
# in an 800 x 500 box, so every move lands on a new colour of the pattern.
path_x() { echo $((200 + ($1 * 3) % 800)); }
path_y() { echo $((150 + ($1 * 2) % 500)); }
pattern_hex() {
    local x=$1 y=$2
    printf '#%02x%02x%02x' $((x % 256)) $((y % 256)) $((((x >> 8) * 37 + (y >> 8) * 101 + 3 * x + 5 * y) % 256))
}

# One xdotool process moves the pointer over the whole path, pausing between
# moves. Prints the milliseconds it took.
drive_path() {
    local pause=$1 i args=()
    for ((i = 0; i < MOVES; i++)); do
        args+=(mousemove $((200 + (i * 3) % 800)) $((150 + (i * 2) % 500)) sleep "$pause")
    done
    local t0 t1
    t0=$(now_ns)
    xdotool "${args[@]}"
    t1=$(now_ns)
    ns_to_ms $((t1 - t0))
}

# Waits until the process's CPU stops growing for 50 ms, at most 3 s; prints
# the milliseconds from the call to its last growth.
settle_ms() {
    local pid=$1 start last_change before now quiet=0 tries=0
    start=$(now_ns)
    last_change=$start
    before=$(cpu_ns "$pid")
    while [ $quiet -lt 10 ] && [ $tries -lt 600 ]; do
        nap 0.005
        now=$(cpu_ns "$pid")
        if [ "$now" != "$before" ]; then
            last_change=$(now_ns)
            before=$now
            quiet=0
        else
            quiet=$((quiet + 1))
        fi
        tries=$((tries + 1))
    done
    ns_to_ms $((last_change - start))
}

startup() {
    local name=$1 i line
    shift
    : >"$work/$name.starts"
    for ((i = 0; i <= STARTS; i++)); do
        line=$("$map_timer" "$@") || { echo "program_bench: $name mapped no window" >&2; return 1; }
        # The first start on a fresh server warms caches; it is not counted.
        [ "$i" -gt 0 ] && echo "$line" >>"$work/$name.starts"
        sleep 0.2
    done
    R[$name.start]=$(cut -d' ' -f1 "$work/$name.starts" | median)
    R[$name.startcpu]=$(cut -d' ' -f4 "$work/$name.starts" | median)
}

# Starts a program for the long run; sets PID and WID.
launch() {
    local line
    line=$("$map_timer" --keep "$@")
    PID=$(echo "$line" | cut -d' ' -f2)
    WID=$(echo "$line" | cut -d' ' -f3)
    started+=("$PID")
    sleep 1
}

idle() {
    local name=$1 pid=$2 c0 c1
    c0=$(cpu_ns "$pid")
    sleep 5
    c1=$(cpu_ns "$pid")
    R[$name.idle]=$(ns_to_ms $((c1 - c0)))
}

client_origin() { xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 } END { print x, y }'; }
client_size() { xwininfo -id "$1" | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w, h }'; }

# Our window's template is 273 x 58 dialog units; the swatch (ColorArea) is
# at 212,12 59x30 and the "#HTML" button at 61,2 41x11. Their centres scale
# with the window's real size, whatever the font.
template_point() {
    local wid=$1 ux=$2 uy=$3 ox oy w h
    read -r ox oy < <(client_origin "$wid")
    read -r w h < <(client_size "$wid")
    echo "$((ox + $(scaled "$ux" "$w" 546))) $((oy + $(scaled "$uy" "$h" 116)))"
}

# One drag from our swatch along the path; records CPU per move and whether
# the fields showed the last pixel.
our_drag() {
    local key=$1 pause=$2 sx sy bx by c0 c1 took caught expected shown
    read -r sx sy < <(template_point "$WID" 483 54)
    read -r bx by < <(template_point "$WID" 163 15)
    echo none | xclip -i -selection clipboard
    xdotool mousemove --sync "$sx" "$sy" mousedown 1
    sleep 0.2
    c0=$(cpu_ns "$PID")
    took=$(drive_path "$pause")
    caught=$(settle_ms "$PID")
    c1=$(cpu_ns "$PID")
    # The fields were read 100 ms after the last move by a user: release there.
    sleep 0.1
    xdotool mouseup 1
    xdotool mousemove --sync "$bx" "$by" click 1
    sleep 0.2
    expected=$(pattern_hex "$(path_x $((MOVES - 1)))" "$(path_y $((MOVES - 1)))")
    shown=$(xclip -o -selection clipboard 2>/dev/null || true)
    R[ours.$key.cpu]=$(ns_to_ms $((c1 - c0)) "$MOVES")
    R[ours.$key.took]=$took
    R[ours.$key.caught]=$caught
    if [ "$shown" = "$expected" ]; then
        R[ours.$key.kept]=yes
    else
        R[ours.$key.kept]="no ($shown, expected $expected)"
    fi
}

peer_drag() {
    local key=$1 pause=$2 c0 c1 took caught
    xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || true
    xdotool mousemove --sync "$(path_x 0)" "$(path_y 0)"
    sleep 0.2
    c0=$(cpu_ns "$PID")
    took=$(drive_path "$pause")
    c1=$(cpu_ns "$PID")
    R[gpick.$key.cpu]=$(ns_to_ms $((c1 - c0)) "$MOVES")
    R[gpick.$key.took]=$took
    R[gpick.$key.caught]=-
    R[gpick.$key.kept]="- (samples on a timer)"
}

# A drag in move_floor: pressed in its window's middle, then the same path.
floor_drag() {
    local key=$1 pause=$2 ox oy w h c0 c1
    read -r ox oy < <(client_origin "$WID")
    read -r w h < <(client_size "$WID")
    xdotool mousemove --sync $((ox + w / 2)) $((oy + h / 2)) mousedown 1
    sleep 0.2
    c0=$(cpu_ns "$PID")
    R[floor.$key.took]=$(drive_path "$pause")
    R[floor.$key.caught]=$(settle_ms "$PID")
    c1=$(cpu_ns "$PID")
    xdotool mouseup 1
    R[floor.$key.cpu]=$(ns_to_ms $((c1 - c0)) "$MOVES")
    R[floor.$key.kept]=-
}

memory() {
    local name=$1 pid=$2
    R[$name.peak]=$(awk -v k="$(status_kb "$pid" VmHWM)" 'BEGIN { printf "%.1f", k / 1024 }')
    R[$name.final]=$(awk -v k="$(status_kb "$pid" VmRSS)" 'BEGIN { printf "%.1f", k / 1024 }')
}

declare -A R
names=(ours)
command -v gpick >/dev/null && names+=(gpick)
[ -x "$move_floor" ] && names+=(floor)

echo "program_bench: $program, $MOVES moves a drag, on $(nproc) CPUs, load $(cut -d' ' -f1-3 /proc/loadavg)"

startup ours "$program"
# gpick's complaints about its session (no accessibility bus, no user
# scripts) are not ours to show.
peer=(sh -c 'exec gpick >/dev/null 2>&1')
[[ " ${names[*]} " == *" gpick "* ]] && startup gpick "${peer[@]}"
[[ " ${names[*]} " == *" floor "* ]] && startup floor "$move_floor"

launch "$program"
# Top left, clear of the path.
xdotool windowmove "$WID" 0 0 >/dev/null 2>&1 || true
sleep 0.3
idle ours "$PID"
our_drag 10ms 0.01
our_drag 4ms 0.004
memory ours "$PID"
kill "$PID"
bench_gone "$PID" 50 || true

if [[ " ${names[*]} " == *" floor "* ]]; then
    launch "$move_floor"
    xdotool windowmove "$WID" 0 0 >/dev/null 2>&1 || true
    sleep 0.3
    idle floor "$PID"
    floor_drag 10ms 0.01
    floor_drag 4ms 0.004
    memory floor "$PID"
    kill "$PID"
    bench_gone "$PID" 50 || true
fi

if [[ " ${names[*]} " == *" gpick "* ]]; then
    launch "${peer[@]}"
    idle gpick "$PID"
    peer_drag 10ms 0.01
    peer_drag 4ms 0.004
    memory gpick "$PID"
    kill "$PID"
    bench_gone "$PID" 50 || true
fi

row() {
    local label=$1 key=$2 unit=$3 name
    printf '%-40s %14s' "$label" "${R[ours.$key]:--}$unit"
    for name in "${names[@]:1}"; do
        printf ' %14s %8s' "${R[$name.$key]:--}$unit" "$(ratio "${R[$name.$key]:-}" "${R[ours.$key]:-}")"
    done
    echo
}
echo
printf '%-40s %14s' "" "tintgrabber"
for name in "${names[@]:1}"; do
    printf ' %14s %8s' "$name" "$name/us"
done
echo
row "start to window mapped (median of $STARTS)" start " ms"
row "  CPU used by then (median)" startcpu " ms"
row "idle CPU over 5 s" idle " ms"
row "CPU per move, moves every 10 ms" 10ms.cpu " ms"
row "  xdotool took for $MOVES moves" 10ms.took " ms"
row "  busy after the last move's pause" 10ms.caught " ms"
row "  last pixel shown within 100 ms" 10ms.kept ""
row "CPU per move, moves every 4 ms" 4ms.cpu " ms"
row "  xdotool took for $MOVES moves" 4ms.took " ms"
row "  busy after the last move's pause" 4ms.caught " ms"
row "  last pixel shown within 100 ms" 4ms.kept ""
row "peak resident memory (VmHWM)" peak " MB"
row "final resident memory (VmRSS)" final " MB"
