#pragma once

#include "platform/screen_geometry.h"
#include "platform/screen_source.h"

#include <QPointF>

#include <vector>

class QScreen;

// Reads the desktop through each screen's own grab. Every screen a rectangle
// touches supplies only the part that lies on it, in physical pixels, so the
// capture is never scaled even where the desktop is.
class QtScreenSource : public ScreenSource
{
public:
    COLORREF pixelAt(QPoint point) override;
    bool copyRect(QPoint topLeft, QImage &target) override;

private:
    struct KnownScreen {
        QScreen *screen;
        ScreenInfo info;
    };

    // The screens with their physical sizes, measured again only when a
    // screen comes, goes or changes its geometry or scale.
    const std::vector<KnownScreen> &screens();

    std::vector<KnownScreen> known_;
    std::vector<ScreenInfo> infos_;
};

// The screens the application sees right now, in QGuiApplication::screens()
// order.
std::vector<ScreenInfo> CurrentScreenInfos();

// The same with each scaled screen's physical size measured, so that the
// screen's last physical column and row are exact (see ScreenInfo). Measuring
// grabs a strip of pixels from each scaled screen: call it when the screens
// change, not for every read.
std::vector<ScreenInfo> MeasuredScreenInfos();

// The physical screen point under a global logical position; off every screen
// the window's screen (if given) decides the scale.
QPoint PhysicalScreenPoint(QPointF globalPosition, const QScreen *windowScreen = nullptr);
