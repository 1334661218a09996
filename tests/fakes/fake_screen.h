#pragma once

#include "screen/screen_source.h"

#include <QRect>

// A desktop of one screen, `area`, whose pixel at (x, y) is 0xRRGGBB =
// (x mod 256, y mod 256, (x + 2y) mod 256), so that a pixel from the wrong
// place shows. Counts its reads.
class FakeScreen final : public ScreenSource
{
public:
    static QRgb PixelAt(int x, int y) { return qRgb(x & 255, y & 255, (x + 2 * y) & 255); }

    bool copyRect(QPoint topLeft, QImage &target) override
    {
        ++reads;
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                if (area.contains(topLeft + QPoint(x, y)))
                    target.setPixel(x, y, PixelAt(topLeft.x() + x, topLeft.y() + y));
        return area.contains(topLeft + QPoint(target.width() / 2, target.height() / 2));
    }

    // Ready at once, or, while deferred, when the test calls pending.
    void prepare(QObject *, std::function<void(SourceReadiness)> done) override
    {
        if (deferred)
            pending = std::move(done);
        else
            done(SourceReadiness::Ready);
    }

    // As a picture `picture` times finer than the desktop (0: the live screen).
    QPoint sourcePixel(QPoint desktopPixel) const override
    {
        return picture ? desktopPixel * picture : desktopPixel;
    }
    bool isPicture() const override { return picture != 0; }

    int picture = 0;
    QRect area{0, 0, 640, 480};
    int reads = 0;
    bool deferred = false;
    std::function<void(SourceReadiness)> pending;
};
