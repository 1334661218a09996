# Helpers for tests that drive the real program on an X desktop. Source this
# file from a script run by scripts/with-xvfb.sh, which provides DISPLAY and a
# window manager. Every program started here is killed when the script exits.
# Each script gets a fresh XDG_CONFIG_HOME, removed at exit, so the program's
# settings start empty and the user's own are never touched, and no session
# bus.
#
#   tg_start PROGRAM [ARG]...       start in the background; sets TG_PID
#   tg_wait_window PID NAME [SECS]  print the id of PID's mapped window titled
#                                   exactly NAME, polling every 20 ms
#   tg_wait_exit PID [SECS]         wait for PID to end; sets TG_STATUS
#   tg_window_size WID              print "WIDTH HEIGHT" of the window's client
#   tg_window_origin WID            print "X Y", its top-left on the screen
#   tg_prop WID PROPERTY            print xprop's value of PROPERTY ("" if unset)
#   tg_size_hints WID               print "MINW MINH MAXW MAXH" from WM_NORMAL_HINTS
#   tg_activate WID                 give WID the focus and wait until it has it
#   tg_key WID KEY...               activate WID, then type the keys
#   tg_click WID X Y                left click at client point (X, Y)
#   tg_screenshot WID FILE [FRAME]  8-bit PNG of the window (with FRAME=frame,
#                                   the window manager's frame included)
#   tg_clipboard                    print the clipboard's text
#   tg_mul_div A B C                print A*B/C rounded half up (A, B, C >= 0)
#   tg_units_rect BX BY X Y W H     print "LEFT TOP WIDTH HEIGHT", the client
#                                   pixels of a rectangle in dialog units
#   tg_units_centre BX BY X Y W H   print "X Y", the middle of that rectangle
#   tg_setting ENTRY                print the stored value of win/ENTRY
#   tg_wait_for SECS COMMAND...     run COMMAND every 20 ms until it succeeds,
#                                   for at most SECS seconds
#   tg_wait_prop WID PROP VALUE WHAT wait up to 3 s until PROP is VALUE;
#                                   counts a failure otherwise
#   assert_eq WHAT EXPECTED ACTUAL  count a failure unless equal
#   assert_true WHAT COMMAND...     count a failure unless COMMAND succeeds
#   tg_fail MESSAGE                 count a failure
#   tg_finish                       report, exit 0 with no failures, else 1

TG_FAILURES=0
TG_PIDS=()
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
# The private display has no session bus. Without this, libdbus tries to
# autolaunch one over X11 and keeps what it allocated for that until exit,
# which the leak checker of sanitizer builds reports as a failed exit.
export DBUS_SESSION_BUS_ADDRESS=disabled:

_tg_cleanup() {
    local pid
    for pid in "${TG_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${TG_PIDS[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$XDG_CONFIG_HOME"
}
trap _tg_cleanup EXIT

tg_start() {
    "$@" &
    TG_PID=$!
    TG_PIDS+=("$TG_PID")
}

tg_wait_window() {
    local pid=$1 name=$2 secs=${3:-10}
    local tries=$((secs * 50)) wid
    while [ "$tries" -gt 0 ]; do
        wid=$(xdotool search --all --onlyvisible --pid "$pid" --name "^${name}\$" 2>/dev/null | head -n 1)
        if [ -n "$wid" ]; then
            echo "$wid"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || { tg_fail "process $pid ended before its window \"$name\" mapped"; return 1; }
        sleep 0.02
        tries=$((tries - 1))
    done
    tg_fail "no window \"$name\" of process $pid after ${secs} s"
    return 1
}

tg_wait_exit() {
    local pid=$1 secs=${2:-10}
    local tries=$((secs * 50))
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -gt 0 ]; do
        sleep 0.02
        tries=$((tries - 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        TG_STATUS=
        return 1
    fi
    wait "$pid" 2>/dev/null
    TG_STATUS=$?
    return 0
}

tg_window_size() {
    xwininfo -id "$1" | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w, h }'
}

tg_window_origin() {
    xwininfo -id "$1" |
        awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 } END { print x, y }'
}

tg_prop() {
    xprop -id "$1" "$2" 2>/dev/null | grep -v -e 'not found' -e 'no such atom' | sed -e 's/^[^=]*= //'
}

tg_size_hints() {
    xprop -id "$1" WM_NORMAL_HINTS | awk '
        /program specified minimum size:/ { minw = $5; minh = $7 }
        /program specified maximum size:/ { maxw = $5; maxh = $7 }
        END { print minw, minh, maxw, maxh }'
}

tg_activate() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"
}

tg_key() {
    local wid=$1
    shift
    tg_activate "$wid"
    xdotool key --clearmodifiers "$@"
}

# The server handles the move and the click in order, so no --sync, which
# would wait for a move that never comes when the pointer is already there.
tg_click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

tg_screenshot() {
    local wid=$1 file=$2 frame=${3:-}
    if [ "$frame" = frame ]; then
        import -depth 8 -frame -window "$wid" "$file"
    else
        import -depth 8 -window "$wid" "$file"
    fi
}

tg_clipboard() {
    xclip -o -selection clipboard 2>/dev/null
}

tg_mul_div() {
    echo $((($1 * $2 * 2 + $3) / ($3 * 2)))
}

tg_units_rect() {
    local bx=$1 by=$2
    echo "$(tg_mul_div "$3" "$bx" 4) $(tg_mul_div "$4" "$by" 8)" \
        "$(tg_mul_div "$5" "$bx" 4) $(tg_mul_div "$6" "$by" 8)"
}

tg_units_centre() {
    local bx=$1 by=$2
    echo "$(tg_mul_div $((2 * $3 + $5)) "$bx" 8) $(tg_mul_div $((2 * $4 + $6)) "$by" 16)"
}

tg_setting() {
    sed -n -e '/^\[win\]/,/^\[/ s/^'"$1"'=//p' "$XDG_CONFIG_HOME/Tintgrabber/tintgrabber.conf" \
        2>/dev/null
}

# A deadline rather than a count of tries, since a try may itself take long.
tg_wait_for() {
    local deadline=$((${EPOCHREALTIME/./} + $1 * 1000000))
    shift
    while ! "$@"; do
        [ "${EPOCHREALTIME/./}" -lt "$deadline" ] || return 1
        sleep 0.02
    done
}

_tg_prop_is() {
    [ "$(tg_prop "$1" "$2")" = "$3" ]
}

tg_wait_prop() {
    if tg_wait_for 3 _tg_prop_is "$1" "$2" "$3"; then
        echo "ok   $4"
    else
        tg_fail "$4: $2 expected \"$3\", got \"$(tg_prop "$1" "$2")\""
    fi
}

tg_fail() {
    echo "FAIL $*"
    TG_FAILURES=$((TG_FAILURES + 1))
}

assert_eq() {
    if [ "$2" = "$3" ]; then
        echo "ok   $1"
    else
        tg_fail "$1: expected \"$2\", got \"$3\""
    fi
}

assert_true() {
    local what=$1
    shift
    if "$@"; then
        echo "ok   $what"
    else
        tg_fail "$what"
    fi
}

tg_finish() {
    if [ "$TG_FAILURES" -eq 0 ]; then
        echo "all passed"
        exit 0
    fi
    echo "$TG_FAILURES failure(s)"
    exit 1
}
