#include "app/sampler_app.h"

#include "resources/pictures.h"
#include "screen/screen_access.h"
#include "window/sampler_window.h"

#include <QDir>
#include <QLibraryInfo>

#if defined(TINTGRABBER_HAVE_XLIB)
#include <X11/Xlib.h>
#endif

namespace
{

constexpr char APPLICATION_NAME[] = "tintgrabber";

// The platform plugins installed, by the names QT_QPA_PLATFORM takes:
// libqxcb.so is "xcb".
QStringList InstalledPlatforms()
{
    QStringList names;
    const QString folder =
        QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    for (QString file : QDir(folder).entryList(QDir::Files)) {
        file = file.section(QLatin1Char('.'), 0, 0);
        names << (file.startsWith(QLatin1String("libq")) ? file.mid(4) : file.mid(1));
    }
    return names;
}

} // namespace

QString DisplayProblem()
{
    const QString platform =
        qEnvironmentVariable("QT_QPA_PLATFORM").section(QLatin1Char(':'), 0, 0);
    const QStringList installed = InstalledPlatforms();
    if (!platform.isEmpty() && !platform.contains(QLatin1Char(';')) && !installed.isEmpty() &&
        !installed.contains(platform))
        return QStringLiteral("no platform \"%1\" (installed: %2)")
            .arg(platform, installed.join(QStringLiteral(", ")));
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // A Wayland session without a compositor leaves Qt to try X11 as well.
    if (!platform.isEmpty() && platform != QLatin1String("xcb"))
        return {};
    if (platform.isEmpty() &&
        qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") &&
        qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return {};
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        return QStringLiteral("DISPLAY is not set");
#if defined(TINTGRABBER_HAVE_XLIB)
    Display *opened = XOpenDisplay(display.constData());
    if (!opened)
        return QStringLiteral("no X server answers on \"%1\"").arg(QString::fromLocal8Bit(display));
    XCloseDisplay(opened);
#endif
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
    QApplication::setWindowIcon(AppIcon());
    Settings.SetKeyName(QString::fromLatin1(SETTINGS_KEY_NAME));
    Screen = CreateScreenSource();
}

int SamplerApp::run()
{
    SamplerWindow window(Settings, *Screen);
    window.setScreenAccess(CurrentScreenAccess(*Screen));
    window.exec();
    return 0;
}
