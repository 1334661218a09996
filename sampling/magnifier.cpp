#include "sampling/magnifier.h"

#include "platform/surface.h"
#include "sampling/sampling_constants.h"
#include "settings/settings_store.h"

#include <algorithm>
#include <cmath>

namespace
{

// Beyond this factor one buffer pixel already covers more than any area an
// int can describe, so larger factors would draw the same picture.
constexpr qint64 MAX_DRAWN_FACTOR = qint64(1) << 32;

} // namespace

MagnifierGeometry ComputeMagnifierGeometry(const QRect &zoomAreaOuter, qint64 factor,
                                           qreal pixelRatio)
{
    // Each edge rounds as Qt rounds the edges of a scaled fill, so the picture
    // sits where a frame drawn at the same scale leaves room for it.
    const auto device = [pixelRatio](qint64 logical) {
        return pixelRatio == 1 ? logical : qint64(std::llround(double(logical) * pixelRatio));
    };
    MagnifierGeometry g{};
    g.left = device(qint64(zoomAreaOuter.x()) + AREA_INSET);
    g.top = device(qint64(zoomAreaOuter.y()) + AREA_INSET);
    g.right = device(qint64(zoomAreaOuter.x()) + zoomAreaOuter.width() - AREA_INSET);
    g.bottom = device(qint64(zoomAreaOuter.y()) + zoomAreaOuter.height() - AREA_INSET);

    // A factor below 1 has no enlargement to show; the plain neighbourhood is
    // the sensible picture for it.
    const qint64 z = std::clamp<qint64>(factor, 1, MAX_DRAWN_FACTOR);
    g.factor = z;
    g.cx = g.left + (g.right - g.left) / 2;
    g.cy = g.top + (g.bottom - g.top) / 2;

    // The sampled pixel's block starts at (cx + e, cy + e), so that it is
    // centred on (cx, cy); for an even factor the centre lies half a pixel up
    // and to the left.
    const qint64 e = z / -2;
    g.destLeft = g.cx + e - CAPTURE_CENTER * z;
    g.destTop = g.cy + e - CAPTURE_CENTER * z;

    const qint64 h = z / 2;
    g.x0 = g.cx - h;
    g.x1 = g.x0 + z;
    g.y0 = g.cy - h;
    g.y1 = g.y0 + z;
    return g;
}

QRect CapturePartShown(const QRect &zoomAreaOuter, qint64 factor, qreal pixelRatio)
{
    const MagnifierGeometry g = ComputeMagnifierGeometry(zoomAreaOuter, factor, pixelRatio);
    const auto floorDivide = [](qint64 value, qint64 by) {
        return value >= 0 ? value / by : -((-value + by - 1) / by);
    };
    // How far from the centre the shown pixels reach along one axis, from the
    // device pixels first and end (exclusive) and where the buffer starts.
    const auto reach = [&](qint64 first, qint64 end, qint64 bufferStart) -> int {
        if (end <= first)
            return 0;
        const qint64 low = floorDivide(first - bufferStart, g.factor);
        const qint64 high = floorDivide(end - 1 - bufferStart, g.factor);
        return int(std::clamp<qint64>(std::max(CAPTURE_CENTER - low, high - CAPTURE_CENTER), 0,
                                      CAPTURE_CENTER));
    };
    const int x = reach(g.left, g.right, g.destLeft);
    const int y = reach(g.top, g.bottom, g.destTop);
    return QRect(CAPTURE_CENTER - x, CAPTURE_CENTER - y, 2 * x + 1, 2 * y + 1);
}

void DrawSwatch(Surface &surface, const QRect &colorAreaOuter, COLORREF color, const QImage &icon)
{
    const QRect r = colorAreaOuter.adjusted(AREA_INSET, AREA_INSET, -AREA_INSET, -AREA_INSET);
    surface.fillRect(r, color);
    surface.drawIcon(
        QPoint(r.x() + (r.width() - icon.width()) / 2, r.y() + (r.height() - icon.height()) / 2),
        icon);
}

qint64 DrawMagnifier(Surface &surface, const QRect &zoomAreaOuter, const QImage &captureBuffer,
                     const SettingsStore &settings)
{
    const int index = settings.GetInt(QLatin1String(SETTINGS_SECTION_WINDOW),
                                      QLatin1String(SETTINGS_ENTRY_ZOOM), 0);
    const qint64 factor = ZoomFactorFromIndex(index);
    DrawMagnifierAtFactor(surface, zoomAreaOuter, captureBuffer, factor);
    return factor;
}

void DrawMagnifierAtFactor(Surface &surface, const QRect &zoomAreaOuter,
                           const QImage &captureBuffer, qint64 factor)
{
    const MagnifierGeometry g =
        ComputeMagnifierGeometry(zoomAreaOuter, factor, surface.pixelRatio());
    surface.setClip(QRect(int(g.left), int(g.top), int(g.right - g.left), int(g.bottom - g.top)));

    surface.stretchCopy(captureBuffer, QRect(0, 0, CAPTURE_SIZE, CAPTURE_SIZE), g.destLeft,
                        g.destTop, g.factor);

    // Line ends far outside the clip are pulled in to just outside it: what
    // the lines cover inside stays the same, and every point fits an int.
    const auto px = [&g](qint64 x, qint64 y) {
        return QPoint(int(std::clamp(x, g.left - 1, g.right)),
                      int(std::clamp(y, g.top - 1, g.bottom)));
    };

    // Four bent lines border the sampled pixel's row and column bands from
    // the edges up to its corners and leave the pixel itself clear. Each
    // covered pixel is covered once, since covering it twice would restore it.
    surface.setRasterMode(RasterMode::InvertDestination);
    surface.moveTo(px(g.left, g.y0));
    surface.lineTo(px(g.x0, g.y0));
    surface.lineTo(px(g.x0, g.top));

    surface.moveTo(px(g.x1, g.top));
    surface.lineTo(px(g.x1, g.y0));
    surface.lineTo(px(g.right, g.y0));

    surface.moveTo(px(g.left, g.y1));
    surface.lineTo(px(g.x0, g.y1));
    surface.lineTo(px(g.x0, g.bottom));

    surface.moveTo(px(g.x1, g.bottom));
    surface.lineTo(px(g.x1, g.y1));
    surface.lineTo(px(g.right, g.y1));
}
