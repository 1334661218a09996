#pragma once

// What the magnifier must show, worked out independently of its code, for
// the tests that check its drawing pixel by pixel.

#include "sampling/drag_sampler.h"

#include <QImage>
#include <QRect>

// A capture-sized picture whose every pixel differs from its neighbours, so
// that a misplaced one shows.
inline QImage noiseCapture(quint32 seed)
{
    QImage image(CAPTURE_SIZE, CAPTURE_SIZE, QImage::Format_RGB32);
    for (int y = 0; y < CAPTURE_SIZE; ++y)
        for (int x = 0; x < CAPTURE_SIZE; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xff000000u | (seed >> 8));
        }
    return image;
}

// The magnifier's inner rectangle as it must look at a factor z that fits it:
// each pixel the capture pixel whose z × z block holds it, the sampled pixel's
// block centred, and the four bent lines around that block (x0 to x1, y0 to
// y1) inverted, each pixel once: a line covers its start and not its end.
inline QImage expectedMagnifierInner(const QImage &capture, const QRect &inner, int z)
{
    const auto floorDiv = [](int a, int b) { return a / b - (a % b != 0 && a < 0); };
    const int cx = inner.x() + inner.width() / 2, cy = inner.y() + inner.height() / 2;
    const int x0 = cx - z / 2, y0 = cy - z / 2, x1 = x0 + z, y1 = y0 + z;
    QImage image(inner.size(), QImage::Format_RGB32);
    for (int y = 0; y < inner.height(); ++y)
        for (int x = 0; x < inner.width(); ++x) {
            const int i = floorDiv(inner.x() + x - x0, z), j = floorDiv(inner.y() + y - y0, z);
            image.setPixel(x, y, capture.pixel(CAPTURE_CENTER + i, CAPTURE_CENTER + j));
        }
    const int l = inner.left(), t = inner.top(), r = inner.right(), b = inner.bottom();
    const QRect lines[] = {
        {QPoint(l, y0), QPoint(x0 - 1, y0)}, {QPoint(x0, t + 1), QPoint(x0, y0)},
        {QPoint(x1, t), QPoint(x1, y0 - 1)}, {QPoint(x1, y0), QPoint(r, y0)},
        {QPoint(l, y1), QPoint(x0 - 1, y1)}, {QPoint(x0, y1), QPoint(x0, b)},
        {QPoint(x1, y1 + 1), QPoint(x1, b)}, {QPoint(x1, y1), QPoint(r, y1)},
    };
    for (const QRect &line : lines) {
        const QRect inside = (line & inner).translated(-inner.topLeft());
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                image.setPixel(x, y, image.pixel(x, y) ^ 0x00ffffffu);
    }
    return image;
}
