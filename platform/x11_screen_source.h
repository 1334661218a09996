#pragma once

#ifdef TINTGRABBER_HAVE_X11SHM

#include "platform/screen_source.h"

#include <memory>

// Reads the X11 root window straight from the server, through a shared-memory
// segment (MIT-SHM) where the server can share one and by plain GetImage
// requests where it cannot (a remote display). Much cheaper per read than
// QScreen::grabWindow, which matters because the sampler reads on every
// pointer move.
//
// Only the part of a request that lies on the root window is read: the server
// refuses the whole request otherwise. Opened for the application, it reads
// only what the application's screens show, as QtScreenSource does: pixels of
// the root beside or between monitors are left as the target held them.
class X11ScreenSource final : public ScreenSource
{
public:
    enum class Transfer {
        SharedMemory, // falls back to Request when the server cannot share memory
        Request,
    };

    // Connects to the X server the application shows its windows on, reading
    // only what its screens show. Null when the application does not run on
    // X11 (another root window, an XWayland one say, is not what the user
    // sees), or as for open().
    static std::unique_ptr<X11ScreenSource>
    openForApplication(Transfer transfer = Transfer::SharedMemory);

    // Connects to displayName ($DISPLAY when null), reading the whole root
    // window. Null when the display cannot be opened or its root window is not
    // 24- or 32-bit TrueColor with 8 bits a channel; the caller then reads the
    // screen another way.
    static std::unique_ptr<X11ScreenSource> open(const char *displayName,
                                                 Transfer transfer = Transfer::SharedMemory);

    ~X11ScreenSource() override;
    X11ScreenSource(const X11ScreenSource &) = delete;
    X11ScreenSource &operator=(const X11ScreenSource &) = delete;

    bool usesSharedMemory() const;

    COLORREF pixelAt(QPoint point) override;
    bool copyRect(QPoint topLeft, QImage &target) override;

private:
    struct Connection;
    explicit X11ScreenSource(std::unique_ptr<Connection> connection);

    std::unique_ptr<Connection> m_connection;
};

#endif
