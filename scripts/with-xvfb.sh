#!/usr/bin/env bash
# with-xvfb.sh [--wm] [--screen WxHxD] [--xvfb-arg ARG]... -- COMMAND [ARG]...
# Runs COMMAND on a private Xvfb server (and openbox with --wm) on a display
# number that no other server uses, and stops everything it started when the
# command ends, whatever the way. Exits with the command's status.
set -euo pipefail

wm=0
screen=1280x800x24
xvfb_args=()
while [ $# -gt 0 ]; do
    case "$1" in
    --wm) wm=1 ;;
    --screen) screen=$2; shift ;;
    --xvfb-arg) xvfb_args+=("$2"); shift ;;
    --) shift; break ;;
    *) break ;;
    esac
    shift
done
[ $# -gt 0 ] || { echo "usage: with-xvfb.sh [--wm] [--screen WxHxD] -- COMMAND..." >&2; exit 2; }

workdir=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself and writes its number to the fd we give it.
exec 3>"$workdir/display"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset "${xvfb_args[@]}" \
    >"$workdir/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 1 100); do
    [ -s "$workdir/display" ] && break
    kill -0 "${pids[0]}" 2>/dev/null || { cat "$workdir/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
[ -s "$workdir/display" ] || { echo "with-xvfb.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(tr -d '[:space:]' <"$workdir/display")"
unset WAYLAND_DISPLAY

if [ "$wm" = 1 ]; then
    openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
    pids+=($!)
    # The window manager is ready once it owns the WM_S0 selection.
    for _ in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
fi

set +e
"$@"
status=$?
set -e
exit $status
