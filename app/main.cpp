#include "app/sampler_app.h"
#include "platform/display_probe.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    // Qt aborts the process when it finds no display; say why and leave instead.
    const QString problem = CurrentDisplayProblem();
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "tintgrabber: %s\n", qPrintable(problem));
        return 1;
    }
    SamplerApp app(argc, argv);
    return app.run();
}
