# shellcheck shell=bash
# What differs between the Wayland desktops that scripts/with-sway.sh,
# with-gnome.sh and with-kde.sh start, for what runs on them
# (tests/desktop/wayland_test.sh, bench/portal_press.sh).
#
#   wayland_setup DESKTOP PICTURE   show PICTURE (1280 x 800) as the background
#                                   of DESKTOP (sway, gnome or kde); sets
#                                   wayland_pids to what it started
#   wayland_pointer X Y 0|1         move the pointer to (X, Y) with the left
#                                   button up (0) or held (1)
#   wayland_key KEY                 press and let go the key 0xffKEY (Return
#                                   13, Escape 27)
#   wayland_shots                   the portal's screenshot files, a glob
#   wayland_store METHOD [ARG]...   call GNOME's permission store on its
#                                   screenshot table: Lookup screenshot,
#                                   Delete screenshot, or SetPermission true
#                                   screenshot '' "['yes']"

wayland_setup() {
    wayland_pids=()
    case $1 in
    sway)
        swaymsg -q output HEADLESS-1 bg "$2" stretch
        wayland_shots=/tmp/out.png
        # The desktop's only pointer is the VNC server's (see with-sway.sh):
        # XTest would move XWayland's alone. A shared client without a
        # password, whose replies go unread, then a pointer event (type 5,
        # the buttons held, X, Y) a move.
        exec 5> >(exec socat - UNIX-CONNECT:/tmp/vnc >/dev/null)
        wayland_pids+=($!)
        printf 'RFB 003.008\n\001\001' >&5
        _vnc() { printf "$(printf '\\%03o' "$@")" >&5; }
        wayland_pointer() { _vnc 5 "$3" $(($1 >> 8)) $(($1 & 255)) $(($2 >> 8)) $(($2 & 255)); }
        # A key event: type 4, down or up, padding, the key symbol.
        wayland_key() { _vnc 4 1 0 0 0 0 255 "$1" && sleep 0.05 && _vnc 4 0 0 0 0 0 255 "$1" && sleep 0.05; }
        ;;
    gnome)
        printf "[org/gnome/desktop/background]\npicture-uri='file://%s'\npicture-options='stretched'\n" \
            "$2" >"$GNOME_KEYFILE"
        wayland_shots='/tmp/home/Screenshot*.png'
        ;;
    kde)
        swaybg -i "$2" -m stretch >/dev/null 2>&1 &
        wayland_pids+=($!)
        wayland_shots="$HOME/Pictures/Screenshot_*.png"
        ;;
    esac
}

# XTest drives the X program on GNOME and KDE.
_wayland_held=0
wayland_pointer() {
    local button=()
    [ "$3" = "$_wayland_held" ] || button=("$([ "$3" = 1 ] && echo mousedown || echo mouseup)" 1)
    xdotool mousemove "$1" "$2" "${button[@]}"
    _wayland_held=$3
}

wayland_key() { xdotool key "$(printf '0xff%02x' "$1")"; }

wayland_store() {
    gdbus call --session --dest org.freedesktop.impl.portal.PermissionStore \
        --object-path /org/freedesktop/impl/portal/PermissionStore \
        --method "org.freedesktop.impl.portal.PermissionStore.$1" screenshot "${@:2}" 2>&1
}
