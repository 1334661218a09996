#!/usr/bin/env bash
# hostile_settings_test.sh PROGRAM BASE_UNITS_TOOL INSTANCE_HELPER
# The program starts whatever its settings file holds: garbled bytes, 10 MB,
# values that are no integers or out of range, a folder or a pipe in its place,
# a read-only folder, a lock another instance holds. It uses the defaults for
# what it cannot read, the stored value of every entry it can, and never
# writes at exit: the file's bytes and time are the same after a start and an
# Escape. INSTANCE_HELPER is the settings test program, which run with
# "--instance ROOT" is another instance's settings store, driven on stdin.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
read -r bx by < <("$2")
helper=$3

folder=$XDG_CONFIG_HOME/Tintgrabber
file=$folder/tintgrabber.conf

above() {
    tg_prop "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE
}

# What must not change: type, bytes, modification time, and the folder's
# entries.
fingerprint() {
    stat -c '%F %s %y' "$file" 2>&1
    [ -f "$file" ] && sha256sum <"$file"
    ls -A "$folder"
}

# The always-on-top box's indicator, at the left of its rectangle (213, 2, 60, 10).
read -r box_x box_y _ box_h < <(tg_units_rect "$bx" "$by" 213 2 60 10)
box_x=$((box_x + 6))
box_y=$((box_y + box_h / 2))

# run_case NAME ON_TOP [RUNNER...]: starts the program on the file as it is
# now (through RUNNER, e.g. as another user), expects the window on top or
# not (1 or 0: the stored entry was read, or its default used), ends it with
# Escape and checks that nothing was written.
run_case() {
    local name=$1 on_top=$2 wid
    shift 2
    local before
    before=$(fingerprint)
    tg_start "$@" "$program"
    if ! wid=$(tg_wait_window "$TG_PID" Tintgrabber); then
        tg_fail "$name: no window"
        return
    fi
    if [ "$on_top" = 1 ]; then
        assert_true "$name: the readable entry is used (on top)" tg_wait_for 3 above "$wid"
    else
        sleep 0.2
        assert_true "$name: the default is used (not on top)" eval '! above "$wid"'
    fi
    tg_key "$wid" Escape
    if tg_wait_exit "$TG_PID" 10; then
        assert_eq "$name: ends normally" 0 "$TG_STATUS"
    else
        tg_fail "$name: Escape did not end the program"
    fi
    assert_eq "$name: nothing written" "$before" "$(fingerprint)"
}

# put CONTENT: the settings file holds exactly CONTENT (printf format).
put() {
    rm -rf "$folder"
    mkdir -p "$folder"
    printf "$1" >"$file"
}

put '\001\002\377\376\000zz[[[\n[win]\naot=1\n'
run_case "garbled bytes" 0

put '[win]\naot=1\n[pad]\nlong='
head -c $((10 * 1024 * 1024)) /dev/zero | tr '\0' a >>"$file"
run_case "a 10 MB file" 0

put '[other]\nname=hello\n\n[win]\naot=1\nzom=big\n'
run_case "a zoom that is no integer" 1

put '[win]\naot=1\nzom=4294967296\n'
run_case "a zoom beyond 32 bits" 1

put '[win]\naot=1\nzom=99\n'
run_case "a zoom beyond the list" 1

put '[win]\naot=2.5\n'
run_case "an always-on-top fraction" 0

rm -rf "$folder"
mkdir -p "$file"
run_case "a folder in place of the file" 0

rm -rf "$folder"
mkdir -p "$folder"
mkfifo "$file"
run_case "a pipe in place of the file" 0

# Permissions bind root only through another user.
put '[win]\naot=1\n'
runner=()
if [ "$(id -u)" = 0 ]; then
    chmod 755 "$XDG_CONFIG_HOME"
    chmod 1777 "$TG_REPORTS" # where the sanitizers write their reports
    runner=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
chmod 555 "$folder"
run_case "a read-only folder" 1 "${runner[@]}"
chmod 755 "$folder"

# Another instance holds the lock while it writes, here for good. Reading
# needs no lock; a change the user makes cannot be stored, but the window
# still follows it and does not freeze.
put '[win]\naot=1\n'
coproc INSTANCE { "$helper" --instance "$XDG_CONFIG_HOME"; }
# Bash forgets INSTANCE_PID once it has reaped the helper, which on a busy
# machine can happen before the wait below.
instance_pid=$INSTANCE_PID
echo lock >&"${INSTANCE[1]}"
read -r -t 10 answer <&"${INSTANCE[0]}"
assert_eq "the other instance holds the lock" locked "${answer:-}"
before=$(fingerprint)
tg_start "$program"
if wid=$(tg_wait_window "$TG_PID" Tintgrabber); then
    assert_true "lock held: the stored entry is read" tg_wait_for 3 above "$wid"
    tg_activate "$wid"
    tg_click "$wid" "$box_x" "$box_y"
    assert_true "lock held: clearing the box still takes the window off the top" \
        tg_wait_for 3 eval '! above "$wid"'
    tg_key "$wid" Escape
    tg_wait_exit "$TG_PID" 10 || tg_fail "lock held: Escape did not end the program"
    assert_eq "lock held: nothing written" "$before" "$(fingerprint)"
fi
echo unlock >&"${INSTANCE[1]}"
read -r -t 10 answer <&"${INSTANCE[0]}"
eval "exec ${INSTANCE[1]}>&-"
wait "$instance_pid"

tg_finish
