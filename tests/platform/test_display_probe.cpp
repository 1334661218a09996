#include "platform/display_probe.h"

#include <QtTest>

namespace
{

const QStringList INSTALLED = {"offscreen", "wayland", "xcb"};

} // namespace

class TestDisplayProbe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decides_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("session");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("wayland");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("expected"); // "" when a window can open

        QTest::newRow("X server answers") << ""
                                          << ""
                                          << ":0"
                                          << "" << INSTALLED << "";
        QTest::newRow("no DISPLAY")
            << ""
            << ""
            << ""
            << "" << INSTALLED << "cannot open the display: DISPLAY is not set";
        QTest::newRow("dead X server")
            << ""
            << ""
            << ":7"
            << "" << INSTALLED << "cannot open the display: no X server answers on \":7\"";
        QTest::newRow("explicit xcb without DISPLAY")
            << "xcb"
            << ""
            << ""
            << "" << INSTALLED << "cannot open the display: DISPLAY is not set";
        QTest::newRow("unknown platform")
            << "nosuch"
            << ""
            << ":0"
            << "" << INSTALLED
            << "cannot open the display: no platform \"nosuch\" (installed: offscreen, wayland, "
               "xcb)";
        QTest::newRow("platform name is case-insensitive") << "OffScreen"
                                                           << ""
                                                           << ""
                                                           << "" << INSTALLED << "";
        QTest::newRow("plugin arguments ignored") << "offscreen:fontconfig"
                                                  << ""
                                                  << ""
                                                  << "" << INSTALLED << "";
        QTest::newRow("fallback list, second works") << "nosuch;offscreen"
                                                     << ""
                                                     << ""
                                                     << "" << INSTALLED << "";
        QTest::newRow("fallback list, none works")
            << "nosuch;xcb"
            << ""
            << ""
            << "" << INSTALLED
            << "cannot open the display: no platform \"nosuch\" (installed: offscreen, wayland, "
               "xcb); DISPLAY is not set";
        QTest::newRow("only separators") << ";;"
                                         << ""
                                         << ":0"
                                         << "" << INSTALLED
                                         << "cannot open the display: QT_QPA_PLATFORM names no "
                                            "platform";
        QTest::newRow("wayland session falls back to X") << ""
                                                         << "wayland"
                                                         << ":0"
                                                         << "" << INSTALLED << "";
        QTest::newRow("wayland session, compositor answers") << ""
                                                             << "wayland"
                                                             << ""
                                                             << "wayland-1" << INSTALLED << "";
        QTest::newRow("wayland session, nothing answers")
            << ""
            << "wayland"
            << ""
            << "wayland-9" << INSTALLED
            << "cannot open the display: no Wayland compositor answers on \"wayland-9\"; "
               "DISPLAY is not set";
        QTest::newRow("plugins not listable") << "anything"
                                              << ""
                                              << ""
                                              << "" << QStringList() << "";
    }

    void decides()
    {
        QFETCH(QString, request);
        QFETCH(QString, session);
        QFETCH(QString, display);
        QFETCH(QString, wayland);
        QFETCH(QStringList, installed);
        QFETCH(QString, expected);
        DisplayEnvironment environment;
        environment.platformRequest = request;
        environment.sessionType = session;
        environment.x11Display = display;
        environment.waylandDisplay = wayland;
        environment.installedPlatforms = installed;
        const auto x11Answers = [](const QString &name) { return name == QLatin1String(":0"); };
        const auto waylandAnswers = [](const QString &name) {
            return name == QLatin1String("wayland-1");
        };
        QCOMPARE(DisplayProblem(environment, x11Answers, waylandAnswers), expected);
    }

    // The plugin list is read from the plugins' metadata before any
    // application object exists.
    void listsInstalledPlatforms()
    {
        const QStringList installed = CurrentDisplayEnvironment().installedPlatforms;
        QVERIFY2(installed.contains(QLatin1String("offscreen")), qPrintable(installed.join(' ')));
    }
};

QTEST_APPLESS_MAIN(TestDisplayProbe)
#include "test_display_probe.moc"
