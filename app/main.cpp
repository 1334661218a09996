#include "app/command_line.h"
#include "app/sampler_app.h"
#include "app/translations.h"
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
    // Qt aborts the process when it finds no display, named on the command
    // line or in the environment; say why and leave. An argument nobody knows
    // is named first, as it would be with a display.
    const QtOptions options = readQtOptions(argc, argv);
    const QString problem = displayProblem(options.platform, options.display);
    if (!problem.isEmpty()) {
        if (const std::optional<int> status = rejectUnknownArgument(options.unknown))
            return *status;
        const QString said = Translations().translated(
            "CommandLine", QT_TRANSLATE_NOOP("CommandLine", "cannot open the display: %1"));
        std::fprintf(stderr, "tintgrabber: %s\n", qPrintable(said.arg(problem)));
        return 1;
    }
    SamplerApp app(argc, argv);
    // What Qt did not take out of the command line, nobody here knows.
    if (const std::optional<int> status = rejectUnknownArgument(argc > 1 ? argv[1] : nullptr))
        return *status;
    // What the program opens (links) starts as the session would start it.
    if (xwayland)
        qunsetenv("QT_QPA_PLATFORM");
    return app.run();
}
