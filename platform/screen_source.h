#pragma once

#include "sampling/colorref.h"

#include <QImage>
#include <QPoint>

// Reads the pixels of the whole desktop. Points are in physical screen pixels
// on the virtual desktop, so that a sample is always one real pixel even where
// the desktop is scaled.
class ScreenSource
{
public:
    virtual ~ScreenSource() = default;

    // The pixel at a point, or UNREADABLE_PIXEL where no screen supplies one.
    virtual COLORREF pixelAt(QPoint point) = 0;

    // Copies the desktop rectangle of target's size whose top-left corner is
    // topLeft into target at (0, 0), one pixel for one pixel. Pixels that no
    // screen supplies keep what target held. target is QImage::Format_RGB32.
    // Returns whether the pixel at target's centre, (width / 2, height / 2),
    // was supplied: a sampler reads its colour from there and needs no second
    // read of the screen.
    virtual bool copyRect(QPoint topLeft, QImage &target) = 0;
};
