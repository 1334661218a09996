#include "app/sampler_app.h"
#include "platform/display_probe.h"
#include "platform/font_config_preloader.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    // Loads while the display is checked and Qt starts.
    FontConfigPreloader fonts;
    // Qt aborts the process when it finds no display; say why and leave instead.
    const QString problem = CurrentDisplayProblem();
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "tintgrabber: %s\n", qPrintable(problem));
        return 1;
    }
    SamplerApp app(argc, argv);
    // From here on text is measured and drawn.
    fonts.wait();
    return app.run();
}
