#include "app/sampler_app.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    const bool xwayland = PreferXWayland();
    // Qt aborts the process when it finds no display; say why and leave.
    const QString problem = DisplayProblem();
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "tintgrabber: cannot open the display: %s\n", qPrintable(problem));
        return 1;
    }
    SamplerApp app(argc, argv);
    // What the program opens (links) starts as the session would start it.
    if (xwayland)
        qunsetenv("QT_QPA_PLATFORM");
    return app.run();
}
