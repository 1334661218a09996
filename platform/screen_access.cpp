#include "platform/screen_access.h"

#include "platform/qt_screen_source.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#if defined(TINTGRABBER_HAVE_XLIB)
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#endif

namespace
{

// Whether the application's X server is XWayland. Newer versions announce
// themselves by an extension of that name; all name their outputs, and so
// Qt's screens, "XWAYLAND<n>". False off X11.
bool RunsOnXWayland()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (std::any_of(screens.begin(), screens.end(), [](const QScreen *screen) {
            return screen->name().startsWith(QLatin1String("XWAYLAND"));
        }))
        return true;
#if defined(TINTGRABBER_HAVE_XLIB)
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *display = x11 ? x11->display() : nullptr;
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    return display != nullptr &&
           XQueryExtension(display, "XWAYLAND", &opcode, &firstEvent, &firstError) != 0;
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
