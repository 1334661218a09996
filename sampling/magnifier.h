#pragma once

#include "sampling/color_texts.h"

#include <QImage>
#include <QRect>

class QPainter;

// Both framed areas are drawn inside their outer rectangle shrunk by this many
// pixels on every side, clear of the frame.
inline constexpr int AREA_INSET = 3;

// Zoom list index 0 ("x3") is factor 3.
constexpr qint64 zoomFactorFromIndex(int index)
{
    return qint64(index) + 3;
}

// An area's inner rectangle in device pixels, pixelRatio of them a logical
// pixel: each inset edge of the logical outer rectangle scaled and rounded,
// as Qt rounds the edges of a scaled fill.
QRect innerDeviceRect(const QRect &outer, qreal pixelRatio);

// How many capture pixels each side of the sampled one the magnifier shows in
// an inner rectangle of that many device pixels at x3, the smallest factor
// the list offers: what a move needs to read.
int captureRadiusShown(QSize inner);

// The magnifier's picture for an inner rectangle of size device pixels: each
// capture pixel a factor × factor block, the sampled pixel's block centred
// (half a pixel up and left for even factors), and four bent lines, each pixel
// inverted once, bordering its row and column from the edges to its corners.
// Factors below 1 are drawn as 1.
QImage magnifierPicture(const QImage &capture, QSize size, qint64 factor);

// Fills the colour area's inner rectangle with color and draws icon centred
// on it, through the icon's transparency.
void DrawSwatch(QPainter &painter, const QRect &colorAreaOuter, COLORREF color, const QImage &icon);

// Draws the magnifier in device pixels, so that each screen pixel is a block
// of exactly z × z device pixels at any scale, at the zoom list's index.
void DrawMagnifier(QPainter &painter, const QRect &zoomAreaOuter, const QImage &capture,
                   int zoomIndex);
