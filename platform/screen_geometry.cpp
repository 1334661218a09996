#include "platform/screen_geometry.h"

#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace
{

using Wide = std::int64_t;

// Half-open rectangle in 64 bits, so that a rectangle near the limits of int
// can be described and intersected without overflow.
struct Box {
    Wide left = 0, top = 0, right = 0, bottom = 0;

    bool isEmpty() const { return left >= right || top >= bottom; }
    bool contains(Wide x, Wide y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool contains(const Box &other) const
    {
        return other.left >= left && other.right <= right && other.top >= top &&
               other.bottom <= bottom;
    }
};

Box Intersect(const Box &a, const Box &b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// A ratio the arithmetic can use: anything not a positive finite number
// counts as no scaling.
qreal UsableRatio(qreal ratio)
{
    return std::isfinite(ratio) && ratio > 0 ? ratio : 1.0;
}

bool IsUnscaled(qreal ratio)
{
    return qFuzzyCompare(ratio, 1.0);
}

int SaturateToInt(double value)
{
    if (std::isnan(value))
        return std::numeric_limits<int>::min();
    value = std::clamp(value, double(std::numeric_limits<int>::min()),
                       double(std::numeric_limits<int>::max()));
    return int(value);
}

// How a screen maps a logical length to physical pixels: the same rounding as
// the screen's own grab applies to positions and sizes.
Wide ToNative(Wide logical, qreal ratio)
{
    return Wide(qRound64(double(logical) * ratio));
}

Box NativeBox(const ScreenInfo &screen)
{
    const qreal ratio = UsableRatio(screen.devicePixelRatio);
    const QRect &g = screen.logicalGeometry;
    if (screen.nativeSize.isValid())
        return {g.x(), g.y(), Wide(g.x()) + screen.nativeSize.width(),
                Wide(g.y()) + screen.nativeSize.height()};
    const Wide width = IsUnscaled(ratio) ? g.width() : ToNative(std::max(g.width(), 0), ratio);
    const Wide height = IsUnscaled(ratio) ? g.height() : ToNative(std::max(g.height(), 0), ratio);
    return {g.x(), g.y(), Wide(g.x()) + width, Wide(g.y()) + height};
}

// The logical span [start, start + length) that covers the physical span
// [wantedStart, wantedEnd), all relative to the screen's top-left, and where
// the wanted part begins inside what that logical span yields.
struct LogicalSpan {
    Wide start = 0, length = 0, offset = 0;
};

LogicalSpan CoverSpan(Wide wantedStart, Wide wantedEnd, qreal ratio)
{
    if (IsUnscaled(ratio))
        return {wantedStart, wantedEnd - wantedStart, 0};
    Wide start = Wide(std::floor(double(wantedStart) / ratio));
    while (start > 0 && ToNative(start, ratio) > wantedStart)
        --start;
    const Wide nativeStart = ToNative(start, ratio);
    const Wide needed = wantedEnd - nativeStart;
    Wide length = Wide(std::ceil(double(needed) / ratio));
    while (ToNative(length, ratio) < needed)
        ++length;
    return {start, length, wantedStart - nativeStart};
}

double DistanceSquared(const QRect &rect, QPointF point)
{
    const double dx = std::max(
        {double(rect.left()) - point.x(), 0.0, point.x() - (double(rect.x()) + rect.width())});
    const double dy = std::max(
        {double(rect.top()) - point.y(), 0.0, point.y() - (double(rect.y()) + rect.height())});
    return dx * dx + dy * dy;
}

bool LogicalContains(const QRect &rect, QPointF point)
{
    return point.x() >= rect.x() && point.x() < double(rect.x()) + rect.width() &&
           point.y() >= rect.y() && point.y() < double(rect.y()) + rect.height();
}

} // namespace

QRect NativeGeometry(const ScreenInfo &screen)
{
    // A QRect cannot reach past the largest int; such a screen is cut there.
    const Box box = NativeBox(screen);
    // Built from its corners: QRect's (x, y, width, height) constructor
    // overflows for a rectangle whose last pixel is the largest int.
    constexpr Wide last = std::numeric_limits<int>::max();
    return QRect(QPoint(int(box.left), int(box.top)),
                 QPoint(int(std::min(box.right - 1, last)), int(std::min(box.bottom - 1, last))));
}

int ScreenAtNative(std::span<const ScreenInfo> screens, QPoint point)
{
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (NativeBox(screens[i]).contains(point.x(), point.y()))
            return int(i);
    }
    return -1;
}

std::vector<ScreenGrab> PlanScreenGrabs(std::span<const ScreenInfo> screens, QPoint topLeft,
                                        QSize size)
{
    std::vector<ScreenGrab> grabs;
    const Box wanted{topLeft.x(), topLeft.y(), Wide(topLeft.x()) + std::max(size.width(), 0),
                     Wide(topLeft.y()) + std::max(size.height(), 0)};
    if (wanted.isEmpty())
        return grabs;
    std::vector<Box> covered;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const Box screen = NativeBox(screens[i]);
        const Box part = Intersect(wanted, screen);
        if (part.isEmpty())
            continue;
        // Mirrored screens show the same pixels; one grab of them is enough.
        if (std::any_of(covered.begin(), covered.end(),
                        [&](const Box &done) { return done.contains(part); }))
            continue;
        covered.push_back(part);

        const qreal ratio = UsableRatio(screens[i].devicePixelRatio);
        const LogicalSpan x = CoverSpan(part.left - screen.left, part.right - screen.left, ratio);
        const LogicalSpan y = CoverSpan(part.top - screen.top, part.bottom - screen.top, ratio);
        ScreenGrab grab;
        grab.screen = int(i);
        grab.logicalRect = QRect(int(x.start), int(y.start), int(x.length), int(y.length));
        grab.imageOffset = QPoint(int(x.offset), int(y.offset));
        grab.targetRect = QRect(int(part.left - wanted.left), int(part.top - wanted.top),
                                int(part.right - part.left), int(part.bottom - part.top));
        grabs.push_back(grab);
    }
    return grabs;
}

QPoint PhysicalFromLogical(std::span<const ScreenInfo> screens, QPointF logical, int fallbackScreen)
{
    const ScreenInfo *chosen = nullptr;
    for (const ScreenInfo &screen : screens) {
        if (LogicalContains(screen.logicalGeometry, logical)) {
            chosen = &screen;
            break;
        }
    }
    if (!chosen && fallbackScreen >= 0 && std::size_t(fallbackScreen) < screens.size())
        chosen = &screens[std::size_t(fallbackScreen)];
    if (!chosen && !screens.empty()) {
        chosen = &*std::min_element(screens.begin(), screens.end(),
                                    [&](const ScreenInfo &a, const ScreenInfo &b) {
                                        return DistanceSquared(a.logicalGeometry, logical) <
                                               DistanceSquared(b.logicalGeometry, logical);
                                    });
    }
    const QPointF origin = chosen ? QPointF(chosen->logicalGeometry.topLeft()) : QPointF();
    const qreal ratio = chosen ? UsableRatio(chosen->devicePixelRatio) : 1.0;
    // A position that Qt derived from a whole physical pixel comes back within
    // rounding error of it; the small bias keeps it from flooring to the
    // pixel before.
    constexpr double bias = 1e-6;
    const double x = std::floor(origin.x() + (logical.x() - origin.x()) * ratio + bias);
    const double y = std::floor(origin.y() + (logical.y() - origin.y()) * ratio + bias);
    return QPoint(SaturateToInt(x), SaturateToInt(y));
}
