#include "app/command_line.h"

#include "app/translations.h"
#include "settings/settings_store.h"

#include <QDir>

#include <algorithm>
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
    "-style NAME; a platform or display that cannot be opened is refused in one line\n"
    "with the exit status 1, any other argument with the exit status 2.\n"
    "\n"
    "The zoom and the always-on-top choice are kept in\n"
    "  %1\n");

// Qt's options as QGuiApplication, the X11 platform and QApplication take
// them, without the leading dash; those that take the next argument as value
// first. Forms with "=" (-style=NAME) take their value along.
constexpr const char *QT_VALUE_OPTIONS[] = {"platform",      "display",      "platformpluginpath",
                                            "platformtheme", "plugin",       "qwindowgeometry",
                                            "geometry",      "qwindowtitle", "title",
                                            "qwindowicon",   "icon",         "session",
                                            "name",          "visual",       "style",
                                            "stylesheet"};
constexpr const char *QT_FLAG_OPTIONS[] = {"reverse", "nograb",      "dograb",
                                           "sync",    "widgetcount", "testability"};

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

QtOptions readQtOptions(int argc, char **argv)
{
    QtOptions options;
    for (int i = 1; i < argc; ++i) {
        const char *name = argv[i] + (std::strncmp(argv[i], "--", 2) == 0 ? 2 : 1);
        const auto is = [name](const char *option) { return std::strcmp(name, option) == 0; };
        const bool takesValue =
            std::any_of(std::begin(QT_VALUE_OPTIONS), std::end(QT_VALUE_OPTIONS), is);
        if (argv[i][0] == '-' && takesValue && i + 1 < argc) {
            if (is("platform"))
                options.platform = QString::fromLocal8Bit(argv[i + 1]);
            else if (is("display"))
                options.display = argv[i + 1];
            ++i;
        } else if (argv[i][0] != '-' ||
                   !(std::any_of(std::begin(QT_FLAG_OPTIONS), std::end(QT_FLAG_OPTIONS), is) ||
                     std::strncmp(name, "style=", 6) == 0 ||
                     std::strncmp(name, "stylesheet=", 11) == 0 ||
                     std::strncmp(name, "qmljsdebugger=", 14) == 0)) {
            if (!options.unknown)
                options.unknown = argv[i];
        }
    }
    return options;
}

std::optional<int> rejectUnknownArgument(const char *argument)
{
    if (!argument)
        return std::nullopt;
    const char *text =
        argument[0] == '-'
            ? QT_TRANSLATE_NOOP("CommandLine", "unknown option \"%1\"; see tintgrabber --help")
            : QT_TRANSLATE_NOOP("CommandLine", "unknown argument \"%1\"; see tintgrabber --help");
    const QString said =
        Translations().translated("CommandLine", text).arg(QString::fromLocal8Bit(argument));
    std::fprintf(stderr, "tintgrabber: %s\n", qPrintable(said));
    return 2;
}
