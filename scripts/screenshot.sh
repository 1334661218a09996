#!/usr/bin/env bash
# Builds the program, runs it on a private Xvfb with openbox and writes
# docs/window.png: its window, frame included, as it really looks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default >/dev/null
mkdir -p docs
scripts/with-xvfb.sh --wm -- bash -c '
    . tests/desktop/lib.sh
    tg_start build/default/app/tintgrabber
    wid=$(tg_wait_window "$TG_PID" Tintgrabber) || tg_finish
    tg_activate "$wid"
    sleep 0.5 # let the window finish painting
    tg_screenshot "$wid" docs/window.png frame
    tg_finish
' >/dev/null
# No time stamps, so an unchanged window gives an unchanged file.
convert docs/window.png -strip -define png:exclude-chunks=date,time docs/window.png
echo "wrote docs/window.png"
