# shellcheck shell=bash
# Shared by scripts/with-sway.sh, with-gnome.sh and with-kde.sh, which run a
# command on a private headless Wayland desktop of 1280 x 800 with XWayland, a
# private session bus and the real screenshot portal. Everything runs in new
# PID, mount (a /tmp of its own) and network namespaces, so that nothing
# outlives the command and nothing meets another desktop's files or sockets.
# sway refuses to run as root and gnome-shell wants a user of its own, so they
# run as the existing user nobody (as_nobody); the rest, the command included,
# runs as root.
#
#   desktop_enter NAME PROGRAM ARG...  outside the namespaces: exit 77 unless
#                               root and PROGRAM are there, else run the
#                               script again inside them with ARG...
#   desktop_prepare             a /tmp of its own, with the checkout kept in
#                               sight; exports XDG_RUNTIME_DIR (root's) and
#                               DBUS_SESSION_BUS_ADDRESS, and starts that bus,
#                               which nobody may use too; sets root and log,
#                               desktop_runtime and /tmp/home (nobody's); HOME
#                               is root's, /tmp/root-home
#   as_nobody COMMAND...        run COMMAND as nobody, with a clean environment
#                               but for the desktop's runtime folder and bus
#   desktop_fail MESSAGE        print MESSAGE and the log, exit 1
#   desktop_wait_for SECS COMMAND...  run COMMAND every 50 ms until it succeeds
#   desktop_owned NAME          whether NAME has an owner on the session bus
#   desktop_portal NAME...      start xdg-desktop-portal and wait until it and
#                               the backends named (bus names) are there
#   desktop_run COMMAND...      run COMMAND; exit with its status, printing
#                               the log where it failed

desktop_enter() {
    local name=$1 program=$2
    shift 2
    [ -n "${TG_IN_DESKTOP_NAMESPACE:-}" ] && return 0
    [ "$(id -u)" = 0 ] && command -v "$program" >/dev/null || {
        echo "$name: needs root and $program" >&2
        exit 77
    }
    exec env TG_IN_DESKTOP_NAMESPACE=1 unshare --pid --fork --kill-child --mount-proc --mount \
        --net --propagation private -- "$0" "$@"
}

desktop_prepare() {
    # A checkout under /tmp (where a CI job may clone) stays in sight through
    # a descriptor opened before the private /tmp hides it.
    root=$(cd "$(dirname "$0")/.." && pwd -P)
    exec 9<"$root"
    mount -t tmpfs -o mode=1777 tmpfs /tmp
    if [[ $root == /tmp/* ]]; then
        mkdir -p "$root" && mount --no-canonicalize --bind /proc/self/fd/9 "$root"
    fi
    exec 9<&-
    ip link set lo up 2>/dev/null || true
    # What the portal and the command store stays in the private /tmp too.
    export XDG_RUNTIME_DIR=/tmp/runtime HOME=/tmp/root-home
    desktop_runtime=/tmp/desktop-runtime
    log=/tmp/desktop.log
    mkdir -m 700 "$XDG_RUNTIME_DIR" "$desktop_runtime" /tmp/home "$HOME"
    # XWayland's sockets; without the folder the desktops cannot start it.
    mkdir -m 1777 /tmp/.X11-unix
    chown nobody: "$desktop_runtime" /tmp/home
    export DBUS_SESSION_BUS_ADDRESS=unix:path=/tmp/session-bus
    dbus-daemon --nofork --config-file="$root/tests/private_bus.conf" \
        --address="$DBUS_SESSION_BUS_ADDRESS" >>"$log" 2>&1 &
    desktop_wait_for 5 test -S /tmp/session-bus || desktop_fail "the session bus did not start"
}

as_nobody() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups env -i HOME=/tmp/home \
        XDG_RUNTIME_DIR="$desktop_runtime" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
        PATH=/usr/bin:/bin "$@"
}

desktop_fail() { echo "$(basename "$0"): $*" >&2 && cat "$log" >&2 && exit 1; }

desktop_wait_for() {
    local tries=$(($1 * 20))
    while ! "${@:2}"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.05
    done
}

desktop_owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q true
}

desktop_portal() {
    local name
    /usr/libexec/xdg-desktop-portal >>"$log" 2>&1 &
    for name in org.freedesktop.portal.Desktop "$@"; do
        desktop_wait_for 10 desktop_owned "$name" || desktop_fail "no $name on the bus"
    done
}

desktop_run() {
    local status
    set +e
    "$@"
    status=$?
    [ "$status" = 0 ] || cat "$log" >&2
    exit $status
}
