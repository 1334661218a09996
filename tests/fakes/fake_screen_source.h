#pragma once

#include "fakes/call_journal.h"
#include "platform/screen_source.h"

#include <QImage>
#include <QPoint>
#include <QSize>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// A desktop made of one image whose top-left pixel sits at origin. Outside
// the image nothing is readable and nothing is copied. Every call is kept, in
// order, and also written to the journal if one is given.
class FakeScreenSource : public ScreenSource
{
public:
    struct Call {
        enum Kind { PixelAt, CopyRect } kind;
        QPoint point; // the pixel read, or the rectangle's top-left
        QSize size;   // the rectangle's size; empty for a pixel
    };

    explicit FakeScreenSource(QImage image, QPoint origin = {}, CallJournal *journal = nullptr)
        : image_(std::move(image).convertToFormat(QImage::Format_RGB32)), origin_(origin),
          journal_(journal)
    {
    }

    COLORREF pixelAt(QPoint point) override
    {
        calls_.push_back({Call::PixelAt, point, {}});
        Record(journal_, "pixelAt");
        const Wide x = Wide(point.x()) - origin_.x();
        const Wide y = Wide(point.y()) - origin_.y();
        if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
            return UNREADABLE_PIXEL;
        const QRgb pixel = image_.pixel(int(x), int(y));
        return MakeColorRef(qRed(pixel), qGreen(pixel), qBlue(pixel));
    }

    bool copyRect(QPoint topLeft, QImage &target) override
    {
        calls_.push_back({Call::CopyRect, topLeft, target.size()});
        Record(journal_, "copyRect");
        if (failCopies)
            return false;
        // The overlap of the image and the rectangle, in image coordinates,
        // computed wide so that rectangles near the limits of int are fine.
        const Wide left = Wide(topLeft.x()) - origin_.x();
        const Wide top = Wide(topLeft.y()) - origin_.y();
        const Wide x0 = std::max<Wide>(left, 0);
        const Wide y0 = std::max<Wide>(top, 0);
        const Wide x1 = std::min<Wide>(left + target.width(), image_.width());
        const Wide y1 = std::min<Wide>(top + target.height(), image_.height());
        for (Wide y = y0; y < y1; ++y) {
            for (Wide x = x0; x < x1; ++x)
                target.setPixel(int(x - left), int(y - top), image_.pixel(int(x), int(y)));
        }
        const Wide centreX = left + target.width() / 2, centreY = top + target.height() / 2;
        return centreX >= x0 && centreX < x1 && centreY >= y0 && centreY < y1;
    }

    const std::vector<Call> &calls() const { return calls_; }
    // Keeps the log's storage, so later calls are recorded without allocating.
    void clearCalls() { calls_.clear(); }
    void reserveCalls(std::size_t count) { calls_.reserve(count); }

    // Makes every copy supply nothing, as a grab that fails does, while
    // single pixels still read.
    bool failCopies = false;

private:
    using Wide = std::int64_t;

    QImage image_;
    QPoint origin_;
    CallJournal *journal_;
    std::vector<Call> calls_;
};
