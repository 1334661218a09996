#pragma once

#include "sampling/color_texts.h"

#include <QImage>
#include <QPoint>

class ScreenSource;

// The capture is CAPTURE_SIZE pixels square with the sampled pixel at
// (CAPTURE_CENTER, CAPTURE_CENTER): 100 pixels of context on every side.
inline constexpr int CAPTURE_SIZE = 201;
inline constexpr int CAPTURE_CENTER = 100;

// What a drag reads on each pointer move: the pixel under the pointer, and the
// screen around it into the capture the magnifier enlarges.
class DragSampler
{
public:
    // buttonFace fills the capture wherever the screen supplies nothing, and
    // is the colour before any sample.
    DragSampler(ScreenSource &screen, QRgb buttonFace);

    // Reads the square of capture pixels within radius of the centre (at most
    // CAPTURE_CENTER: only what the magnifier can show needs reading) around
    // sourcePixel, a pixel of the source's own grid (ScreenSource::sourcePixel:
    // a physical screen pixel, or a picture's, finer on a scaled screen), and
    // makes the centre the current colour. A point on no screen reads as all
    // bits set, which shows as white. Returns the new colour.
    COLORREF sample(QPoint sourcePixel, int radius);

    COLORREF currentColor() const { return Color; }

    // What a sampling shows, kept so that a cancelled one can be undone.
    struct Shown {
        COLORREF color;
        QImage capture;
    };
    Shown shown() const { return {Color, capture_.copy()}; }
    void restore(const Shown &shown);

    // Format_RGB32. Painted straight from this reference, it stays unshared,
    // so refilling it never allocates.
    const QImage &captureBuffer() const { return capture_; }

private:
    ScreenSource &screen_;
    const QRgb face_;
    COLORREF Color;
    QImage capture_;
    // An image over the capture's pixels within radius_ of the centre.
    QImage part_;
    int radius_ = -1;
};
