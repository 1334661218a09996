#pragma once

#include <QPoint>

#include <functional>
#include <optional>

// Where the windowing system itself has the pointer, in physical pixels of the
// virtual desktop, or nothing where it does not tell.
using PointerPosition = std::function<std::optional<QPoint>()>;

// The X server's answer on Qt's own connection where the application runs on
// X11 (one round trip), the system's on Windows; elsewhere none.
PointerPosition systemPointerPosition();

// Moves the pointer to a physical pixel of the virtual desktop, where the
// windowing system lets a program put it on any pixel (X11, Windows); false
// elsewhere.
bool warpPointer(QPoint physical);

// The physical pixel under the pointer for an event that maps to eventPoint
// on a window scaled by devicePixelRatio. Scaled, Qt hands pointer positions
// over rounded to whole logical pixels, which can land a physical pixel
// beside the pointer, so the system's position is asked for and used where it
// lies within that rounding (ceil(ratio) pixels each way); farther off, the
// pointer has moved on since the event and the event stands. Unscaled, the
// event is exact and nobody is asked.
QPoint pointerPixel(QPoint eventPoint, qreal devicePixelRatio, const PointerPosition &system);
