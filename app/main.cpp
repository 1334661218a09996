#include "app/sampler_app.h"
#include "platform/display_probe.h"
#include "platform/font_config_preloader.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    // Qt aborts the process when it finds no display; say why and leave instead.
    const QString problem = CurrentDisplayProblem();
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "tintgrabber: %s\n", qPrintable(problem));
        return 1;
    }
    // Loads while Qt starts; a program that leaves for want of a display
    // never needs it.
    FontConfigPreloader fonts;
    SamplerApp app(argc, argv);
    // From here on text is measured and drawn.
    fonts.wait();
    return app.run();
}
