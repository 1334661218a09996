#!/usr/bin/env bash
# startup_callgrind.sh [PROGRAM]
#
# Instructions the program executes from exec to its window mapped, counted
# by callgrind per thread: figures that, unlike start-up times, a busy
# machine does not disturb. The program starts under callgrind on a private
# X desktop as for a new user (as startup_bench.sh starts it); callgrind
# writes its counts when main() begins, when the font thread starts
# (FontConfigPreloader), when main() waits for it (FontConfigPreloader::wait),
# and once the window is mapped (the last count takes in what runs until
# callgrind takes the request, most often the first paint).
# Prints the main thread's instructions between those points, each other
# thread's, and the critical path on two or more idle cores: the main thread
# up to the font thread's start, then the longer of the two up to the wait,
# then the rest.
#
# PROGRAM defaults to build/default/app/tintgrabber; map_timer comes from
# BENCH_BUILD (default build/default). Builds nothing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/default/app/tintgrabber}")
build=$(realpath "${BENCH_BUILD:-$root/build/default}")
. "$root/bench/lib.sh"

if [ -z "${TG_BENCH_ON_DISPLAY:-}" ]; then
    bench_require startup_callgrind "$program" "$build/bench/map_timer"
    command -v valgrind >/dev/null || { echo "startup_callgrind: valgrind is not installed" >&2; exit 2; }
fi
bench_on_desktop "$program"

bench_fresh_user
bench_end_with_work

out=$work/callgrind.out
line=$("$build/bench/map_timer" --keep valgrind --tool=callgrind --separate-threads=yes \
    --dump-before=main --dump-before='FontConfigPreloader::FontConfigPreloader*' \
    --dump-before='FontConfigPreloader::wait*' \
    --callgrind-out-file="$out" "$program")
pid=$(echo "$line" | cut -d' ' -f2)
# Dumps written so far (one file for each of the main thread), then the
# dump at the window mapped, complete once its totals are written.
dumps=$(find "$work" -name 'callgrind.out.*-01' | wc -l)
callgrind_control --dump=mapped "$pid" >/dev/null 2>&1
for _ in $(seq 1 600); do
    grep -qs '^totals:' "$out.$((dumps + 1))-01" && break
    sleep 0.1
done
kill "$pid"
pid=

# Instructions of dump $1 in thread $2; 0 where that dump has none.
count() {
    awk '/^totals:/ { print $2; found = 1 } END { if (!found) print 0 }' "$out.$1-$2" 2>/dev/null || echo 0
}
millions() { awk -v n="$1" 'BEGIN { printf "%.1f M", n / 1e6 }'; }

# Callgrind numbers its dumps: dump 1 runs to main(). With a font thread,
# dump 2 runs to its start, dump 3 to the wait for it and dump 4 to the window
# mapped; without one, dump 2 runs to the window mapped.
last=4
[ -s "$out.4-01" ] || last=2
main_dump() { if [ "$1" -le "$last" ]; then count "$1" 01; else echo 0; fi; }
pre=$(main_dump 1)
rest=$(main_dump "$last")
[ "$rest" -gt 0 ] || { echo "startup_callgrind: callgrind wrote no counts up to the window" >&2; exit 1; }
echo "startup_callgrind: $program"
printf '%-48s %12s\n' "main thread, before main()" "$(millions "$pre")"
before_thread=0
alongside=0
if [ "$last" = 4 ]; then
    before_thread=$(main_dump 2)
    alongside=$(main_dump 3)
    printf '%-48s %12s\n' "main thread, main() to the font thread's start" "$(millions "$before_thread")"
    printf '%-48s %12s\n' "main thread, from there to the wait for it" "$(millions "$alongside")"
    printf '%-48s %12s\n' "main thread, from the wait to window mapped" "$(millions "$rest")"
else
    printf '%-48s %12s\n' "main thread, main() to window mapped" "$(millions "$rest")"
fi
declare -A threads=()
for file in "$out".[1-4]-*; do
    thread=${file##*-}
    [ "$thread" != 01 ] && threads[$thread]=1
done
longest=0
for thread in $(printf '%s\n' "${!threads[@]}" | sort); do
    total=0
    for ((dump = 1; dump <= last; dump++)); do
        total=$((total + $(count "$dump" "$thread")))
    done
    printf '%-48s %12s\n' "thread $thread" "$(millions "$total")"
    [ "$total" -gt "$longest" ] && longest=$total
done
# Without a font thread no other thread holds up the window; with one, the
# longest other thread stands for it.
[ "$last" = 4 ] && [ "$longest" -gt "$alongside" ] && alongside=$longest
printf '%-48s %12s\n' "critical path on idle cores" "$(millions $((pre + before_thread + alongside + rest)))"
