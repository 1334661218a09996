#!/usr/bin/env bash
# startup_bench.sh [-n STARTS] [-c OTHER_PROGRAM]... [PROGRAM [ARG]...]
#
# Start-up alone, quickly: starts PROGRAM STARTS times (default 20) on a
# private X desktop (Xvfb + openbox) after one warm-up start, as for a new
# user (an empty HOME, a session bus that starts no services), and prints
# each start, then the medians of
#   - the milliseconds from exec to the program's window mapped,
#   - the CPU milliseconds the process had used by then (all threads),
#   - its peak resident memory (VmHWM) half a second after the window mapped.
# Each -c names another program (without arguments), started in turn with
# PROGRAM, start for start, so that a busy machine disturbs all alike: an
# earlier build, or an empty Qt window, side by side.
# PROGRAM defaults to build/default/app/tintgrabber; map_timer comes from
# BENCH_BUILD (default build/default). Variables in the environment reach the
# programs, so e.g. "QT_XCB_GL_INTEGRATION=xcb_glx bench/startup_bench.sh"
# compares a setting. Figures only: nothing here fails on time.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
starts=20
others=()
while [ $# -gt 0 ]; do
    case "$1" in
    -n) starts=$2; shift 2 ;;
    -c) others+=("$(realpath "$2")"); shift 2 ;;
    *) break ;;
    esac
done
[ $# -gt 0 ] || set -- "$root/build/default/app/tintgrabber"
build=$(realpath "${BENCH_BUILD:-$root/build/default}")
map_timer=$build/bench/map_timer
. "$root/bench/lib.sh"

bench_require startup_bench "$map_timer"
other_args=()
for other in "${others[@]}"; do
    other_args+=(-c "$other")
done
bench_on_desktop -n "$starts" "${other_args[@]}" "$@"

bench_fresh_user
trap 'rm -rf "$work"' EXIT

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One start of program number $1 (0 is PROGRAM); counted unless $2 is 0.
start() {
    local k=$1 counted=$2 ms pid cpu peak
    shift 2
    read -r ms pid _ cpu < <("$map_timer" --keep "$@") ||
        { echo "startup_bench: no window of $1 mapped" >&2; exit 1; }
    sleep 0.5
    peak=$(awk '$1 == "VmHWM:" { printf "%.1f", $2 / 1024 }' /proc/"$pid"/status)
    kill "$pid" 2>/dev/null || true
    bench_gone "$pid" 50 || true
    if [ "$counted" = 1 ]; then
        printf '%10s %10s %10s  %s\n' "$ms" "$cpu" "$peak" "$(basename "$1")"
        echo "$ms $cpu $peak" >>"$work/starts.$k"
    fi
}

programs=("$1" "${others[@]}")
echo "startup_bench: $*, $starts starts, on $(nproc) CPUs, load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%10s %10s %10s\n' "mapped ms" "CPU ms" "peak MB"
for ((i = 0; i <= starts; i++)); do
    # The first start on a fresh server warms caches; it is not counted.
    counted=$((i > 0 ? 1 : 0))
    start 0 "$counted" "$@"
    for ((k = 1; k < ${#programs[@]}; k++)); do
        start "$k" "$counted" "${programs[k]}"
    done
done
echo "medians of $starts starts:"
for ((k = 0; k < ${#programs[@]}; k++)); do
    printf '%10s %10s %10s  %s\n' "$(cut -d' ' -f1 "$work/starts.$k" | median)" \
        "$(cut -d' ' -f2 "$work/starts.$k" | median)" "$(cut -d' ' -f3 "$work/starts.$k" | median)" \
        "${programs[k]}"
done
