#include "app/command_line.h"

#include "app/translations.h"
#include "settings/settings_store.h"

#include <QDir>

#include <cstdio>
#include <cstring>

namespace
{

// Translated in the context "CommandLine"; %1 is the settings file.
constexpr char USAGE[] = QT_TRANSLATE_NOOP(
    "CommandLine",
    "Usage: tintgrabber [OPTION]...\n"
    "Reads the colour of any pixel on the screen. Press the left mouse button in the\n"
    "magnifier or the colour swatch and move over the screen (or click there, move,\n"
    "and click again): the swatch takes the colour under the pointer, the magnifier\n"
    "shows its surroundings enlarged, and six fields show the colour as texts to\n"
    "copy. While sampling, the arrow keys move the pointer by one pixel (ten with\n"
    "Shift), Enter keeps the colour and Escape puts back the one from before.\n"
    "\n"
    "Options:\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "Qt's own options work too, such as -platform NAME, -display DISPLAY (X11) and\n"
    "-style NAME.\n"
    "\n"
    "The zoom and the always-on-top choice are kept in\n"
    "  %1\n");

} // namespace

std::optional<int> answerInformationOptions(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            SettingsStore settings;
            settings.SetKeyName(QString::fromLatin1(SETTINGS_KEY_NAME));
            const QString usage = Translations().translated("CommandLine", USAGE);
            std::fputs(qPrintable(usage.arg(QDir::toNativeSeparators(settings.location()))),
                       stdout);
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
    const char *text =
        argv[1][0] == '-'
            ? QT_TRANSLATE_NOOP("CommandLine", "unknown option \"%1\"; see tintgrabber --help")
            : QT_TRANSLATE_NOOP("CommandLine", "unknown argument \"%1\"; see tintgrabber --help");
    const QString said =
        Translations().translated("CommandLine", text).arg(QString::fromLocal8Bit(argv[1]));
    std::fprintf(stderr, "tintgrabber: %s\n", qPrintable(said));
    return 2;
}
