#!/usr/bin/env bash
# wayland_test.sh DESKTOP PROGRAM LAYOUT_TOOL PATTERN_PNG CHECK_MAGNIFIER GNOME_KEYS
# On a Wayland desktop (DESKTOP sway, gnome or kde, as scripts/with-DESKTOP.sh
# starts it) whose background is the known picture: started with both
# WAYLAND_DISPLAY and DISPLAY set, the program runs through XWayland; each drag
# samples the desktop's screenshot, taken through the real portal at the
# press: the six fields and the magnifier show the picture exactly, and no
# screenshot file stays behind. GNOME asks before the first screenshot: an
# Allow 8 s after the press makes that press sample; a Deny is said, and the
# notice's Ask Again has the next press ask again. KDE without its Pictures
# folder cancels: that is said, and the window goes on working.
# Click-sampling, driven by the desktop's own pointer and keyboard on sway
# (XTest elsewhere), follows the pointer over the desktop's own windows and
# shows the picture exactly, and on sway its ending click reaches no other
# window.
set -uo pipefail
desktop=$1 gnome_keys=$6
bus=$DBUS_SESSION_BUS_ADDRESS
. "$(dirname "$0")/lib.sh"
export DBUS_SESSION_BUS_ADDRESS=$bus
unset QT_QPA_PLATFORM
# Nothing to paint on X11: the desktop's background is the pattern.
sampler_setup "$2" "$3" true "$5"
"$4" /tmp/pattern.png 1280 800 && chmod 644 /tmp/pattern.png

# The portal's answers, as the bus carries them.
answers=/tmp/answers
dbus-monitor --session "type=signal,interface=org.freedesktop.portal.Request" >"$answers" 2>&1 &
TG_PIDS+=($!)
_answered() { [ "$(grep -c 'member=Response' "$answers")" -gt "$1" ]; }
# A drag's pointer moves on only once the picture was taken at the press: the
# desktop draws the pointer into its screenshots. GNOME may be asking.
seen=0
tg_pressed() {
    tg_wait_for 20 _answered "$seen" || tg_fail "the portal did not answer"
    seen=$(grep -c 'member=Response' "$answers")
}
# XWayland's root shows only X11 windows; the compositor shows all. Where the
# test cannot ask the compositor, our own window is all there is to check.
tg_grab_screen() {
    import -window "$wid" -depth 8 "ppm:$1.window" &&
        convert -size 1280x800 xc:black "$1.window" -geometry "+$ox+$oy" -composite -depth 8 "ppm:$1"
}
# The windows of ours besides the main one: notices.
notices() { xdotool search --all --onlyvisible --pid "$pid" --name '^Tintgrabber$' | grep -v "^$wid\$"; }
. "$(dirname "$0")/wayland_desktop.sh"
wayland_setup "$desktop" /tmp/pattern.png
TG_PIDS+=("${wayland_pids[@]}")
corners=("1279 0 swatch" "0 799" "5 5")
case $desktop in
sway)
    tg_grab_screen() { grim -t ppm "$1"; }
    eventually "the background shows the pattern" eval '[ "$(_screen_pixel 1000 700)" = "$(pattern_hex 1000 700)" ]'
    tg_pointer() { wayland_pointer "$@" && sleep 0.05; }
    ;;
gnome)
    # The shell's bar covers the top.
    corners=("1279 799 swatch" "0 799" "5 400")
    # Deny has the focus; Tab goes to Allow.
    answer() { (sleep "$1" && "$gnome_keys" "${@:2}") & }
    ;;
esac
# Only the file of each request goes: not one the user had, whose name makes
# GNOME number its own.
user_shot=${wayland_shots/\*/-user}
[ "$desktop" = gnome ] && user_shot=/tmp/home/Screenshot.png
[ "$desktop" = sway ] || { cp /tmp/pattern.png "$user_shot" && touch -d '1 hour ago' "$user_shot"; }
_no_shots() { [ "$(compgen -G "$wayland_shots" | grep -v -x -c -F "$user_shot")" = 0 ]; }

start_program 420 330
# swaybg may take a moment: on KDE the program itself reads the background.
_reads() { drag "$1" "$2" && [ "$(copied 3)" = "#$(pattern_hex "$1" "$2")" ]; }
[ "$desktop" != kde ] || assert_true "the background shows the pattern" tg_wait_for 10 _reads 1000 700
if [ "$desktop" = gnome ]; then
    answer 8 0xff09 0xff0d
    read_at 1100 620
    assert_eq "Allow after 8 s: that press sampled, nothing said" "" "$(notices)"
    assert_true "Allow is stored" eval 'wayland_store Lookup screenshot | grep -q yes'
    wayland_store Delete screenshot >/dev/null
    answer 1 0xff0d
    drag 1000 600
    eventually "Deny is said" eval '[ -n "$(notices)" ]'
    tg_key "$(notices)" alt+a
    assert_true "Ask Again: no answer stored" tg_wait_for 5 eval '[[ $(wayland_store Lookup screenshot) == *NotFound* ]]'
    answer 1 0xff09 0xff0d
    read_at 1000 600
    assert_true "the press after Ask Again asked: Allow is stored" eval 'wayland_store Lookup screenshot | grep -q yes'
fi
for point in "${corners[@]}"; do
    # shellcheck disable=SC2086
    read_at $point
done
drag 1100 620 swatch
check_texts 1100 620
check_magnifier "x3 from the screenshot" 3 1100 620

# Click-sampling. Over the desktop's own windows XWayland tells an X program of
# no move while no button is held, and a click there goes to that window: the
# picture covers the desktop meanwhile, our window live over it.
windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
covered() { eventually "$1" eval '[ "$(windows)" = '"$2"' ]'; }
# click X Y COMMAND: COMMAND runs while the button is held.
click() { tg_pointer "$1" "$2" 0 && tg_pointer "$1" "$2" 1 && "${@:3}" && tg_pointer "$1" "$2" 0; }
# shellcheck disable=SC2046
click_swatch() { click $(point_at IDC_COLORAREA) tg_pressed && covered "a click in the swatch covers the screen" 2; }
swatch_is() { eventually "$1" eval '[ "$(swatch_pixel)" = '"$2"' ]'; }
# move_to SX SY: the swatch follows the pointer there. Ours jumps once
# where a person's keeps moving, and a move before the desktop shows the
# picture goes to the desktop's own window, so the move is made again.
_moved_to() { tg_pointer $(($1 + 1)) "$2" 0 && tg_pointer "$1" "$2" 0 && [ "$(swatch_pixel)" = "$(pattern_hex "$1" "$2")" ]; }
move_to() { assert_true "the swatch follows to ($1, $2)" tg_wait_for 3 _moved_to "$1" "$2"; }
# Our pointer jumps where a person's glides: sway 1.7 may send its first
# press after an X window under the pointer went away nowhere. A click on our
# window's own background, which does nothing, takes that loss.
# shellcheck disable=SC2046
lost_press() { click $(point_at BACKGROUND) true; }
before=$(swatch_pixel)
click_swatch
move_to 200 150
wayland_key 27 # Escape
covered "Escape uncovers it" 1
swatch_is "Escape shows the colour before" "$before"
lost_press
click_swatch
move_to 300 650
check_magnifier "the magnifier follows over the desktop" 3 300 650
wayland_key 13 # Return
covered "Enter uncovers it" 1
swatch_is "Enter keeps the colour" "$(pattern_hex 300 650)"
lost_press
check_texts 300 650
if [ "$desktop" = sway ]; then
    # The ending click lands on the Exit button of an instance on Wayland
    # itself. Its leak check is off: at exit it reports 128 bytes allocated in
    # a library unloaded before the check, which no suppression can name.
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" QT_QPA_PLATFORM=wayland tg_start "$program"
    native=$TG_PID
    tg_wait_for 10 eval 'swaymsg -t get_tree | grep -q com.example.tintgrabber'
    nx=700 ny=60
    swaymsg -q "[app_id=com.example.tintgrabber] floating enable, border none, move absolute position $nx $ny"
    read -r x y < <(centre_of ID_CANCEL)
    ((x += nx, y += ny))
    tg_wait_for 3 eval '[ "$(_screen_pixel $nx $ny)" != "$(pattern_hex $nx $ny)" ]'
    exit_face=$(_screen_pixel "$x" "$y")
    click_swatch
    move_to 900 500
    click "$x" "$y" true
    covered "the ending click uncovers it" 1
    swatch_is "the ending click keeps its colour" "$exit_face"
    assert_true "the window under the ending click got none" tg_running "$native"
    kill "$native" # as the desktop's close would
fi
assert_true "no screenshot file stays" _no_shots
[ "$desktop" = sway ] || assert_true "the user's own stays" test -e "$user_shot"
if [ "$desktop" = kde ]; then
    rm -r "$HOME/Pictures"
    drag 900 500
    eventually "the cancel is said" eval '[ -n "$(notices)" ]'
    tg_key "$(notices)" Return
    eventually "the notice closes" eval '[ -z "$(notices)" ]'
    mkdir "$HOME/Pictures"
    read_at 900 500
fi
tg_close Escape
tg_finish
