#include "app/command_line.h"

#include "settings/settings_store.h"

#include <QDir>

#include <cstdio>
#include <cstring>

namespace
{

constexpr char USAGE[] = R"(Usage: tintgrabber [OPTION]...
Reads the colour of any pixel on the screen. Press the left mouse button in the
magnifier or the colour swatch and move over the screen (or click there, move,
and click again): the swatch takes the colour under the pointer, the magnifier
shows its surroundings enlarged, and six fields show the colour as texts to
copy. While sampling, the arrow keys move the pointer by one pixel (ten with
Shift), Enter keeps the colour and Escape puts back the one from before.

Options:
  --help     show this help and exit
  --version  show the version and exit
Qt's own options work too, such as -platform NAME, -display DISPLAY (X11) and
-style NAME.

The zoom and the always-on-top choice are kept in
  %s
)";

} // namespace

std::optional<int> answerInformationOptions(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            SettingsStore settings;
            settings.SetKeyName(QString::fromLatin1(SETTINGS_KEY_NAME));
            std::printf(USAGE, qPrintable(QDir::toNativeSeparators(settings.location())));
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            // The version's first two parts are the one users see.
            std::printf("tintgrabber %s\n",
                        qPrintable(QStringLiteral(TINTGRABBER_VERSION).section(u'.', 0, 1)));
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> rejectUnknownArguments(int argc, char **argv)
{
    if (argc < 2)
        return std::nullopt;
    std::fprintf(stderr, "tintgrabber: unknown %s \"%s\"; see tintgrabber --help\n",
                 argv[1][0] == '-' ? "option" : "argument", argv[1]);
    return 2;
}
