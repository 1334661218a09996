#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <span>
#include <vector>

// What the geometry below needs to know of one screen, as the screen itself
// reports it. The logical geometry keeps the screen's native top-left corner
// and scales only its size by 1 / devicePixelRatio, so a screen's physical
// pixels start where its logical geometry starts.
struct ScreenInfo {
    QRect logicalGeometry;
    qreal devicePixelRatio = 1.0;
    // The size in physical pixels where it is known. Scaling the logical size
    // back can miss by one (700 pixels at 1.5 are 467 logical ones, which
    // scale back to 701), so a measured size wins.
    QSize nativeSize;
};

// The screen's rectangle in physical pixels on the virtual desktop.
QRect NativeGeometry(const ScreenInfo &screen);

// Index of the screen whose physical pixels include point, or -1.
int ScreenAtNative(std::span<const ScreenInfo> screens, QPoint point);

// One grab that supplies part of a physical rectangle of the desktop.
struct ScreenGrab {
    int screen = -1;
    // Relative to the screen's logical top-left, in logical pixels: what the
    // screen's own grab takes. Where a logical pixel spans several physical
    // ones it may start a pixel before the wanted part and end a pixel after
    // it; only the wanted part is used.
    QRect logicalRect;
    // Where the wanted part starts in the grabbed image, in physical pixels.
    QPoint imageOffset;
    // The wanted part, in physical pixels relative to the requested
    // rectangle's top-left: where it goes in the target.
    QRect targetRect;
};

// The grabs that supply the physical rectangle (topLeft, size): one per
// screen it touches, each limited to what lies on that screen. Parts that no
// screen covers appear in no grab. Works for any topLeft, however close to the
// limits of int.
std::vector<ScreenGrab> PlanScreenGrabs(std::span<const ScreenInfo> screens, QPoint topLeft,
                                        QSize size);

// The physical pixel under a global logical position (as a mouse event's
// globalPosition gives it). The screen whose logical geometry holds the
// position decides the scale; off every screen, fallbackScreen decides (the
// screen of the window that receives the events), or else the nearest screen.
// The result saturates at the limits of int instead of overflowing.
QPoint PhysicalFromLogical(std::span<const ScreenInfo> screens, QPointF logical,
                           int fallbackScreen = -1);
