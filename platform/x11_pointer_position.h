#pragma once

#ifdef TINTGRABBER_HAVE_XLIB

#include "platform/pointer_position.h"

struct _XDisplay;

// Asks the X server where the pointer is, on Qt's own connection: one round
// trip, and no connection of our own to keep. Root-window coordinates are the
// physical pixels of the virtual desktop that Qt's screens lie on.
class X11PointerPosition final : public PointerPosition
{
public:
    // Null unless the application runs on X11.
    static std::unique_ptr<X11PointerPosition> openForApplication();

    std::optional<QPoint> physicalPosition() override;

private:
    X11PointerPosition(_XDisplay *display, unsigned long root) : display_(display), root_(root) {}

    // Qt's, and Qt closes it after the last window has gone.
    _XDisplay *display_;
    unsigned long root_;
};

#endif
