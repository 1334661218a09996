#include "app/sampler_app.h"

#include "mainwindow/sampler_window.h"
#include "platform/qt_pointer_service.h"
#include "platform/screen_access.h"
#include "platform/screen_sources.h"
#include "resources/pictures.h"

namespace
{

// Settings live under this key, then the application's name: a second instance
// reads and writes the same file (~/.config/Tintgrabber/tintgrabber.conf).
constexpr char APPLICATION_NAME[] = "tintgrabber";
constexpr char DESKTOP_ENTRY[] = "com.example.tintgrabber";

} // namespace

SamplerApp::SamplerApp(int &argc, char **argv)
    : Application(argc, argv), Settings(QString::fromLatin1(APPLICATION_NAME))
{
    // The one place that names the settings key.
    QCoreApplication::setOrganizationName(QString::fromLatin1(SETTINGS_KEY_NAME));
    QCoreApplication::setApplicationName(QString::fromLatin1(APPLICATION_NAME));
    Settings.SetKeyName(QString::fromLatin1(SETTINGS_KEY_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(TINTGRABBER_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(DESKTOP_ENTRY));
    QApplication::setWindowIcon(AppIcon());
    Screen = CreateScreenSource();
}

SamplerApp::~SamplerApp() = default;

int SamplerApp::run()
{
    SamplerWindow window(Settings, *Screen, [](QWidget &target) {
        return std::make_unique<QtPointerService>(target);
    });
    window.setScreenAccess(CurrentScreenAccess(*Screen));
    window.exec();
    return 0;
}
