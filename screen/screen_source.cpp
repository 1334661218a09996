#include "screen/screen_source.h"

#include "screen/qt_screens.h"

#ifdef TINTGRABBER_HAVE_X11SHM
#include "screen/x11_screen_source.h"
#endif
#ifdef TINTGRABBER_HAVE_DBUS
#include "screen/portal_screen_source.h"
#endif

std::unique_ptr<ScreenSource> createScreenSource()
{
#ifdef TINTGRABBER_HAVE_X11SHM
    if (auto x11 = X11ScreenSource::openForApplication())
        return x11;
#endif
    return std::make_unique<QtScreenSource>();
}

std::unique_ptr<ScreenSource> createPictureScreenSource()
{
#ifdef TINTGRABBER_HAVE_DBUS
    if (QDBusConnection::sessionBus().isConnected())
        return std::make_unique<PortalScreenSource>(QDBusConnection::sessionBus());
#endif
    return nullptr;
}
