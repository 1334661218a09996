#include "platform/font_config_preloader.h"

#if defined(TINTGRABBER_HAVE_FONTCONFIG)
#include <fontconfig/fontconfig.h>

#include <clocale>
#include <system_error>
#endif

FontConfigPreloader::FontConfigPreloader()
{
#if defined(TINTGRABBER_HAVE_FONTCONFIG)
    // Qt applies the user's locale as it starts, before it loads any font, and
    // fontconfig reads numbers in its files by the locale's decimal point.
    // Applying it first, as Qt will, keeps the files read as before, and keeps
    // Qt's own call, which then changes nothing, from switching it under them.
    std::setlocale(LC_ALL, "");
    // The same call Qt makes first; the loaded configuration is fontconfig's
    // process-wide current one.
    // Without a thread to spare, Qt loads the configuration itself, as it
    // would without this.
    try {
        Loader = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
    }
#endif
}

FontConfigPreloader::~FontConfigPreloader()
{
    wait();
}

void FontConfigPreloader::wait()
{
    if (Loader.joinable())
        Loader.join();
}
