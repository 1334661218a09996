#pragma once

#include "platform/screen_source.h"

#include <QPoint>

// Whether the program can read what the user sees. Some desktops keep the
// screen from programs: a Wayland session gives a Wayland program no grab at
// all, and through XWayland an X11 program reads only other X11 programs'
// windows, the rest as black. There the colours read would be made up.
enum class ScreenAccess {
    Readable,
    NoGrab,         // the screen source supplies no pixel at all
    OnlyX11Windows, // X11 through XWayland, inside a Wayland session
};

// The verdict from what was observed: a probe pixel the source supplied or
// not, and whether the X server is XWayland.
ScreenAccess JudgeScreenAccess(bool pixelSupplied, bool xwayland);

// Whether the source supplies the pixel at point. UNREADABLE_PIXEL has bits no
// colour has, so a pixel that reads as it was never read.
bool SuppliesPixel(ScreenSource &source, QPoint point);

// The verdict for this process: probes the source in the middle of the primary
// screen and asks the X server, where the program runs on X11, whether it is
// XWayland. Costs one pixel read; needs the application object.
ScreenAccess CurrentScreenAccess(ScreenSource &source);
