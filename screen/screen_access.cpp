#include "screen/screen_access.h"

#include <QGuiApplication>
#include <QScreen>

#ifdef TINTGRABBER_HAVE_XLIB
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#endif

namespace
{

// Newer XWayland servers announce themselves by an extension; all of them
// name their outputs, and so Qt's screens, "XWAYLAND<n>".
bool runsOnXWayland()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->name().startsWith(QLatin1String("XWAYLAND")))
            return true;
    }
#ifdef TINTGRABBER_HAVE_XLIB
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    int opcode = 0, event = 0, error = 0;
    return x11 && x11->display() &&
           XQueryExtension(x11->display(), "XWAYLAND", &opcode, &event, &error);
#else
    return false;
#endif
}

} // namespace

ScreenAccess currentScreenAccess(ScreenSource &source)
{
    // XWayland may refuse to read its root window at all where no X11
    // window is, so it is asked first.
    if (runsOnXWayland())
        return ScreenAccess::OnlyX11Windows;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return ScreenAccess::NoGrab;
    // A screen's logical geometry keeps its physical top-left corner.
    QImage probe(1, 1, QImage::Format_RGB32);
    return source.copyRect(primary->geometry().topLeft(), probe) ? ScreenAccess::Readable
                                                                 : ScreenAccess::NoGrab;
}
