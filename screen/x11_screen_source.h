#pragma once

#ifdef TINTGRABBER_HAVE_X11SHM

#include "screen/qt_screens.h"
#include "screen/screen_source.h"

#include <memory>

// Reads the X11 root window straight from the server: through a shared-memory
// segment (MIT-SHM) where the server can attach one, by GetImage requests
// where it cannot (a remote display). Far cheaper than Qt's grab, and the
// sampler reads on every pointer move. Only what the application's screens
// show is read: the root often holds more, beside or between monitors.
class X11ScreenSource final : public ScreenSource
{
public:
    // Null unless the application runs on X11 with a 24- or 32-bit TrueColor
    // root of 8 bits a channel.
    static std::unique_ptr<X11ScreenSource> openForApplication();
    ~X11ScreenSource() override;

    bool copyRect(QPoint topLeft, QImage &target) override;

private:
    struct Connection;
    explicit X11ScreenSource(std::unique_ptr<Connection> connection);

    std::unique_ptr<Connection> Server;
    ScreenList Screens;
};

#endif
