#include "app/command_line.h"
#include "app/sampler_app.h"
#include "clipboard/clipboard_keeper.h"

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    // A closing instance started us to keep its copied text: no window.
    if (argc == 3 && std::strcmp(argv[1], CLIPBOARD_KEEPER_ARGUMENT) == 0)
        return runClipboardKeeper(argv[2]);
    if (const std::optional<int> status = answerInformationOptions(argc, argv))
        return *status;
    const bool xwayland = preferXWayland();
    // Qt aborts the process when it finds no display; say why and leave.
    const QString problem = displayProblem();
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "tintgrabber: cannot open the display: %s\n", qPrintable(problem));
        return 1;
    }
    SamplerApp app(argc, argv);
    // What Qt did not take out of the command line, nobody here knows.
    if (const std::optional<int> status = rejectUnknownArguments(argc, argv))
        return *status;
    // What the program opens (links) starts as the session would start it.
    if (xwayland)
        qunsetenv("QT_QPA_PLATFORM");
    return app.run();
}
