#include "platform/surface.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace
{

QColor ColorOf(COLORREF color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

// Restores the painter's composition mode when an operation is done, so that
// a caller painting on after us is not surprised by ours.
class CompositionScope
{
public:
    CompositionScope(QPainter &painter, QPainter::CompositionMode mode)
        : m_painter(painter), m_saved(painter.compositionMode())
    {
        m_painter.setCompositionMode(mode);
    }
    ~CompositionScope() { m_painter.setCompositionMode(m_saved); }
    CompositionScope(const CompositionScope &) = delete;
    CompositionScope &operator=(const CompositionScope &) = delete;

private:
    QPainter &m_painter;
    QPainter::CompositionMode m_saved;
};

// The half-open span [begin, end) along one axis.
struct Span {
    qint64 begin;
    qint64 end;
    bool empty() const { return begin >= end; }
};

Span Intersect(Span a, Span b)
{
    return {std::max(a.begin, b.begin), std::min(a.end, b.end)};
}

Span HorizontalSpan(const QRect &rect)
{
    return {rect.x(), qint64(rect.x()) + rect.width()};
}

Span VerticalSpan(const QRect &rect)
{
    return {rect.y(), qint64(rect.y()) + rect.height()};
}

// The pixels a line from `from` to `to` covers along its axis: the start and
// everything up to, but not including, the end.
Span LineSpan(qint64 from, qint64 to)
{
    return from <= to ? Span{from, to} : Span{to + 1, from + 1};
}

constexpr qint64 MAX_STRETCH_FACTOR = qint64(1) << 32;

} // namespace

Surface::Surface(QPainter &painter, SurfacePixels pixels) : m_painter(painter)
{
    const QPaintDevice *device = painter.device();
    if (pixels == SurfacePixels::Device && device) {
        // Undoing the scale that Qt puts between the painter and a scaled
        // device leaves a transform that Qt takes for none at all, so fills
        // and copies land on whole device pixels, unblended.
        m_pixelRatio = device->devicePixelRatio();
        m_savedTransform = painter.worldTransform();
        m_restoreTransform = true;
        painter.setWorldTransform(QTransform::fromScale(1 / m_pixelRatio, 1 / m_pixelRatio));
    }
    if (device) {
        m_bounds = QRectF(0, 0, device->width() * m_pixelRatio, device->height() * m_pixelRatio)
                       .toAlignedRect();
    }
    m_clip = m_bounds;
    if (painter.hasClipping())
        m_clip &= painter.clipBoundingRect().toAlignedRect();
}

Surface::~Surface()
{
    if (m_restoreTransform)
        m_painter.setWorldTransform(m_savedTransform);
}

void Surface::fillRect(const QRect &rect, COLORREF color)
{
    CompositionScope scope(m_painter, QPainter::CompositionMode_Source);
    m_painter.fillRect(rect, ColorOf(color));
}

void Surface::drawIcon(QPoint topLeft, const QImage &icon)
{
    CompositionScope scope(m_painter, QPainter::CompositionMode_SourceOver);
    m_painter.drawImage(topLeft, icon);
}

void Surface::setClip(const QRect &rect)
{
    m_clip = rect.isEmpty() ? QRect() : rect & m_bounds;
    // An empty clip rectangle would switch clipping off; clip to a pixel-free
    // region instead so that nothing draws.
    if (m_clip.isEmpty())
        m_painter.setClipRegion(QRegion(), Qt::ReplaceClip);
    else
        m_painter.setClipRect(m_clip, Qt::ReplaceClip);
}

void Surface::stretchCopy(const QImage &source, const QRect &sourceRect, qint64 destLeft,
                          qint64 destTop, qint64 factor)
{
    const QRect from = sourceRect & source.rect();
    if (from.isEmpty() || factor < 1 || factor > MAX_STRETCH_FACTOR)
        return;
    // Parts of sourceRect outside the image are not drawn, and the rest keeps
    // its place.
    destLeft += qint64(from.x() - sourceRect.x()) * factor;
    destTop += qint64(from.y() - sourceRect.y()) * factor;

    const Span columns =
        Intersect({destLeft, destLeft + from.width() * factor}, HorizontalSpan(m_clip));
    const Span rows = Intersect({destTop, destTop + from.height() * factor}, VerticalSpan(m_clip));
    if (columns.empty() || rows.empty())
        return;

    const bool opaque = source.format() == QImage::Format_RGB32;
    const bool direct = opaque || source.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage pixels =
        direct ? source : source.copy(from).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QPoint origin = direct ? from.topLeft() : QPoint(0, 0);

    // Only the visible part of the enlargement is built.
    const int width = int(columns.end - columns.begin);
    const int height = int(rows.end - rows.begin);
    QImage tile(width, height, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    if (tile.isNull())
        return;

    const qint64 firstColumnOffset = columns.begin - destLeft;
    uchar *const tilePixels = tile.bits();
    const qsizetype tileStride = tile.bytesPerLine();
    qint64 previousSourceRow = -1;
    for (int y = 0; y < height; ++y) {
        auto *out = reinterpret_cast<QRgb *>(tilePixels + y * tileStride);
        const qint64 sourceRow = (rows.begin + y - destTop) / factor;
        if (sourceRow == previousSourceRow) {
            std::memcpy(out, tilePixels + (y - 1) * tileStride, size_t(width) * sizeof(QRgb));
            continue;
        }
        previousSourceRow = sourceRow;
        const auto *in =
            reinterpret_cast<const QRgb *>(pixels.constScanLine(origin.y() + int(sourceRow)));
        // A block at a time: the first may be cut by the clip, the last too.
        const QRgb *pixel = in + origin.x() + firstColumnOffset / factor;
        qint64 blockLeft = factor - firstColumnOffset % factor;
        for (int x = 0; x < width; ++pixel) {
            const int end = int(std::min<qint64>(width, x + blockLeft));
            std::fill(out + x, out + end, *pixel);
            x = end;
            blockLeft = factor;
        }
    }

    CompositionScope scope(m_painter, QPainter::CompositionMode_Source);
    m_painter.drawImage(QPoint(int(columns.begin), int(rows.begin)), tile);
}

void Surface::lineTo(QPoint point)
{
    const QPoint from = m_position;
    m_position = point;
    Span columns{0, 0};
    Span rows{0, 0};
    if (from.y() == point.y() && from.x() != point.x()) {
        columns = LineSpan(from.x(), point.x());
        rows = {from.y(), qint64(from.y()) + 1};
    } else if (from.x() == point.x() && from.y() != point.y()) {
        columns = {from.x(), qint64(from.x()) + 1};
        rows = LineSpan(from.y(), point.y());
    } else {
        return;
    }
    // Cut to the clip in 64 bits first, so that lines reaching far outside
    // never form an out-of-range rectangle.
    columns = Intersect(columns, HorizontalSpan(m_clip));
    rows = Intersect(rows, VerticalSpan(m_clip));
    if (columns.empty() || rows.empty())
        return;
    coverRect(QRect(int(columns.begin), int(rows.begin), int(columns.end - columns.begin),
                    int(rows.end - rows.begin)));
}

void Surface::coverRect(const QRect &rect)
{
    if (m_rasterMode == RasterMode::Copy) {
        fillRect(rect, m_penColor);
        return;
    }
    // Raster operations are a feature of the raster engine, which paints
    // images and widgets alike; elsewhere the difference with white gives the
    // same complement for opaque pixels.
    const QPaintEngine *engine = m_painter.paintEngine();
    if (engine && engine->hasFeature(QPaintEngine::RasterOpModes)) {
        CompositionScope scope(m_painter, QPainter::RasterOp_NotDestination);
        m_painter.fillRect(rect, Qt::black);
    } else {
        CompositionScope scope(m_painter, QPainter::CompositionMode_Difference);
        m_painter.fillRect(rect, Qt::white);
    }
}
