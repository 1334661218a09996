#!/usr/bin/env bash
# clipboard_test.sh PROGRAM LAYOUT_TOOL PAINT_ROOT CHECK_MAGNIFIER CLIPBOARD_CLIENT
# The text last copied stays on the clipboard after the program ends, kept by
# one process that answers every requestor, even those that ask for what it
# has not or go away, until another program takes the clipboard. Nothing is
# kept when the clipboard was no longer ours or a clipboard manager runs.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
sampler_setup "$1" "$2" "$3" "$4"
client=$5
hex="#$(pattern_hex 1100 620)"

# Samples a known colour and clicks the copy buttons given (see copied).
open_and_copy() {
    start_program 420 330
    drag 1100 620 swatch
    for button in "$@"; do copied "$button" >/dev/null; done
}

open_and_copy 0 3
tg_close Exit
assert_eq "after exit: the text copied last" "$hex" "$(tg_clipboard)"
keeper=$(tg_keepers)
assert_eq "one keeper" 1 "$(wc -w <<<"$keeper")"
# Under ctest our output is a pipe; a keeper holding it would hold up a
# caller reading the program's output.
assert_eq "it holds no pipe of ours" "" "$(find "/proc/$keeper/fd" -lname 'pipe:*')"
assert_eq "its targets" "TARGETS UTF8_STRING STRING TEXT" \
    "$(xclip -o -selection clipboard -t TARGETS | tr '\n' ' ' | sed 's/ $//')"
for target in STRING TEXT; do
    assert_eq "as $target" "$hex" "$(xclip -o -selection clipboard -t "$target")"
done
xclip -o -selection clipboard -t image/png >/dev/null 2>&1
assert_eq "an unknown target is refused" 1 "$?"
"$client" vanish
assert_eq "after a requestor vanished it still serves" "$hex" "$(tg_clipboard)"
printf other | xclip -i -selection clipboard
assert_true "another program's copy ends it" tg_wait_for 1 eval '! tg_running "$keeper"'

start_program 420 330
tg_close Exit
assert_eq "nothing copied: no keeper" "" "$(tg_keepers)"
assert_eq "nothing copied: the clipboard stays" other "$(tg_clipboard)"

open_and_copy 3
printf taken | xclip -i -selection clipboard
tg_close Exit
assert_eq "copy taken before exit: no keeper" "" "$(tg_keepers)"
assert_eq "copy taken before exit: the clipboard stays" taken "$(tg_clipboard)"

tg_start "$client" manager >"$XDG_CONFIG_HOME/manager.log"
manager=$TG_PID
tg_wait_for 3 grep -q ready "$XDG_CONFIG_HOME/manager.log"
open_and_copy 3
tg_close Exit
assert_eq "with a clipboard manager: no keeper" "" "$(tg_keepers)"
assert_true "with a clipboard manager: offered to it" grep -qx SAVE_TARGETS "$XDG_CONFIG_HOME/manager.log"
kill "$manager"
tg_finish
