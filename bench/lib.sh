# Shared by the whole-program benchmarks; source it after setting root.
#
#   bench_require NAME FILE...   exit 2 with a hint unless every FILE is an
#                                executable
#   bench_on_desktop ARG...      unless already there, run "$0" ARG... on a
#                                private Xvfb + openbox desktop and exit with
#                                its status
#   bench_fresh_user             on that desktop: make $work and a fresh HOME
#                                and XDG_RUNTIME_DIR in it, as for a new user
#                                (the caller's exit trap removes $work)
#   bench_end_with_work          on exit, kill the process whose id is in
#                                $pid, if any, and remove $work
#   bench_gone PID TRIES         wait until PID has ended or is a zombie,
#                                polling every 0.1 s; fail after TRIES polls

bench_require() {
    local name=$1 file
    shift
    for file in "$@"; do
        [ -x "$file" ] || { echo "$name: $file is missing; run scripts/build.sh" >&2; exit 2; }
    done
}

# A desktop session has a session bus; without one the toolkits would try to
# start one (dbus-launch) at every start. This one starts no services.
bench_on_desktop() {
    [ -n "${TG_BENCH_ON_DISPLAY:-}" ] && return 0
    local session=() status
    command -v dbus-run-session >/dev/null &&
        session=(dbus-run-session --config-file="$root/bench/session_bus.conf" --)
    set +e
    "$root/scripts/with-xvfb.sh" --wm -- "${session[@]}" \
        env TG_BENCH_ON_DISPLAY=1 "$0" "$@" \
        2> >(grep -v -e 'Failed to set fd limit' -e XDG_RUNTIME_DIR -e '^==' >&2)
    status=$?
    exit "$status"
}

bench_fresh_user() {
    work=$(mktemp -d)
    export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
}

bench_end_with_work() {
    pid=
    trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
}

bench_gone() {
    local pid=$1 tries=$2 state
    while [ "$tries" -gt 0 ]; do
        state=$(awk '{ print $3 }' /proc/"$pid"/stat 2>/dev/null || true)
        [ -z "$state" ] || [ "$state" = Z ] && return 0
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}
