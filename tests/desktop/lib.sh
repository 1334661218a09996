# shellcheck shell=bash
# Harness for tests that drive the real program on an X desktop. Source it from
# a script that scripts/with-xvfb.sh runs (it provides DISPLAY and openbox).
# Where a control is comes from the program's own window templates, through
# tests/desktop/dialog_layout (tg_layout), never from numbers copied here.
# Every program started here that still runs at exit is asked to close its
# windows (so the leak checker sees a normal end), then killed. Each script
# gets a fresh XDG_CONFIG_HOME, removed at exit, and no session bus. What the
# sanitizers report about a started program fails the script.
#
#   tg_start PROGRAM [ARG]...       start in the background; sets TG_PID
#   tg_wait_window PID NAME [SECS]  print the id of PID's mapped window titled NAME
#   tg_open [COMMAND...]            start COMMAND (default $program), wait for
#                                   its main window; sets pid and wid
#   tg_wait_exit PID [SECS]         wait for PID to end; sets TG_STATUS
#   tg_window_origin WID            print "X Y", the client's top-left on the screen
#   tg_prop WID PROPERTY            print xprop's value of PROPERTY ("" if unset)
#   tg_activate WID                 give WID the focus and wait until it has it
#   tg_key WID KEY...               activate WID, then type the keys
#   tg_click WID X Y                left click at client point (X, Y)
#   tg_screenshot WID FILE [frame]  8-bit picture of the window (and its frame)
#   tg_clipboard                    print the clipboard's text
#   tg_keepers                      print the ids of the processes keeping the
#                                   text a closed program copied
#   tg_running PID                  whether PID runs (a zombie does not), also
#                                   when it is not our child
#   tg_layout LAYOUT_TOOL           read the windows' layout on this display
#   rect_of NAME                    print "LEFT TOP WIDTH HEIGHT" in client pixels
#                                   of window or control NAME as resources/
#                                   resource_ids.h names it (IDD_SAMPLER,
#                                   IDC_ZOOMAREA, ID_OK...), or of BACKGROUND,
#                                   the sampler window's own background between
#                                   the magnifier and the buttons
#   centre_of NAME                  print "X Y", the middle of that rectangle
#   tg_setting ENTRY                print the stored value of win/ENTRY
#   tg_on_top_is 0|1                whether window wid is on top
#   tg_click_on_top_box             click the always-on-top box of window wid
#                                   (needs tg_layout)
#   tg_close HOW                    end the program of window wid by Exit, the
#                                   close command or keys; expect status 0
#   tg_wait_for SECS COMMAND...     run COMMAND every 20 ms until it succeeds
#   assert_eq WHAT EXPECTED ACTUAL  count a failure unless equal
#   assert_true WHAT COMMAND...     count a failure unless COMMAND succeeds
#   eventually WHAT COMMAND...      the same, trying for up to 3 s
#   tg_fail MESSAGE                 count a failure (also from a subshell)
#   tg_finish                       report; exit 0 with no failures, else 1
#
# Sampling a known picture (call sampler_setup first). Layout comes in logical
# pixels; the screen, the pointer and screenshots count physical ones,
# RATIO_NUM/RATIO_DEN to a logical pixel.
#
#   sampler_setup PROGRAM LAYOUT_TOOL PAINT_ROOT CHECK_MAGNIFIER [NUM DEN]
#                                   reads the layout, paints the pattern
#   physical N                      N logical pixels in physical ones, rounded
#   tg_grab_screen FILE             the screen as an 8-bit PPM (a script may
#                                   redefine it)
#   swatch_pixel                    print the swatch's colour on the screen as rrggbb
#   start_program X Y               tg_open, frame moved to (X, Y); sets ox, oy
#   point_at NAME                   print "X Y", the screen point in the middle
#                                   of control NAME of the window at (ox, oy)
#   tg_pointer SX SY 0|1            move the pointer to screen point (SX, SY)
#                                   with the left button up (0) or held (1); a
#                                   desktop without X11's pointer redefines it
#   tg_pressed                      called after drag's press; a desktop whose
#                                   screenshot is taken then waits for it here
#   drag SX SY [swatch]             press in the magnifier (or the swatch), move
#                                   to screen point (SX, SY), release there
#   copied N                        click copy button N (in the colour formats'
#                                   order: R G B #rrggbb rrggbb POV-Ray), print
#                                   what it copied
#   read_at SX SY [swatch]          drag there; "#rrggbb" copies the pattern's colour
#   check_texts SX SY               each copy button copies its text of the pattern's colour
#   check_magnifier WHAT FACTOR (SX SY | none)
#                                   the magnifier shows the pattern around (SX, SY)
#                                   in FACTOR-sized blocks of device pixels, button
#                                   face where no rectangle of MONITORS (at first
#                                   the screen) is
#   zoom_to_x10                     eight wheel turns over the magnifier: the
#                                   first focuses the list, seven step it to x10
#   pattern_hex SX SY               the pattern's colour there as rrggbb

TG_PIDS=()
TG_REPORTS=$(mktemp -d)
XDG_CONFIG_HOME=$(mktemp -d)
# Without a session bus libdbus would autolaunch one over X11 and keep what it
# allocated for that, which the leak checker reports.
export XDG_CONFIG_HOME DBUS_SESSION_BUS_ADDRESS=disabled:

_tg_alive() { for p in "${TG_PIDS[@]}"; do kill -0 "$p" 2>/dev/null && return 0; done; return 1; }

# Windows may appear while others close (an About window's owner), so the
# close command goes out again every half second.
_tg_cleanup() {
    local status=$? pid wid report
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        _tg_alive || break
        for pid in "${TG_PIDS[@]}"; do
            for wid in $(xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null); do
                wmctrl -i -c "$wid" 2>/dev/null
            done
        done
        sleep 0.5
    done
    for pid in "${TG_PIDS[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
    for pid in $(tg_keepers); do kill "$pid"; done
    tg_wait_for 3 eval '[ -z "$(tg_keepers)" ]' || { echo "FAIL a clipboard keeper still runs"; status=1; }
    for report in "$TG_REPORTS"/*; do
        [ -e "$report" ] && echo "FAIL sanitizer report $(basename "$report"):" && cat "$report" && status=1
    done
    rm -rf "$TG_REPORTS" "$XDG_CONFIG_HOME"
    return "$status"
}
# A script that sets its own exit trap calls _tg_cleanup from it.
trap '_tg_cleanup; exit $?' EXIT

tg_start() {
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}log_path=$TG_REPORTS/asan" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}log_path=$TG_REPORTS/ubsan" "$@" &
    TG_PID=$!
    TG_PIDS+=("$TG_PID")
}

# Stops early when the process ends; xdotool's own --sync polls too slowly.
tg_wait_window() {
    local pid=$1 name=$2 wid=
    tg_wait_for "${3:-10}" eval 'wid=$(xdotool search --all --onlyvisible --pid "$pid" --name "^$name\$" 2>/dev/null | head -n 1)
        [ -n "$wid" ] || ! kill -0 "$pid" 2>/dev/null'
    [ -n "$wid" ] && echo "$wid" || { tg_fail "no window \"$name\" of process $pid"; return 1; }
}

# shellcheck disable=SC2120 # the callers are the test scripts
tg_open() {
    tg_start "${@:-$program}"
    pid=$TG_PID
    wid=$(tg_wait_window "$pid" Tintgrabber) || tg_finish
}

tg_wait_exit() {
    local exiting=$1
    tg_wait_for "${2:-10}" eval '! kill -0 "$exiting" 2>/dev/null' || return 1
    wait "$exiting" 2>/dev/null
    TG_STATUS=$?
}

tg_window_origin() { xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { print x, $4 }'; }

tg_prop() { xprop -id "$1" "$2" 2>/dev/null | sed -n -e 's/^[^=]*= //p'; }

tg_activate() { xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"; }

tg_key() { tg_activate "$1" && xdotool key --clearmodifiers "${@:2}"; }

# The server handles the move and the click in order, so no --sync, which
# would wait for a move that never comes when the pointer is already there.
tg_click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

tg_screenshot() { import -depth 8 ${3:+-frame} -window "$1" "$2"; }

tg_clipboard() { xclip -o -selection clipboard 2>/dev/null; }

# The init process here may take a second to reap an orphan.
tg_running() { ps -o stat= -p "$1" | grep -qv '^Z'; }

# Keepers run detached, not as our children; their window names them.
tg_keepers() {
    local w
    for w in $(xdotool search --name '^tintgrabber clipboard$' 2>/dev/null); do
        xdotool getwindowpid "$w" 2>/dev/null
    done
}

declare -A TG_LAYOUT
# shellcheck disable=SC2206 # the rectangles are four numbers
tg_layout() {
    local name rect zoom buttons
    while read -r name rect; do TG_LAYOUT[$name]=$rect; done < <("$1")
    [ -n "${TG_LAYOUT[IDD_SAMPLER]:-}" ] || { tg_fail "no layout from $1" && tg_finish; }
    zoom=(${TG_LAYOUT[IDC_ZOOMAREA]}) buttons=(${TG_LAYOUT[IDC_COPYHASHHEX]})
    TG_LAYOUT[BACKGROUND]="$((zoom[0] + zoom[2])) ${zoom[1]} $((buttons[0] - zoom[0] - zoom[2])) ${zoom[3]}"
}

rect_of() { echo "${TG_LAYOUT[$1]}"; }

# shellcheck disable=SC2206
centre_of() { local r=(${TG_LAYOUT[$1]}) && echo $((r[0] + r[2] / 2)) $((r[1] + r[3] / 2)); }

tg_on_top_is() { [ "$(tg_prop "$wid" _NET_WM_STATE | grep -c _NET_WM_STATE_ABOVE)" = "$1" ]; }

# The box's indicator, at the left end of its rectangle.
# shellcheck disable=SC2206
tg_click_on_top_box() { local r=(${TG_LAYOUT[IDC_TOPMOST]}) && tg_click "$wid" $((r[0] + 6)) $((r[1] + r[3] / 2)); }

tg_close() {
    # shellcheck disable=SC2046,SC2086
    case "$1" in
    Exit) tg_activate "$wid" && tg_click "$wid" $(centre_of ID_CANCEL) ;;
    close) wmctrl -i -c "$wid" ;;
    *) tg_key "$wid" $1 ;;
    esac
    tg_wait_exit "$pid" || { tg_fail "$1: the process still runs (window $wid); $(tg_whereabouts "$pid")"; return; }
    assert_eq "$1 ends the process" 0 "$TG_STATUS"
}

# What a failure report needs: the process's windows and where the keys go.
tg_whereabouts() {
    local w names=
    for w in $(xdotool search --all --onlyvisible --pid "$1" 2>/dev/null); do
        names+="${names:+, }$w \"$(xdotool getwindowname "$w" 2>/dev/null)\""
    done
    echo "its windows: ${names:-none}; focus $(xdotool getwindowfocus 2>/dev/null), active $(xdotool getactivewindow 2>/dev/null)"
}

tg_setting() { sed -n -e '/^\[win\]/,/^\[/ s/^'"$1"'=//p' "$XDG_CONFIG_HOME/Tintgrabber/tintgrabber.conf" 2>/dev/null; }

# A deadline rather than a count of tries, since a try may itself take long.
tg_wait_for() {
    local deadline=$((${EPOCHREALTIME/./} + $1 * 1000000))
    while ! "${@:2}"; do
        [ "${EPOCHREALTIME/./}" -lt "$deadline" ] || return 1
        sleep 0.02
    done
}

# Failures are counted in a file, so that those of subshells count too.
tg_fail() { echo "FAIL $*" >&2 && echo >>"$TG_REPORTS/.failed"; }

assert_eq() { if [ "$2" = "$3" ]; then echo "ok   $1"; else tg_fail "$1: expected \"$2\", got \"$3\""; fi; }

assert_true() { if "${@:2}"; then echo "ok   $1"; else tg_fail "$1"; return 1; fi; }

eventually() { assert_true "$1" tg_wait_for 3 "${@:2}"; }

tg_finish() {
    [ -e "$TG_REPORTS/.failed" ] || { echo "all passed" && exit 0; }
    echo "$(wc -l <"$TG_REPORTS/.failed") failure(s)" && exit 1
}

# --- Sampling a known picture.

sampler_setup() {
    program=$1 check_magnifier_tool=$4 RATIO_NUM=${5:-1} RATIO_DEN=${6:-1}
    tg_layout "$2"
    "$3" --pattern || { tg_fail "could not paint the root window"; tg_finish; }
    shot=$XDG_CONFIG_HOME/screen.ppm
    MONITORS=("0 0 $(xdotool getdisplaygeometry)")
    read -r swatch_l swatch_t _ _ < <(rect_of IDC_COLORAREA)
    layout_tool=$2 buttons=() && while [ -n "${TG_LAYOUT[COPY${#buttons[@]}]:-}" ]; do buttons+=("COPY${#buttons[@]}"); done
    # The magnifier draws in its inner rectangle, each edge scaled and rounded.
    read -r zoom_l zoom_t zoom_w zoom_h < <(rect_of INSIDE_ZOOMAREA)
    inner_l=$(physical "$zoom_l") inner_t=$(physical "$zoom_t")
    inner_w=$(($(physical $((zoom_l + zoom_w))) - inner_l)) inner_h=$(($(physical $((zoom_t + zoom_h))) - inner_t))
}

# Rounded half up.
physical() { echo $((($1 * RATIO_NUM * 2 + RATIO_DEN) / (RATIO_DEN * 2))); }

# The same picture as tools/pattern.h.
pattern_hex() {
    printf '%02x%02x%02x\n' $(($1 % 256)) $(($2 % 256)) \
        $(((($1 >> 8) * 37 + ($2 >> 8) * 101 + 3 * $1 + 5 * $2) % 256))
}

# shellcheck disable=SC2207
point_at() { local c=($(centre_of "$1")) && echo $((ox + $(physical "${c[0]}"))) $((oy + $(physical "${c[1]}"))); }

# The whole screen as an 8-bit PPM file; a desktop whose X server cannot read
# it (XWayland) has a way of its own.
tg_grab_screen() { import -window root -depth 8 "ppm:$1"; }

_screen_pixel() {
    tg_grab_screen "$shot.pixel" 2>/dev/null && convert "$shot.pixel" -crop "1x1+$1+$2" -depth 8 txt:- |
        sed -n -e 's/.*#\([0-9A-Fa-f]\{6\}\).*/\L\1/p'
}

# The swatch's colour, away from the icon at its middle.
swatch_pixel() { _screen_pixel $((ox + $(physical $((swatch_l + 4))))) $((oy + $(physical $((swatch_t + 4))))); }

# Before the first sample both areas show the button face.
_painted() {
    face=$(swatch_pixel)
    [ -n "$face" ] && [ "$face" = "$(_screen_pixel $((ox + inner_l + 1)) $((oy + inner_t + 1)))" ]
}

# A window manager may place a new window after a move that came too early
# (KWin does), so the move goes out again for a while; sway keeps its place.
_window_at() {
    xdotool windowmove --sync "$wid" "$1" "$2" >/dev/null 2>&1
    read -r ox oy < <(tg_window_origin "$wid")
    [ "$ox" -ge "$1" ] && [ "$oy" -ge "$2" ]
}

start_program() {
    tg_open
    tg_wait_for 2 _window_at "$1" "$2"
    tg_wait_for 10 _painted || tg_fail "the window was not painted"
}

# The short pauses are a hand's: with none, on a loaded machine, Qt now and
# then missed a release that followed the press within microseconds.
_held=0
tg_pointer() {
    local button=()
    [ "$3" = "$_held" ] || button=("$([ "$3" = 1 ] && echo mousedown || echo mouseup)" 1)
    xdotool mousemove "$1" "$2" "${button[@]}" sleep 0.05
    _held=$3
}

tg_pressed() { :; }

# shellcheck disable=SC2046
drag() {
    local area=IDC_ZOOMAREA
    [ "${3:-}" = swatch ] && area=IDC_COLORAREA
    tg_pointer $(point_at $area) 0 && tg_pointer $(point_at $area) 1 && tg_pressed
    tg_pointer "$1" "$2" 1 && tg_pointer "$1" "$2" 0
}

# The clipboard is cleared first, so that the wait ends when the button
# copied, even when it copies what was there before.
copied() {
    local x y
    read -r x y < <(point_at "${buttons[$1]}")
    printf 'cleared' | xclip -i -selection clipboard >/dev/null
    tg_pointer "$x" "$y" 0 && tg_pointer "$x" "$y" 1 && tg_pointer "$x" "$y" 0
    tg_wait_for 3 eval '[ "$(tg_clipboard)" != cleared ]'
    tg_clipboard
}

read_at() {
    drag "$@"
    assert_eq "($1, $2) read" "#$(pattern_hex "$1" "$2")" "$(copied 3)"
}

# Each format's text is the unit tests' to check; here, that each button copies
# its own field's text of the colour read.
check_texts() {
    local i expected
    mapfile -t expected < <("$layout_tool" --texts "$(pattern_hex "$1" "$2")")
    for i in "${!buttons[@]}"; do
        assert_eq "($1, $2): copy button $i" "${expected[i]}" "$(copied "$i")"
    done
}

_magnifier_shows() {
    local m monitor_args=()
    # shellcheck disable=SC2206
    for m in "${MONITORS[@]}"; do monitor_args+=(--monitor $m); done
    tg_grab_screen "$shot" 2>/dev/null &&
        "$check_magnifier_tool" "${monitor_args[@]}" "$shot" $((ox + inner_l)) $((oy + inner_t)) \
            "$inner_w" "$inner_h" "$1" "$face" "${@:2}" >"$shot.log"
}

check_magnifier() { eventually "$1" _magnifier_shows "${@:2}" || cat "$shot.log"; }

zoom_to_x10() {
    # shellcheck disable=SC2046
    xdotool mousemove $(point_at IDC_ZOOMAREA) click --repeat 8 --delay 20 5
    eventually "eight wheel turns: x10, stored" eval '[ "$(tg_setting zom)" = 7 ]'
}
