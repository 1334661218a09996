#pragma once

#include "screen/screen_geometry.h"
#include "screen/screen_source.h"

#include <optional>
#include <span>
#include <vector>

// Where a picture of the whole desktop shows each physical desktop pixel.
struct PictureMap {
    // The desktop pixel at the picture's top-left: that of the box around
    // all screens.
    QPoint origin;
    // Picture pixels per desktop pixel, across and down.
    qreal xFactor = 1.0;
    qreal yFactor = 1.0;
    // The picture pixels that some screen shows; the rest is no screen.
    std::vector<QRect> shown;
};

// The map for a picture of picture's size taken of screens: the picture
// spans the box around all screens. None where the two factors differ by as
// much as a picture pixel across that box, as where the desktop arranges its
// screens other than the program sees them, or where there is no screen.
std::optional<PictureMap> mapPicture(QSize picture, std::span<const ScreenInfo> screens);

// Reads from one picture of the desktop instead of the live screen. Its own
// pixels are the picture's: on a scaled screen each desktop pixel spans
// several, and reads at picture pixels reach every one of them.
class PictureSource : public ScreenSource
{
public:
    // Takes picture as what screens showed. Returns false, and keeps the
    // picture before, where MapPicture finds no map.
    bool setPicture(const QImage &picture, std::span<const ScreenInfo> screens);
    const QImage &picture() const { return Picture; }

    // The rectangle of target's size around the picture pixel under the
    // desktop pixel at its centre.
    bool copyRect(QPoint topLeft, QImage &target) override;
    QPoint sourcePixel(QPoint desktopPixel) const override;
    bool copySourceRect(QPoint topLeft, QImage &target) override;
    bool isPicture() const override { return true; }

private:
    QImage Picture;
    PictureMap Map;
};
