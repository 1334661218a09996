#include "platform/pointer_position.h"

#ifdef TINTGRABBER_HAVE_XLIB
#include "platform/x11_pointer_position.h"
#endif

#include <QtGlobal>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace
{

// Differences in 64 bits: an event far off the desktop saturates at the
// limits of int.
bool WithinDistance(QPoint a, QPoint b, std::int64_t distance)
{
    return std::abs(std::int64_t(a.x()) - b.x()) <= distance &&
           std::abs(std::int64_t(a.y()) - b.y()) <= distance;
}

} // namespace

std::unique_ptr<PointerPosition> CreatePointerPosition()
{
#ifdef TINTGRABBER_HAVE_XLIB
    if (auto x11 = X11PointerPosition::openForApplication())
        return x11;
#endif
    return std::make_unique<UnknownPointerPosition>();
}

QPoint PointerPixel(QPoint eventPoint, qreal devicePixelRatio, PointerPosition &pointer)
{
    if (qFuzzyCompare(devicePixelRatio, 1.0) || !(devicePixelRatio > 0))
        return eventPoint;
    const std::optional<QPoint> exact = pointer.physicalPosition();
    if (exact && WithinDistance(*exact, eventPoint, std::int64_t(std::ceil(devicePixelRatio))))
        return *exact;
    return eventPoint;
}
