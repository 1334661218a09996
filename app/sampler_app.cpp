#include "app/sampler_app.h"

#include "mainwindow/sampler_window.h"
#include "resources/pictures.h"

namespace
{

// Settings live under this key, then the application's name: a second instance
// reads and writes the same file (~/.config/Tintgrabber/tintgrabber.conf).
constexpr char SETTINGS_KEY[] = "Tintgrabber";
constexpr char APPLICATION_NAME[] = "tintgrabber";
constexpr char DESKTOP_ENTRY[] = "com.example.tintgrabber";

} // namespace

SamplerApp::SamplerApp(int &argc, char **argv) : Application(argc, argv)
{
    // The one place that names the settings key.
    QCoreApplication::setOrganizationName(QString::fromLatin1(SETTINGS_KEY));
    QCoreApplication::setApplicationName(QString::fromLatin1(APPLICATION_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(TINTGRABBER_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(DESKTOP_ENTRY));
    QApplication::setWindowIcon(AppIcon());
}

int SamplerApp::run()
{
    SamplerWindow window;
    window.exec();
    return 0;
}
