#pragma once

#include "sampling/colorref.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTransform>

class QPainter;

// How lines combine with what is already drawn.
enum class RasterMode {
    Copy,              // lines take the pen colour
    InvertDestination, // each covered pixel becomes its bitwise complement (RGB)
};

// Which pixels a Surface's coordinates count.
enum class SurfacePixels {
    Painter, // the painter's own: logical pixels on a scaled device
    Device,  // the device's physical pixels, whatever its device pixel ratio
};

// The drawing operations the magnifier and the swatch need, over a QPainter on
// an image or on a widget in its paint event. Fills, icons and copies always
// copy; only lines follow the raster mode. The clip and the raster mode stay
// as last set for as long as the Surface lives.
class Surface
{
public:
    // The painter must be active and outlive the Surface. In device pixels
    // the painter draws untransformed until the Surface ends; its transform
    // is restored then, its clip is not.
    explicit Surface(QPainter &painter, SurfacePixels pixels = SurfacePixels::Painter);
    ~Surface();

    Surface(const Surface &) = delete;
    Surface &operator=(const Surface &) = delete;

    void fillRect(const QRect &rect, COLORREF color);

    // Draws icon with its top-left corner at topLeft; where the icon is
    // transparent what was there before shows through.
    void drawIcon(QPoint topLeft, const QImage &icon);

    // Copies sourceRect of source enlarged factor times by pixel replication:
    // source pixel (sourceRect.x() + i, sourceRect.y() + j) becomes the
    // factor × factor block whose top-left corner is
    // (destLeft + i·factor, destTop + j·factor). The destination may be far
    // larger than any int; only the part inside the clip is computed. Does
    // nothing for a factor below 1 or above 2^32.
    void stretchCopy(const QImage &source, const QRect &sourceRect, qint64 destLeft, qint64 destTop,
                     qint64 factor);

    // Replaces the clip: nothing draws outside rect from now on.
    void setClip(const QRect &rect);
    QRect clip() const { return m_clip; }

    void setRasterMode(RasterMode mode) { m_rasterMode = mode; }
    void setPenColor(COLORREF color) { m_penColor = color; }

    // Lines are one pixel wide and run from the current position to the given
    // point, covering the start pixel and not the end pixel; the end becomes
    // the current position. Only horizontal and vertical lines are drawn; a
    // zero-length or slanted line only moves the current position.
    void moveTo(QPoint point) { m_position = point; }
    void lineTo(QPoint point);

    // Device pixels a logical pixel spans: the device's pixel ratio in device
    // pixels, otherwise 1.
    qreal pixelRatio() const { return m_pixelRatio; }

private:
    void coverRect(const QRect &rect);

    QPainter &m_painter;
    QTransform m_savedTransform;
    bool m_restoreTransform = false;
    qreal m_pixelRatio = 1;
    QRect m_bounds; // the device's pixels
    QRect m_clip;
    QPoint m_position;
    RasterMode m_rasterMode = RasterMode::Copy;
    COLORREF m_penColor = 0;
};
