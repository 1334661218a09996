#pragma once

#include "platform/pointer_service.h"
#include "platform/screen_source.h"
#include "sampling/color_texts.h"
#include "sampling/colorref.h"
#include "sampling/sampler_view.h"
#include "sampling/sampling_constants.h"

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QPointF>

#include <optional>

// The drag that samples the screen: pressing the left button in the colour or
// zoom area starts it, every move while it lasts reads the pixel under the
// pointer and the screen around it, and the release ends it. The window routes
// its left-button and move events here and hands each on to its default
// handling afterwards.
//
// The colour fields are set only from here, so a move leaves alone every field
// whose text it would not change (the first move sets all six).
class DragSampler
{
public:
    // samplingCursor shows for the length of a drag; buttonFace fills the
    // capture wherever the screen supplies nothing.
    DragSampler(SamplerView &view, ScreenSource &screen, PointerService &pointer,
                QCursor samplingCursor, QColor buttonFace);

    void OnPointerDown(QPointF clientPoint);
    void OnPointerMove(QPointF clientPoint);
    void OnPointerUp(QPointF clientPoint);

    // Refills the part of CaptureBuffer the magnifier shows with the screen
    // around screenPoint, which lands on pixel (CAPTURE_CENTER,
    // CAPTURE_CENTER). Returns whether the screen supplied that pixel.
    bool RefreshCapture(QPoint screenPoint);

    bool Dragging() const { return dragging_; }
    COLORREF CurrentColor() const { return currentColor_; }
    // Format_RGB32, CAPTURE_SIZE square. Painting it straight from this
    // reference keeps it unshared, so refilling it never allocates.
    const QImage &CaptureBuffer() const { return captureBuffer_; }

private:
    SamplerView &view_;
    ScreenSource &screen_;
    PointerService &pointer_;
    const QCursor samplingCursor_;
    const QRgb buttonFace_;

    bool dragging_ = false;
    // The cursor that showed when the last drag began; none before any drag.
    std::optional<PointerCursor> savedCursor_;
    COLORREF currentColor_;
    QImage captureBuffer_;
    // The part of captureBuffer_ a move refreshes, and an image over just
    // those pixels of it for the screen to copy into.
    QRect capturePart_;
    QImage capturePartImage_;
    // What the fields show, once a move has set them.
    ColorTexts shownTexts_{};
    bool textsShown_ = false;
};
