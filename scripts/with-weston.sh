#!/usr/bin/env bash
# with-weston.sh [--xwayland] -- COMMAND [ARG]...
# Runs COMMAND inside a private headless Wayland session (weston), the way a
# program runs on a Wayland desktop: WAYLAND_DISPLAY names the session and
# XDG_SESSION_TYPE is "wayland". With --xwayland the session also has an X
# server, XWayland, and DISPLAY names it. Stops everything it started when
# the command ends, whatever the way. Exits with the command's status.
set -euo pipefail

xwayland=0
while [ $# -gt 0 ]; do
    case "$1" in
    --xwayland) xwayland=1 ;;
    --) shift; break ;;
    *) break ;;
    esac
    shift
done
[ $# -gt 0 ] || { echo "usage: with-weston.sh [--xwayland] -- COMMAND..." >&2; exit 2; }

runtime=$(mktemp -d)
chmod 700 "$runtime"
pid=
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

args=(--backend=headless-backend.so --socket=wayland-tg --idle-time=0)
[ "$xwayland" = 1 ] && args+=(--xwayland)
XDG_RUNTIME_DIR=$runtime weston "${args[@]}" >"$runtime/weston.log" 2>&1 &
pid=$!

# Ready once the socket is there and, with XWayland, the X display is named
# in weston's log (XWayland itself starts at the first X client).
display=
for _ in $(seq 1 200); do
    kill -0 "$pid" 2>/dev/null || { cat "$runtime/weston.log" >&2; exit 1; }
    if [ -S "$runtime/wayland-tg" ]; then
        [ "$xwayland" = 0 ] && break
        display=$(sed -n -e 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$runtime/weston.log")
        [ -n "$display" ] && break
    fi
    sleep 0.05
done
[ -S "$runtime/wayland-tg" ] || { echo "with-weston.sh: weston did not start" >&2; exit 1; }

export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-tg XDG_SESSION_TYPE=wayland
if [ "$xwayland" = 1 ]; then
    [ -n "$display" ] || { echo "with-weston.sh: XWayland did not start" >&2; exit 1; }
    export DISPLAY=$display
else
    unset DISPLAY
fi

set +e
"$@"
status=$?
set -e
exit $status
