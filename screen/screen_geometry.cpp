#include "screen/screen_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace
{

using Wide = std::int64_t;

// Half-open, in 64 bits: rectangles near the limits of int intersect without
// overflow.
struct Box {
    Wide left = 0, top = 0, right = 0, bottom = 0;

    bool isEmpty() const { return left >= right || top >= bottom; }
    bool contains(const Box &o) const
    {
        return o.left >= left && o.right <= right && o.top >= top && o.bottom <= bottom;
    }
    Box operator&(const Box &o) const
    {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    }
};

// Anything but a positive finite ratio counts as no scaling.
qreal usableRatio(qreal ratio)
{
    return std::isfinite(ratio) && ratio > 0 ? ratio : 1.0;
}

// The rounding a screen's own grab applies to logical positions and sizes.
Wide toNative(Wide logical, qreal ratio)
{
    return Wide(std::llround(double(logical) * ratio));
}

Box nativeBox(const ScreenInfo &screen)
{
    const QRect &g = screen.logicalGeometry;
    const qreal ratio = usableRatio(screen.devicePixelRatio);
    const QSize size = screen.nativeSize.isValid()
                           ? screen.nativeSize
                           : QSize(int(toNative(std::max(g.width(), 0), ratio)),
                                   int(toNative(std::max(g.height(), 0), ratio)));
    return {g.x(), g.y(), Wide(g.x()) + size.width(), Wide(g.y()) + size.height()};
}

// The logical span from start, length long, that covers the physical span
// [from, to) of one axis, and where the wanted part begins in what it yields.
struct Span {
    Wide start = 0, length = 0, offset = 0;
};

Span coverSpan(Wide from, Wide to, qreal ratio)
{
    Wide start = Wide(std::floor(double(from) / ratio));
    while (start > 0 && toNative(start, ratio) > from)
        --start;
    const Wide needed = to - toNative(start, ratio);
    Wide length = Wide(std::ceil(double(needed) / ratio));
    while (toNative(length, ratio) < needed)
        ++length;
    return {start, length, from - toNative(start, ratio)};
}

int saturateToInt(double value)
{
    if (std::isnan(value))
        return std::numeric_limits<int>::min();
    return int(std::clamp(value, double(std::numeric_limits<int>::min()),
                          double(std::numeric_limits<int>::max())));
}

double distanceSquared(const QRect &rect, QPointF p)
{
    const double dx = std::max({rect.left() - p.x(), 0.0, p.x() - (rect.x() + rect.width())});
    const double dy = std::max({rect.top() - p.y(), 0.0, p.y() - (rect.y() + rect.height())});
    return dx * dx + dy * dy;
}

} // namespace

QRect nativeGeometry(const ScreenInfo &screen)
{
    const Box box = nativeBox(screen);
    constexpr Wide last = std::numeric_limits<int>::max();
    return QRect(QPoint(int(box.left), int(box.top)),
                 QPoint(int(std::min(box.right - 1, last)), int(std::min(box.bottom - 1, last))));
}

std::vector<ScreenGrab> planScreenGrabs(std::span<const ScreenInfo> screens, QPoint topLeft,
                                        QSize size)
{
    std::vector<ScreenGrab> grabs;
    const Box wanted{topLeft.x(), topLeft.y(), Wide(topLeft.x()) + std::max(size.width(), 0),
                     Wide(topLeft.y()) + std::max(size.height(), 0)};
    std::vector<Box> covered;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const Box screen = nativeBox(screens[i]);
        const Box part = wanted & screen;
        if (part.isEmpty() || std::any_of(covered.begin(), covered.end(),
                                          [&](const Box &done) { return done.contains(part); }))
            continue;
        covered.push_back(part);
        const qreal ratio = usableRatio(screens[i].devicePixelRatio);
        const Span x = coverSpan(part.left - screen.left, part.right - screen.left, ratio);
        const Span y = coverSpan(part.top - screen.top, part.bottom - screen.top, ratio);
        grabs.push_back({int(i), QRect(int(x.start), int(y.start), int(x.length), int(y.length)),
                         QPoint(int(x.offset), int(y.offset)),
                         QRect(int(part.left - wanted.left), int(part.top - wanted.top),
                               int(part.right - part.left), int(part.bottom - part.top))});
    }
    return grabs;
}

QPoint physicalFromLogical(std::span<const ScreenInfo> screens, QPointF logical, int fallbackScreen)
{
    const auto holds = [logical](const ScreenInfo &s) {
        const QRect &g = s.logicalGeometry;
        return logical.x() >= g.x() && logical.x() < double(g.x()) + g.width() &&
               logical.y() >= g.y() && logical.y() < double(g.y()) + g.height();
    };
    auto chosen = std::find_if(screens.begin(), screens.end(), holds);
    if (chosen == screens.end() && fallbackScreen >= 0 &&
        std::size_t(fallbackScreen) < screens.size())
        chosen = screens.begin() + fallbackScreen;
    if (chosen == screens.end())
        chosen = std::min_element(screens.begin(), screens.end(),
                                  [logical](const ScreenInfo &a, const ScreenInfo &b) {
                                      return distanceSquared(a.logicalGeometry, logical) <
                                             distanceSquared(b.logicalGeometry, logical);
                                  });
    const bool found = chosen != screens.end();
    const QPointF origin = found ? QPointF(chosen->logicalGeometry.topLeft()) : QPointF();
    const qreal ratio = found ? usableRatio(chosen->devicePixelRatio) : 1.0;
    // A position Qt derived from a whole physical pixel comes back within
    // rounding error of it; the bias keeps it from flooring to the one before.
    constexpr double bias = 1e-6;
    return QPoint(
        saturateToInt(std::floor(origin.x() + (logical.x() - origin.x()) * ratio + bias)),
        saturateToInt(std::floor(origin.y() + (logical.y() - origin.y()) * ratio + bias)));
}
