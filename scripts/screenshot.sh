#!/usr/bin/env bash
# Builds the program, runs it on a private Xvfb with openbox over the test
# pattern and writes docs/window.png: its window, frame included, as it really
# looks after a drag to the icon in its own title bar (the swatch, the
# magnifier and the six fields filled). The point is openbox's default theme's.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default >/dev/null
mkdir -p docs
scripts/with-xvfb.sh --wm -- bash -c '
    . tests/desktop/lib.sh
    tools=build/default/tests/desktop
    # At x8 each pixel shows as a block.
    mkdir -p "$XDG_CONFIG_HOME/Tintgrabber"
    printf "[win]\nzom=5\n" >"$XDG_CONFIG_HOME/Tintgrabber/tintgrabber.conf"
    sampler_setup build/default/app/tintgrabber $tools/dialog_layout \
        $tools/tools/paint_root $tools/tools/check_magnifier
    start_program 400 330
    # The magenta arrow of the icon in the window'"'"'s own title bar, so that
    # the magnifier shows the colourful icon pixel by pixel.
    drag $((ox + 13)) $((oy - 11)) swatch
    tg_activate "$wid"
    sleep 0.5 # let the window finish painting
    tg_screenshot "$wid" docs/window.png frame
    tg_finish
' >/dev/null
# No time stamps, so an unchanged window gives an unchanged file.
convert docs/window.png -strip -define png:exclude-chunks=date,time docs/window.png
echo "wrote docs/window.png"
