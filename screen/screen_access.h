#pragma once

#include "screen/screen_source.h"

// Whether the program can read what the user sees. A Wayland session gives a
// Wayland program no grab at all, and through XWayland an X11 program reads
// only other X11 programs' windows, the rest as black: colours made up.
enum class ScreenAccess {
    Readable,
    NoGrab,         // the source supplies no pixel at all
    OnlyX11Windows, // X11 through XWayland inside a Wayland session
};

// Asks the X server, where there is one, whether it is XWayland, and else
// probes the primary screen's top-left pixel. Needs the application object.
ScreenAccess currentScreenAccess(ScreenSource &source);
