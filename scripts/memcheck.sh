#!/usr/bin/env bash
# scripts/memcheck.sh [BUILD_DIR]
# Runs the real program under valgrind's memcheck through one session on a
# private Xvfb with openbox: start, a drag of 200 moves over a known picture,
# every copy button, the About window opened and closed three times, exit.
# Passes when memcheck reports no error and no definite leak. Only the
# platform's libraries are suppressed, each entry explained, in
# scripts/memcheck.supp. BUILD_DIR defaults to build/default (built if
# missing). Not part of scripts/test.sh: it takes about a minute here.
# The full memcheck log is kept in BUILD_DIR/memcheck.log.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" != --session ]; then
    set -e
    cd "$here/.."
    build=${1:-build/default}
    [ -x "$build/app/tintgrabber" ] || scripts/build.sh
    command -v valgrind >/dev/null || scripts/setup.sh
    start=$(date +%s)
    status=0
    scripts/with-xvfb.sh --wm -- "$here/memcheck.sh" --session "$(cd "$build" && pwd)" || status=$?
    echo "memcheck session took $(($(date +%s) - start)) s"
    exit "$status"
fi

# --session BUILD_DIR: the session itself, on the display with-xvfb.sh made.
build=$2
. "$here/../tests/desktop/lib.sh"
log=$build/memcheck.log
tg_layout "$build/tests/desktop/dialog_layout"
"$build/tests/desktop/tools/paint_root" --pattern || tg_fail "could not paint the root window"

tg_start valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
    --errors-for-leak-kinds=definite --num-callers=40 --error-exitcode=42 \
    --suppressions="$here/memcheck.supp" --log-file="$log" "$build/app/tintgrabber"
pid=$TG_PID
wid=$(tg_wait_window "$pid" Tintgrabber 120) || tg_finish
xdotool windowmove --sync "$wid" 400 300 >/dev/null 2>&1
read -r ox oy < <(tg_window_origin "$wid")
echo "ok   the window maps under memcheck"

# A drag of 200 moves from the magnifier, each to its own pixel.
read -r zx zy < <(centre_of IDC_ZOOMAREA)
moves=()
for i in $(seq 1 200); do
    moves+=(mousemove $((100 + i * 3)) $((100 + i * 2)) sleep 0.01)
done
xdotool mousemove $((ox + zx)) $((oy + zy)) mousedown 1 sleep 0.1 "${moves[@]}" sleep 0.5 mouseup 1
expected=$(printf '#%02x%02x%02x' $(((100 + 600) % 256)) $(((100 + 400) % 256)) \
    $(((((100 + 600) >> 8) * 37 + ((100 + 400) >> 8) * 101 + 3 * 700 + 5 * 500) % 256)))

# Every copy button (COPY3 is IDC_COPYHASHHEX); the #rrggbb one goes last so its text tells the drag
# reached its end.
_clipboard_is() { [ "$(tg_clipboard)" = "$1" ]; }
for button in COPY0 COPY1 COPY2 COPY4 COPY5 IDC_COPYHASHHEX; do
    read -r x y < <(centre_of "$button")
    xdotool mousemove $((ox + x)) $((oy + y)) click 1
    sleep 0.5
done
assert_true "the last copy button copies the colour at the drag's end" \
    tg_wait_for 20 _clipboard_is "$expected"

# The About window, three times, from the window menu on the magnifier.
_about_gone() {
    [ -z "$(xdotool search --all --onlyvisible --pid "$pid" --name '^About Tintgrabber$' 2>/dev/null)" ]
}
for round in 1 2 3; do
    xdotool mousemove --sync $((ox + zx)) $((oy + zy)) click 3
    sleep 2
    xdotool key Down Return
    if about=$(tg_wait_window "$pid" "About Tintgrabber" 60); then
        tg_key "$about" Escape
        assert_true "About window $round opens and closes" tg_wait_for 30 _about_gone
    fi
done

tg_key "$wid" Escape
if tg_wait_exit "$pid" 120; then
    assert_eq "memcheck: no error, no definite leak (exit status)" 0 "$TG_STATUS"
else
    tg_fail "the program did not end"
fi
grep -E 'definitely lost|ERROR SUMMARY' "$log" | sed -e 's/^==[0-9]*== */     /'
if grep -q 'definitely lost: [1-9]' "$log" || ! grep -q 'ERROR SUMMARY: 0 errors' "$log"; then
    tg_fail "memcheck found errors or definite leaks; see $log"
fi
tg_finish
