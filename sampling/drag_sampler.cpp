#include "sampling/drag_sampler.h"

#include "sampling/color_texts.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace
{

// Left and top edges inside, right and bottom edges outside, as for pixels.
bool InArea(const QRect &area, QPointF point)
{
    return point.x() >= area.x() && point.x() < double(area.x()) + area.width() &&
           point.y() >= area.y() && point.y() < double(area.y()) + area.height();
}

int SaturatingSubtract(int value, int amount)
{
    const std::int64_t wide = std::int64_t(value) - amount;
    return int(std::clamp<std::int64_t>(wide, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max()));
}

COLORREF ColorRefOf(QRgb rgb)
{
    return MakeColorRef(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

} // namespace

DragSampler::DragSampler(SamplerView &view, ScreenSource &screen, PointerService &pointer,
                         QCursor samplingCursor, QColor buttonFace)
    : view_(view), screen_(screen), pointer_(pointer), samplingCursor_(std::move(samplingCursor)),
      buttonFace_(buttonFace.rgb()), currentColor_(ColorRefOf(buttonFace_)),
      captureBuffer_(CAPTURE_SIZE, CAPTURE_SIZE, QImage::Format_RGB32)
{
    captureBuffer_.fill(buttonFace_);
}

void DragSampler::OnPointerDown(QPointF clientPoint)
{
    if (!InArea(view_.colorAreaRect(), clientPoint) && !InArea(view_.zoomAreaRect(), clientPoint))
        return;
    pointer_.captureMouse();
    PointerCursor replaced = pointer_.setCursor(samplingCursor_);
    // A press during a drag whose release went elsewhere replaces our own
    // sampling cursor; keeping that would leave it showing after the drag.
    if (!dragging_)
        savedCursor_ = std::move(replaced);
    dragging_ = true;
}

void DragSampler::OnPointerMove(QPointF clientPoint)
{
    if (!dragging_)
        return;
    const QPoint screenPoint = view_.clientToScreen(clientPoint);
    // The sampled pixel is the capture's centre: one read of the screen per
    // move, and a second only where the capture could not supply it.
    currentColor_ = RefreshCapture(screenPoint)
                        ? ColorRefOf(captureBuffer_.pixel(CAPTURE_CENTER, CAPTURE_CENTER))
                        : screen_.pixelAt(screenPoint);

    // Only inside the areas' frames does anything change; a frame repainted
    // on every move is work thrown away.
    const auto inside = [](const QRect &area) {
        return area.adjusted(AREA_INSET, AREA_INSET, -AREA_INSET, -AREA_INSET);
    };
    view_.requestRepaint(inside(view_.colorAreaRect()));
    view_.requestRepaint(inside(view_.zoomAreaRect()));

    // Setting a field costs the window a string and a repaint; over an even
    // colour most moves change no text, some only one.
    const ColorTexts texts = FormatColorTexts(currentColor_);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (textsShown_ && texts[i].view() == shownTexts_[i].view())
            continue;
        view_.setFieldText(TEXT_FIELD_IDS[i], texts[i].view());
    }
    shownTexts_ = texts;
    textsShown_ = true;
}

void DragSampler::OnPointerUp(QPointF)
{
    dragging_ = false;
    pointer_.releaseMouse();
    if (savedCursor_)
        pointer_.setCursor(*savedCursor_);
}

bool DragSampler::RefreshCapture(QPoint screenPoint)
{
    const QRect part = view_.magnifiedPart() & captureBuffer_.rect();
    if (part != capturePart_ || capturePartImage_.isNull()) {
        // Outside a new part the button face shows until a move reaches
        // there, never pixels an earlier drag left. Filling first also makes
        // the buffer ours alone before an image is laid over its pixels.
        captureBuffer_.fill(buttonFace_);
        capturePart_ = part;
        capturePartImage_ = QImage(
            captureBuffer_.bits() + qsizetype(part.y()) * captureBuffer_.bytesPerLine() +
                qsizetype(part.x()) * qsizetype(sizeof(QRgb)),
            part.width(), part.height(), captureBuffer_.bytesPerLine(), QImage::Format_RGB32);
    }
    // Filling first means that whatever the screen does not supply, off every
    // screen or in a gap between screens, shows the button face.
    capturePartImage_.fill(buttonFace_);
    // Near the limits of int the corner saturates; no screen lies out there,
    // so the capture is all button face either way.
    const QPoint topLeft(SaturatingSubtract(screenPoint.x(), CAPTURE_CENTER - part.x()),
                         SaturatingSubtract(screenPoint.y(), CAPTURE_CENTER - part.y()));
    static_assert(CAPTURE_CENTER == CAPTURE_SIZE / 2, "the sample is the capture's centre");
    // The part is centred on the sample, so its centre is the capture's.
    return screen_.copyRect(topLeft, capturePartImage_);
}
