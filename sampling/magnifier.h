#pragma once

#include "sampling/colorref.h"

#include <QImage>
#include <QRect>

#include <cstdint>

class SettingsStore;
class Surface;

// Where the magnifier puts everything for one inner rectangle and zoom
// factor. Coordinates are 64-bit: the enlarged buffer reaches far beyond any
// int at large factors. Right and bottom edges are exclusive.
struct MagnifierGeometry {
    qint64 left, top, right, bottom; // the inner rectangle, also the clip
    qint64 factor;                   // the factor actually drawn, at least 1
    qint64 cx, cy;                   // centre of the inner rectangle
    qint64 destLeft, destTop;        // top-left corner of the enlarged buffer
    qint64 x0, x1, y0, y1;           // the sampled pixel's column and row bands
};

// The zoom factor for a zoom list index: index 0 ("x3") is factor 3.
constexpr qint64 ZoomFactorFromIndex(std::int32_t index)
{
    return qint64(index) + 3;
}

// The geometry for the zoom area's outer rectangle at a zoom factor. Factors
// below 1 are drawn as 1. The outer rectangle and its inset are in the
// window's logical pixels; the geometry is in device pixels, pixelRatio of them
// a logical pixel: the inner rectangle is the device pixels a fill of the
// logical one covers, and each captured pixel is a factor × factor block of
// device pixels, so that the magnifier shows the screen's own pixels.
MagnifierGeometry ComputeMagnifierGeometry(const QRect &zoomAreaOuter, qint64 factor,
                                           qreal pixelRatio = 1);

// The part of the capture buffer the magnifier shows at factor: every
// captured pixel whose block reaches into the inner rectangle, widened to be
// centred on the sampled pixel. Refreshing only this part of the capture
// changes nothing the magnifier shows at that factor or any larger one.
QRect CapturePartShown(const QRect &zoomAreaOuter, qint64 factor, qreal pixelRatio = 1);

// Fills the colour area's inner rectangle with color and draws icon centred on
// it through its transparency.
void DrawSwatch(Surface &surface, const QRect &colorAreaOuter, COLORREF color, const QImage &icon);

// Draws the capture buffer (CAPTURE_SIZE square, sampled pixel at its centre)
// enlarged into the zoom area's inner rectangle, centred on the sampled pixel,
// with an inverting cross-hair around it. The zoom area is in logical pixels,
// the drawing in the surface's pixels (see ComputeMagnifierGeometry). The zoom
// index is read from the settings at every call. Leaves the surface clipped to
// the inner rectangle and in invert mode. Returns the stored factor it read,
// before any clamping.
qint64 DrawMagnifier(Surface &surface, const QRect &zoomAreaOuter, const QImage &captureBuffer,
                     const SettingsStore &settings);

// DrawMagnifier at a given zoom factor.
void DrawMagnifierAtFactor(Surface &surface, const QRect &zoomAreaOuter,
                           const QImage &captureBuffer, qint64 factor);
