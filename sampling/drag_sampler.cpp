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
    : Screen(screen), Face(buttonFace), CurrentColor(buttonFace),
      CaptureBuffer(CAPTURE_SIZE, CAPTURE_SIZE, QImage::Format_RGB32)
{
    CaptureBuffer.fill(Face);
}

QRgb DragSampler::sample(QPoint sourcePixel, int radius)
{
    radius = std::clamp(radius, 0, CAPTURE_CENTER);
    if (radius != Radius) {
        // Outside a new part the button face shows, never what an earlier
        // drag left there.
        CaptureBuffer.fill(Face);
        Radius = radius;
        const int corner = CAPTURE_CENTER - radius;
        Part = QImage(CaptureBuffer.bits() + corner * CaptureBuffer.bytesPerLine() + corner * 4,
                      2 * radius + 1, 2 * radius + 1, CaptureBuffer.bytesPerLine(),
                      QImage::Format_RGB32);
    }
    // Filling first leaves the button face wherever no screen supplies a pixel.
    Part.fill(Face);
    const QPoint clamped(std::clamp(sourcePixel.x(), -FARTHEST_POINT, FARTHEST_POINT),
                         std::clamp(sourcePixel.y(), -FARTHEST_POINT, FARTHEST_POINT));
    CurrentColor = Screen.copySourceRect(clamped - QPoint(radius, radius), Part)
                       ? CaptureBuffer.pixel(CAPTURE_CENTER, CAPTURE_CENTER)
                       : 0xFFFFFFFFu;
    return CurrentColor;
}

void DragSampler::restore(const Shown &shown)
{
    CurrentColor = shown.color;
    // Copied into the pixels in place: the part being read stays an image over
    // them.
    std::memcpy(CaptureBuffer.bits(), shown.capture.constBits(), CaptureBuffer.sizeInBytes());
}
