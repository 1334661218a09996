#pragma once

#include "screen/screen_geometry.h"
#include "screen/screen_source.h"

#include <vector>

class QScreen;

// The application's screens with their physical sizes, measured again only
// when a screen comes, goes or changes its geometry or scale: measuring grabs
// a strip of each scaled screen.
class ScreenList
{
public:
    const std::vector<ScreenInfo> &infos();
    // The screen of infos()[index].
    QScreen *screen(std::size_t index) const { return Screens[index]; }
    // Index of a screen in infos(), or -1.
    int indexOf(const QScreen *screen) const;

private:
    std::vector<QScreen *> Screens;
    std::vector<ScreenInfo> Infos;
};

// Reads the desktop through each screen's own grab: every screen a rectangle
// touches supplies only its own part, pixel for pixel, even where scaled.
class QtScreenSource final : public ScreenSource
{
public:
    bool copyRect(QPoint topLeft, QImage &target) override;

private:
    ScreenList Screens;
};
