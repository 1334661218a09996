#include "platform/font_config_preloader.h"

#if defined(TINTGRABBER_HAVE_FONTCONFIG)
#include <fontconfig/fontconfig.h>
#endif

FontConfigPreloader::FontConfigPreloader()
{
#if defined(TINTGRABBER_HAVE_FONTCONFIG)
    // The same call Qt makes first; the loaded configuration is fontconfig's
    // process-wide current one.
    Loader = std::thread([] { FcInit(); });
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
