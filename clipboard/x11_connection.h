#pragma once

#include <X11/Xlib.h>

#include <memory>

// What the closing program and its clipboard keeper share.

// Our texts are a few dozen bytes; this bound keeps the hand-over within one
// socket buffer and one property change, so neither side can block on it.
inline constexpr int MAX_KEPT_TEXT_BYTES = 64 * 1024;

struct DisplayCloser {
    void operator()(Display *display) const { XCloseDisplay(display); }
};
// A connection to the X server, closed when it goes.
using X11Connection = std::unique_ptr<Display, DisplayCloser>;
