#include "app/sampler_app.h"

#include "clipboard/clipboard_keeper.h"
#include "resources/pictures.h"
#include "screen/screen_access.h"
#include "window/sampler_window.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>

#include <algorithm>

#if defined(TINTGRABBER_HAVE_XLIB)
#include <X11/Xlib.h>
#endif

namespace
{

constexpr char APPLICATION_NAME[] = "tintgrabber";

// Said before the application exists, so translated on the spot, in the
// context "DisplayProblem".
QString problem(const char *text)
{
    return Translations().translated("DisplayProblem", text);
}

// The platform plugins installed where Qt looks for them, by the names
// QT_QPA_PLATFORM takes: libqxcb.so is "xcb".
QStringList installedPlatforms()
{
    QStringList folders = qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator());
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (QString &folder : folders)
        folder += QStringLiteral("/platforms");
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM_PLUGIN_PATH"))
        folders << qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
    QStringList names;
    for (const QString &folder : folders) {
        for (QString file : QDir(folder).entryList(QDir::Files)) {
            file = file.section(QLatin1Char('.'), 0, 0);
            names << (file.startsWith(QLatin1String("libq")) ? file.mid(4) : file.mid(1));
        }
    }
    return names;
}

} // namespace

bool preferXWayland()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // On XWayland the drag reports screen positions, the pointer grab holds
    // and the sampling cursor shows; natively on Wayland none of them does.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        return qputenv("QT_QPA_PLATFORM", "xcb");
#endif
    return false;
}

QString displayProblem(const QString &platformOption, const QByteArray &displayOption)
{
    const QString platform =
        (platformOption.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : platformOption)
            .section(QLatin1Char(':'), 0, 0);
    // Listing the plugins is start-up work; only a named platform needs it.
    if (!platform.isEmpty() && !platform.contains(QLatin1Char(';'))) {
        const QStringList installed = installedPlatforms();
        // "wayland" is the key of both libqwayland-egl and libqwayland-generic.
        const bool known =
            std::any_of(installed.begin(), installed.end(),
                        [&](const QString &name) { return name.startsWith(platform); });
        if (!installed.isEmpty() && !known)
            return problem(
                       QT_TRANSLATE_NOOP("DisplayProblem", "no platform \"%1\" (installed: %2)"))
                .arg(platform, installed.join(QStringLiteral(", ")));
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // In a Wayland session Qt tries the compositor first, then X11.
    const bool session = platform.isEmpty() && qgetenv("XDG_SESSION_TYPE") == "wayland";
    if (platform.startsWith(QLatin1String("wayland")) || session) {
        const QString server = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
        const QString socket =
            QDir::isAbsolutePath(server)
                ? server
                : qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/') + server;
        if (QFileInfo::exists(socket))
            return {};
        if (!session)
            return problem(QT_TRANSLATE_NOOP("DisplayProblem",
                                             "no Wayland compositor answers on \"%1\""))
                .arg(server);
    }
    if (!platform.isEmpty() && platform != QLatin1String("xcb"))
        return {};
    const QByteArray display = displayOption.isEmpty() ? qgetenv("DISPLAY") : displayOption;
    if (display.isEmpty())
        return problem(QT_TRANSLATE_NOOP("DisplayProblem", "DISPLAY is not set"));
#if defined(TINTGRABBER_HAVE_XLIB)
    Display *opened = XOpenDisplay(display.constData());
    if (!opened)
        return problem(QT_TRANSLATE_NOOP("DisplayProblem", "no X server answers on \"%1\""))
            .arg(QString::fromLocal8Bit(display));
    XCloseDisplay(opened);
#endif
#else
    Q_UNUSED(displayOption); // only X11 has a display to name
#endif
    return {};
}

SamplerApp::SamplerApp(int &argc, char **argv)
    : Application(argc, argv), Settings(QString::fromLatin1(APPLICATION_NAME))
{
    // The one place that names the settings key: a second instance reads and
    // writes the same file.
    QCoreApplication::setOrganizationName(QString::fromLatin1(SETTINGS_KEY_NAME));
    QCoreApplication::setApplicationName(QString::fromLatin1(APPLICATION_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(TINTGRABBER_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.example.tintgrabber"));
    QApplication::setWindowIcon(appIcon());
    Settings.SetKeyName(QString::fromLatin1(SETTINGS_KEY_NAME));
    Screen = createScreenSource();
    Texts.install();
}

int SamplerApp::run()
{
    ScreenAccess access = currentScreenAccess(*Screen);
    // Through XWayland the desktop's screenshots show what the X server
    // cannot; a live read stays wherever it shows the whole screen.
    if (access == ScreenAccess::OnlyX11Windows) {
        if (std::unique_ptr<ScreenSource> picture = createPictureScreenSource()) {
            Screen = std::move(picture);
            access = ScreenAccess::Readable;
        }
    }
    SamplerWindow window(Settings, *Screen);
    window.setScreenAccess(access);
    // As Exit, also with the About window or the menu open over it, whose
    // own loops must end first; once the window has closed, a signal changes
    // nothing. Settings are never written at exit anyway.
    Signals.whenReceived(&window, [] { QApplication::closeAllWindows(); });
    window.exec();
    handOverClipboard();
    return 0;
}
