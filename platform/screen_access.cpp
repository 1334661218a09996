#include "platform/screen_access.h"

#include "platform/qt_screen_source.h"

#include <QGuiApplication>
#include <QScreen>

#if defined(TINTGRABBER_HAVE_XLIB)
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#endif

namespace
{

// Whether the application's X server is XWayland, which announces itself by
// an extension of that name. False off X11.
bool RunsOnXWayland()
{
#if defined(TINTGRABBER_HAVE_XLIB)
    const auto *x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (display == nullptr)
        return false;
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    return XQueryExtension(display, "XWAYLAND", &opcode, &firstEvent, &firstError) != 0;
#else
    return false;
#endif
}

} // namespace

ScreenAccess JudgeScreenAccess(bool pixelSupplied, bool xwayland)
{
    if (!pixelSupplied)
        return ScreenAccess::NoGrab;
    return xwayland ? ScreenAccess::OnlyX11Windows : ScreenAccess::Readable;
}

bool SuppliesPixel(ScreenSource &source, QPoint point)
{
    return source.pixelAt(point) != UNREADABLE_PIXEL;
}

ScreenAccess CurrentScreenAccess(ScreenSource &source)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary == nullptr)
        return ScreenAccess::NoGrab;
    const QPoint middle = PhysicalScreenPoint(QPointF(primary->geometry().center()), primary);
    return JudgeScreenAccess(SuppliesPixel(source, middle), RunsOnXWayland());
}
