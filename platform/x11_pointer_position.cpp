#include "platform/x11_pointer_position.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

// Xlib's macros (None, Bool, Status...) clash with Qt's names, so it comes last.
#include <X11/Xlib.h>

std::unique_ptr<X11PointerPosition> X11PointerPosition::openForApplication()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return nullptr;
    return std::unique_ptr<X11PointerPosition>(
        new X11PointerPosition(display, DefaultRootWindow(display)));
}

std::optional<QPoint> X11PointerPosition::physicalPosition()
{
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    // False when the pointer is on another X screen than Qt's: its
    // coordinates there are not ours.
    if (!XQueryPointer(display_, root_, &root, &child, &rootX, &rootY, &windowX, &windowY,
                       &buttons))
        return std::nullopt;
    return QPoint(rootX, rootY);
}
