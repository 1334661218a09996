#pragma once

#include <QPoint>

#include <memory>
#include <optional>

// Where the windowing system itself has the pointer, in physical pixels of the
// virtual desktop. On a scaled screen Qt hands pointer positions over rounded
// to whole logical pixels, which can put the mapped position a physical pixel
// beside the one under the pointer; the windowing system knows it exactly.
class PointerPosition
{
public:
    virtual ~PointerPosition() = default;

    // The pointer's physical position right now, or nothing where the
    // windowing system does not tell.
    virtual std::optional<QPoint> physicalPosition() = 0;
};

// For windowing systems that do not tell: the events' own positions stand.
class UnknownPointerPosition final : public PointerPosition
{
public:
    std::optional<QPoint> physicalPosition() override { return std::nullopt; }
};

// The one place that decides where the exact position comes from: the X
// server where the application runs on X11, nowhere else.
std::unique_ptr<PointerPosition> CreatePointerPosition();

// The physical pixel under the pointer for a pointer event whose position maps
// to eventPoint on a window scaled by devicePixelRatio. Unscaled, the event's
// position is exact and is used without asking anyone, so a move stays cheap.
// Scaled, the windowing system's position is used where it lies within what
// rounding to whole logical pixels can shift (ceil(devicePixelRatio) physical
// pixels in each axis); farther off, the pointer has moved on since the event,
// or the event was made up, and the event's own position stands.
QPoint PointerPixel(QPoint eventPoint, qreal devicePixelRatio, PointerPosition &pointer);
