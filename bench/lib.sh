# Shared by the whole-program benchmarks; source it after setting root. They
# need the program and, from BENCH_BUILD (default build/default), the helpers
# in bench/, tests/desktop/tools/paint_root and tests/desktop/dialog_layout;
# they build nothing.
#
#   bench_require NAME FILE...   exit 2 with a hint unless every FILE is an
#                                executable
#   bench_on_desktop ARG...      unless already there, run "$0" ARG... on a
#                                private Xvfb + openbox desktop with a session
#                                bus, and exit with its status
#   bench_fresh_user             make $work and a fresh HOME and
#                                XDG_RUNTIME_DIR in it, as for a new user
#   bench_gone PID TRIES         wait until PID has ended or is a zombie,
#                                polling every 0.1 s; fail after TRIES polls
#   bench_geometry WID           print the window's "X Y WIDTH HEIGHT"
#   bench_point WID NAME         print "X Y" on screen, the middle of control
#                                NAME (IDC_COLORAREA...) of our window WID, as
#                                dialog_layout places it on this display
#   bench_pattern_hex X Y        print paint_root's colour at X, Y, "#rrggbb"
#   bench_path FROM COUNT PAUSE  set path_args to xdotool's arguments for
#                                moves FROM.. of the walk over the pattern,
#                                with PAUSE seconds after each

build=$(realpath "${BENCH_BUILD:-$root/build/default}")
map_timer=$build/bench/map_timer
paint_root=$build/tests/desktop/tools/paint_root
dialog_layout=$build/tests/desktop/dialog_layout

bench_require() {
    local name=$1 file
    shift
    for file in "$@"; do
        [ -x "$file" ] || { echo "$name: $file is missing; build it first" >&2; exit 2; }
    done
}

# A desktop session has a session bus; without one the toolkits would try to
# start one (dbus-launch) at every start. This one starts no services.
bench_on_desktop() {
    [ -n "${TG_BENCH_ON_DISPLAY:-}" ] && return 0
    local session=()
    command -v dbus-run-session >/dev/null &&
        session=(dbus-run-session --config-file="$root/bench/session_bus.conf" --)
    set +e
    "$root/scripts/with-xvfb.sh" --wm -- "${session[@]}" \
        env TG_BENCH_ON_DISPLAY=1 "$0" "$@" \
        2> >(grep -v -e 'Failed to set fd limit' -e XDG_RUNTIME_DIR -e '^==' >&2)
    exit $?
}

bench_fresh_user() {
    work=$(mktemp -d)
    export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
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

bench_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print x, y, w, h }'
}

bench_point() {
    local ox oy l t w h
    read -r ox oy _ _ < <(bench_geometry "$1")
    read -r _ l t w h < <("$dialog_layout" | grep "^$2 ")
    echo "$((ox + l + w / 2)) $((oy + t + h / 2))"
}

bench_pattern_hex() {
    printf '#%02x%02x%02x' $(($1 % 256)) $(($2 % 256)) \
        $(((($1 >> 8) * 37 + ($2 >> 8) * 101 + 3 * $1 + 5 * $2) % 256))
}

# Steps of 3 and 2 pixels wrapping in an 800 x 500 box clear of a window at
# the top left, so that every move lands on a new colour.
bench_path() {
    local i
    path_args=()
    for ((i = $1; i < $1 + $2; i++)); do
        path_args+=(mousemove $((200 + (i * 3) % 800)) $((150 + (i * 2) % 500)) sleep "$3")
    done
}
