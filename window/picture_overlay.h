#pragma once

#include "screen/screen_geometry.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <span>
#include <vector>

// Where a picture of the whole desktop goes in a window that covers every
// screen: each screen's part of the picture onto that screen's place.
struct OverlayPlan {
    // The window's geometry, in the application's logical coordinates.
    QRect geometry;
    struct Part {
        QRect source; // picture pixels
        QRect target; // logical pixels of the window
    };
    std::vector<Part> parts;
};

// None where the picture does not fit the screens (see mapPicture).
std::optional<OverlayPlan> planOverlay(QSize picture, std::span<const ScreenInfo> screens);

// A borderless window of ours over every screen that shows the desktop's
// picture where the desktop showed it, and its owner window as it is now over
// its own old picture. Through XWayland a program hears of no pointer move
// over another program's Wayland window while no button is held; over this
// window every move and click reach the program.
class PictureOverlay : public QWidget
{
public:
    // Covers owner's screens and shows owner live.
    explicit PictureOverlay(QWidget *owner);

    // Shows picture over the screens, or nothing where it does not fit them.
    void showPicture(const QImage &picture, std::span<const ScreenInfo> screens);
    // The owner window changed what it shows.
    void ownerChanged();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect ownerRect() const;

    QImage Picture;
    OverlayPlan Plan;
};
