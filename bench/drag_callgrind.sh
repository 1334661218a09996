#!/usr/bin/env bash
# drag_callgrind.sh [PROGRAM]
#
# Instructions the whole program executes per pointer move of a drag, counted
# by callgrind: a figure that, unlike CPU time, a busy machine does not
# disturb. The program runs under callgrind on a private X desktop; its swatch
# is pressed, and callgrind counts only while the pointer moves BENCH_MOVES
# times (default 200) over the same path as program_bench.sh, one move every
# 100 ms so that the slowed program keeps up and handles every move. Before
# that, BENCH_WARMUP moves (default 200) over other points of the picture go
# uncounted: what the program learns once about its font and keeps is paid for
# there, so the count is that of a drag under way. Prints the count per move
# and the functions that take most of it.
#
# PROGRAM defaults to build/default/app/tintgrabber; map_timer and paint_root
# come from BENCH_BUILD (default build/default). Builds nothing. With
# BENCH_CALLGRIND_OUT=FILE the counts are kept in FILE.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/bench/lib.sh"
program=$(realpath "${1:-$root/build/default/app/tintgrabber}")
MOVES=${BENCH_MOVES:-200}
WARMUP=${BENCH_WARMUP:-200}

if [ -z "${TG_BENCH_ON_DISPLAY:-}" ]; then
    bench_require drag_callgrind "$program" "$map_timer" "$paint_root" "$dialog_layout"
    command -v valgrind >/dev/null || { echo "drag_callgrind: valgrind is not installed" >&2; exit 2; }
fi
bench_on_desktop "$program"

bench_fresh_user
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
"$paint_root" --pattern

out=$work/callgrind.out
read -r _ pid wid _ < <("$map_timer" --keep valgrind --tool=callgrind --instr-atstart=no \
    --callgrind-out-file="$out" "$program")
xdotool windowmove "$wid" 0 0
sleep 1
# shellcheck disable=SC2046 # the swatch's centre, "X Y"
xdotool mousemove --sync $(bench_point "$wid" IDC_COLORAREA) mousedown 1
sleep 0.5

# The same walk further on, where the colours under the pointer differ.
bench_path "$MOVES" "$WARMUP" 0.1
[ "$WARMUP" -gt 0 ] && xdotool "${path_args[@]}"
bench_path 0 "$MOVES" 0.1
callgrind_control --instr=on "$pid" >/dev/null 2>&1
xdotool "${path_args[@]}"
sleep 1
callgrind_control --instr=off "$pid" >/dev/null 2>&1
xdotool mouseup 1
kill "$pid"
# Ended once gone or a zombie (nothing may reap it here); callgrind has
# written its counts by then.
bench_gone "$pid" 600 || true
pid=

# The counts are complete once their totals are written.
for _ in $(seq 1 600); do
    grep -q '^totals:' "$out" 2>/dev/null && break
    sleep 0.1
done
total=$(awk '/^totals:/ { print $2 }' "$out" 2>/dev/null)
[ -n "$total" ] || { echo "drag_callgrind: callgrind wrote no counts" >&2; exit 1; }
[ -n "${BENCH_CALLGRIND_OUT:-}" ] && cp "$out" "$BENCH_CALLGRIND_OUT"
echo "drag_callgrind: $program, $MOVES moves after $WARMUP uncounted"
echo "instructions per move: $((total / MOVES)) ($total in all)"
echo
callgrind_annotate --inclusive=yes "$out" 2>/dev/null |
    sed -n '/file:function/,$p' | sed -n '3,$p' |
    grep -v -e "'2 " -e QEventLoop -e g_main_ -e notify -e processEvents -e sendEvent \
        -e sendSpontaneousEvent -e sendPostedEvents -e '???:0x' -e 'QWidget::event' |
    sed -n 1,30p
