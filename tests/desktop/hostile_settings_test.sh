#!/usr/bin/env bash
# hostile_settings_test.sh PROGRAM LAYOUT_TOOL INSTANCE_HELPER
# The program starts whatever its settings file holds: garbled bytes, 10 MB
# (1 MiB is still read), a zoom beyond the list, an entry that is no 32-bit
# integer, a folder or a pipe in its place, a read-only folder,
# a read-only file, a lock another instance holds. It uses the defaults for
# what it cannot read and every entry it can; where it cannot store, a change
# still applies to the window, a notice says so, and the file stays as it was;
# nothing is written at exit.
# INSTANCE_HELPER run with "--instance ROOT" is another instance's settings
# store, driven on stdin.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
program=$1
tg_layout "$2"
folder=$XDG_CONFIG_HOME/Tintgrabber
file=$folder/tintgrabber.conf
# Type, bytes, modification time, and the folder's entries.
fingerprint() {
    stat -c '%F %s %y' "$file" 2>&1
    [ -f "$file" ] && sha256sum <"$file"
    ls -A "$folder"
}

# run_case NAME ON_TOP CHANGE [RUNNER...]: starts the program on the file as
# it is (through RUNNER, e.g. as another user), expects the window on top or
# not (the stored entry read, or the default); with CHANGE=change, clicks the
# box, which the window follows though it cannot be stored, and a notice says
# so; Escape ends it with status 0 and the file is unchanged.
run_case() {
    local name=$1 on_top=$2 change=$3 before
    before=$(fingerprint)
    tg_open "${@:4}" "$program"
    # Time to put the window on top, were it to go there.
    sleep 0.2
    eventually "$name: the stored entry or else the default: on top $on_top" tg_on_top_is "$on_top"
    if [ "$change" = change ]; then
        tg_click_on_top_box
        eventually "$name: the box switches the window all the same" tg_on_top_is $((1 - on_top))
        eventually "$name: a notice says the change is not stored" eval '[ -n "$(notice)" ]'
        tg_key "$(notice)" Escape
        eventually "$name: Escape closes the notice" eval '[ -z "$(notice)" ]'
    fi
    tg_close Escape
    assert_eq "$name: the file is unchanged" "$before" "$(fingerprint)"
}

# The main window's title, on another window of the program.
notice() { xdotool search --all --onlyvisible --pid "$pid" --name '^Tintgrabber$' 2>/dev/null | grep -vx "$wid"; }

# put CONTENT: the settings file holds exactly CONTENT (printf format).
put() {
    rm -rf "$folder"
    mkdir -p "$folder"
    printf "$1" >"$file"
}

put '\001\002\377\376\000zz[[[\n[win]\naot=1\n'
run_case "garbled bytes" 0 change
put '[win]\naot=1\n[pad]\nlong='
head -c $((10 * 1024 * 1024)) /dev/zero | tr '\0' a >>"$file"
run_case "a 10 MB file" 0 change
put '[win]\naot=1\n[pad]\nlong='
head -c $((1024 * 1024 - 24)) /dev/zero | tr '\0' a >>"$file" && echo >>"$file"
run_case "a file of 1 MiB" 1 keep
put '[other]\nname=hello\n\n[win]\naot=1\nzom=99\n'
run_case "a zoom beyond the list" 1 keep
# Read only whole and within 32 bits, so a wrap or a prefix would put it on top.
for entry in "1 -2147483648" '1 " 2147483647 "' "0 2147483648" "0 1x"; do
    put "[win]\nzom=10x\naot=${entry#* }\n"
    run_case "aot=${entry#* }" "${entry%% *}" keep
done
rm -rf "$folder"
mkdir -p "$file"
run_case "a folder in place of the file" 0 change
rm -r "$file"
mkfifo "$file"
run_case "a pipe in place of the file" 0 change

# Permissions bind root only through another user.
put '[win]\naot=1\n'
runner=()
if [ "$(id -u)" = 0 ]; then
    chmod 755 "$XDG_CONFIG_HOME"
    chmod 1777 "$TG_REPORTS" # where the sanitizers write their reports
    runner=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
chmod 555 "$folder"
run_case "a read-only folder" 1 change "${runner[@]}"
chmod 777 "$folder"
chmod 444 "$file"
run_case "a read-only file" 1 change "${runner[@]}"
chmod 755 "$folder"
chmod 644 "$file"

# Another instance holds the lock, here for good: reading needs none, and a
# write gives up rather than freeze the window.
coproc INSTANCE { "$3" --instance "$XDG_CONFIG_HOME"; }
# Bash forgets INSTANCE_PID once it has reaped the helper.
instance_pid=$INSTANCE_PID
ask() { echo "$1" >&"${INSTANCE[1]}" && read -r -t 10 answer <&"${INSTANCE[0]}"; }
ask lock
assert_eq "the other instance holds the lock" locked "${answer:-}"
run_case "lock held" 1 change
ask unlock
eval "exec ${INSTANCE[1]}>&-"
wait "$instance_pid"
tg_finish
