#pragma once

#include "screen/screen_source.h"

#include <QRect>

// A desktop of one screen, `area`, whose pixel at (x, y) is 0xRRGGBB =
// (x mod 256, y mod 256, (x + 2y) mod 256), so that a pixel from the wrong
// place shows. Counts its reads.
class FakeScreen final : public ScreenSource
{
public:
    static QRgb pixelAt(int x, int y) { return qRgb(x & 255, y & 255, (x + 2 * y) & 255); }

    bool copyRect(QPoint topLeft, QImage &target) override
    {
        ++reads;
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                if (area.contains(topLeft + QPoint(x, y)))
                    target.setPixel(x, y, pixelAt(topLeft.x() + x, topLeft.y() + y));
        return area.contains(topLeft + QPoint(target.width() / 2, target.height() / 2));
    }

    QRect area{0, 0, 640, 480};
    int reads = 0;
};
