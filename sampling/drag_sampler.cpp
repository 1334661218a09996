#include "sampling/drag_sampler.h"

#include "screen/screen_source.h"

#include <algorithm>
#include <cstring>

namespace
{

// Far beyond any screen, yet far enough from the limits of int that
// rectangles around it cannot overflow.
constexpr int FARTHEST_POINT = 1 << 30;

} // namespace

DragSampler::DragSampler(ScreenSource &screen, QRgb buttonFace)
    : screen_(screen), face_(buttonFace),
      Color(MakeColorRef(qRed(buttonFace), qGreen(buttonFace), qBlue(buttonFace))),
      capture_(CAPTURE_SIZE, CAPTURE_SIZE, QImage::Format_RGB32)
{
    capture_.fill(face_);
}

COLORREF DragSampler::sample(QPoint sourcePixel, int radius)
{
    radius = std::clamp(radius, 0, CAPTURE_CENTER);
    if (radius != radius_) {
        // Outside a new part the button face shows, never what an earlier
        // drag left there.
        capture_.fill(face_);
        radius_ = radius;
        const int corner = CAPTURE_CENTER - radius;
        part_ =
            QImage(capture_.bits() + corner * capture_.bytesPerLine() + corner * 4, 2 * radius + 1,
                   2 * radius + 1, capture_.bytesPerLine(), QImage::Format_RGB32);
    }
    // Filling first leaves the button face wherever no screen supplies a pixel.
    part_.fill(face_);
    const QPoint clamped(std::clamp(sourcePixel.x(), -FARTHEST_POINT, FARTHEST_POINT),
                         std::clamp(sourcePixel.y(), -FARTHEST_POINT, FARTHEST_POINT));
    if (!screen_.copySourceRect(clamped - QPoint(radius, radius), part_)) {
        Color = 0xFFFFFFFFu;
        return Color;
    }
    const QRgb centre = capture_.pixel(CAPTURE_CENTER, CAPTURE_CENTER);
    Color = MakeColorRef(qRed(centre), qGreen(centre), qBlue(centre));
    return Color;
}

void DragSampler::restore(const Shown &shown)
{
    Color = shown.color;
    // Copied into the pixels in place: the part being read stays an image over
    // them.
    std::memcpy(capture_.bits(), shown.capture.constBits(), capture_.sizeInBytes());
}
