#include "sampling/magnifier.h"

#include "sampling/drag_sampler.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{

// One capture pixel already covers more than any picture at this factor.
constexpr qint64 MAX_DRAWN_FACTOR = qint64(1) << 32;

qint64 floorDivide(qint64 value, qint64 by)
{
    return value >= 0 ? value / by : -((-value + by - 1) / by);
}

// Inverts the pixels of the half-open rectangle [left, right) × [top, bottom)
// that lie in the picture.
void invert(QImage &picture, qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    const int l = int(std::clamp<qint64>(left, 0, picture.width()));
    const int r = int(std::clamp<qint64>(right, 0, picture.width()));
    const int t = int(std::clamp<qint64>(top, 0, picture.height()));
    const int b = int(std::clamp<qint64>(bottom, 0, picture.height()));
    uchar *const bits = picture.bits();
    for (int y = t; y < b; ++y) {
        auto *row = reinterpret_cast<QRgb *>(bits + y * picture.bytesPerLine());
        for (int x = l; x < r; ++x)
            row[x] ^= 0x00FFFFFFu;
    }
}

} // namespace

QRect innerDeviceRect(const QRect &outer, qreal pixelRatio)
{
    const auto device = [pixelRatio](int logical) {
        return int(std::lround(double(logical) * pixelRatio));
    };
    return QRect(QPoint(device(outer.x() + AREA_INSET), device(outer.y() + AREA_INSET)),
                 QPoint(device(outer.x() + outer.width() - AREA_INSET) - 1,
                        device(outer.y() + outer.height() - AREA_INSET) - 1));
}

int captureRadiusShown(QSize inner)
{
    // At x3 the sampled block starts a pixel left of the middle; what lies
    // either side of it takes a capture pixel per three device pixels.
    const int half = (std::max(inner.width(), inner.height()) + 1) / 2;
    return std::min(CAPTURE_CENTER, half / 3 + 1);
}

QImage magnifierPicture(const QImage &capture, QSize size, qint64 factor)
{
    const qint64 z = std::clamp<qint64>(factor, 1, MAX_DRAWN_FACTOR);
    const int w = std::max(size.width(), 0);
    const int h = std::max(size.height(), 0);
    QImage picture(w, h, QImage::Format_RGB32);
    // The sampled pixel's block runs from x0 to x1 and y0 to y1.
    const qint64 x0 = w / 2 - z / 2, x1 = x0 + z;
    const qint64 y0 = h / 2 - z / 2, y1 = y0 + z;
    const auto source = [z](qint64 at, qint64 blockStart) {
        return int(std::clamp<qint64>(CAPTURE_CENTER + floorDivide(at - blockStart, z), 0,
                                      CAPTURE_SIZE - 1));
    };
    std::vector<int> columns(std::size_t(w), 0);
    for (int x = 0; x < w; ++x)
        columns[std::size_t(x)] = source(x, x0);
    for (int y = 0; y < h; ++y) {
        auto *to = reinterpret_cast<QRgb *>(picture.scanLine(y));
        // The rows of one block are alike: each after the first is a copy.
        if (y > 0 && source(y, y0) == source(y - 1, y0)) {
            std::memcpy(to, picture.constScanLine(y - 1), std::size_t(w) * sizeof(QRgb));
            continue;
        }
        const auto *from = reinterpret_cast<const QRgb *>(capture.constScanLine(source(y, y0)));
        for (int x = 0; x < w; ++x)
            to[x] = from[columns[std::size_t(x)]];
    }
    // Each line covers its start pixel and not its end pixel, and none covers
    // a pixel another covers: inverting twice would restore it.
    invert(picture, 0, y0, x0, y0 + 1);     // left edge to the top-left corner
    invert(picture, x0, 1, x0 + 1, y0 + 1); // and up to the top edge
    invert(picture, x1, 0, x1 + 1, y0);     // top edge down to the top-right corner
    invert(picture, x1, y0, w, y0 + 1);     // and on to the right edge
    invert(picture, 0, y1, x0, y1 + 1);     // left edge to the bottom-left corner
    invert(picture, x0, y1, x0 + 1, h);     // and down to the bottom edge
    invert(picture, x1, y1 + 1, x1 + 1, h); // bottom edge up to the bottom-right corner
    invert(picture, x1, y1, w, y1 + 1);     // and on to the right edge
    return picture;
}

void DrawSwatch(QPainter &painter, const QRect &colorAreaOuter, COLORREF color, const QImage &icon)
{
    const QRect r = colorAreaOuter.adjusted(AREA_INSET, AREA_INSET, -AREA_INSET, -AREA_INSET);
    painter.fillRect(r, QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF)));
    painter.drawImage(
        QPoint(r.x() + (r.width() - icon.width()) / 2, r.y() + (r.height() - icon.height()) / 2),
        icon);
}

void DrawMagnifier(QPainter &painter, const QRect &zoomAreaOuter, const QImage &capture,
                   int zoomIndex)
{
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QRect inner = innerDeviceRect(zoomAreaOuter, ratio);
    // Undoing the scale Qt puts between the painter and a scaled device
    // leaves a transform Qt takes for none: the picture lands pixel for pixel.
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    painter.drawImage(inner.topLeft(),
                      magnifierPicture(capture, inner.size(), zoomFactorFromIndex(zoomIndex)));
    painter.restore();
}
