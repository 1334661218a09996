#pragma once

#include <QImage>
#include <QPoint>

#include <memory>

// Reads the pixels of the whole desktop. Points are physical pixels of the
// virtual desktop, so that a sample is one real pixel even where the desktop
// is scaled.
class ScreenSource
{
public:
    virtual ~ScreenSource() = default;

    // Copies the desktop rectangle of target's size at topLeft into target
    // (Format_RGB32), one pixel for one pixel. Pixels that no screen shows
    // keep what target held. Returns whether target's centre pixel,
    // (width / 2, height / 2), was supplied.
    virtual bool copyRect(QPoint topLeft, QImage &target) = 0;
};

// The one place that decides how the screen is read: straight from the X
// server through shared memory where the application runs on X11, through
// Qt's screen grabs everywhere else.
std::unique_ptr<ScreenSource> CreateScreenSource();
