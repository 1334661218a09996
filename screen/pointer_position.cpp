#include "screen/pointer_position.h"

#include <QGuiApplication>

#include <cmath>
#include <cstdlib>

#ifdef TINTGRABBER_HAVE_XLIB
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#endif

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace
{

#ifdef TINTGRABBER_HAVE_XLIB
Display *qtDisplay()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}
#endif

} // namespace

PointerPosition systemPointerPosition()
{
#ifdef TINTGRABBER_HAVE_XLIB
    if (Display *display = qtDisplay()) {
        return [display]() -> std::optional<QPoint> {
            Window root = 0, child = 0;
            int x = 0, y = 0, windowX = 0, windowY = 0;
            unsigned buttons = 0;
            // False where the pointer is on another X screen than ours.
            if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &windowX,
                               &windowY, &buttons))
                return std::nullopt;
            return QPoint(x, y);
        };
    }
#endif
#ifdef Q_OS_WIN
    // Qt makes the process aware of each monitor's scale, so the system
    // counts the pointer in physical pixels.
    return []() -> std::optional<QPoint> {
        POINT point;
        if (!GetCursorPos(&point))
            return std::nullopt;
        return QPoint(point.x, point.y);
    };
#else
    return [] { return std::optional<QPoint>(); };
#endif
}

bool warpPointer(QPoint physical)
{
#ifdef TINTGRABBER_HAVE_XLIB
    if (Display *display = qtDisplay()) {
        XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, physical.x(),
                     physical.y());
        // Whoever asks the server next finds the pointer there.
        XSync(display, False);
        return true;
    }
#endif
#ifdef Q_OS_WIN
    return SetCursorPos(physical.x(), physical.y());
#else
    Q_UNUSED(physical);
    return false;
#endif
}

QPoint pointerPixel(QPoint eventPoint, qreal devicePixelRatio, const PointerPosition &system)
{
    if (qFuzzyCompare(devicePixelRatio, 1.0) || !(devicePixelRatio > 0))
        return eventPoint;
    const std::optional<QPoint> exact = system();
    const long long reach = std::llround(std::ceil(devicePixelRatio));
    if (exact && std::llabs(0LL + exact->x() - eventPoint.x()) <= reach &&
        std::llabs(0LL + exact->y() - eventPoint.y()) <= reach)
        return *exact;
    return eventPoint;
}
