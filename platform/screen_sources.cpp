#include "platform/screen_sources.h"

#include "platform/qt_screen_source.h"

#ifdef TINTGRABBER_HAVE_X11SHM
#include "platform/x11_screen_source.h"
#endif

std::unique_ptr<ScreenSource> CreateScreenSource()
{
#ifdef TINTGRABBER_HAVE_X11SHM
    if (auto x11 = X11ScreenSource::openForApplication())
        return x11;
#endif
    return std::make_unique<QtScreenSource>();
}
