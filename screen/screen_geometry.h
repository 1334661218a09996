#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <span>
#include <vector>

// One screen as it reports itself. Its logical geometry keeps the native
// top-left corner and scales only the size, so its physical pixels start where
// the logical geometry starts.
struct ScreenInfo {
    QRect logicalGeometry;
    qreal devicePixelRatio = 1.0;
    // The physical size where it was measured: scaling the logical size back
    // can miss by one (700 pixels at 1.5 are 467 logical ones, 701 again).
    QSize nativeSize;
};

// The screen's rectangle in physical pixels of the virtual desktop.
QRect nativeGeometry(const ScreenInfo &screen);

// One grab that supplies part of a requested physical rectangle.
struct ScreenGrab {
    int screen = -1;
    // What the screen's own grab takes, in its logical pixels from its
    // top-left; scaled, it may reach a pixel beyond the wanted part.
    QRect logicalRect;
    // Where the wanted part starts in the grabbed image.
    QPoint imageOffset;
    // The wanted part, relative to the requested rectangle's top-left.
    QRect targetRect;
};

// The grabs that supply the physical rectangle (topLeft, size): one per screen
// it touches, mirrored screens once. What no screen covers is in no grab.
std::vector<ScreenGrab> planScreenGrabs(std::span<const ScreenInfo> screens, QPoint topLeft,
                                        QSize size);

// The physical pixel under a global logical position, as a pointer event's
// globalPosition gives it. The screen holding the position decides the scale;
// off every screen fallbackScreen does, or else the nearest screen. Saturates
// at the limits of int.
QPoint physicalFromLogical(std::span<const ScreenInfo> screens, QPointF logical,
                           int fallbackScreen = -1);
