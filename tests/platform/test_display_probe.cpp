#include "platform/display_probe.h"

#include <QtTest>

namespace
{

const QStringList INSTALLED = {"offscreen", "wayland", "xcb"};
const QString PREFIX = "cannot open the display: ";

void Row(const char *name, const char *request, const char *session, const char *display,
         const char *wayland, const QString &problem, const QStringList &installed = INSTALLED)
{
    QTest::newRow(name) << QString(request) << QString(session) << QString(display)
                        << QString(wayland) << installed
                        << (problem.isEmpty() ? problem : PREFIX + problem);
}

} // namespace

class TestDisplayProbe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Only ":0" and "wayland-1" answer. The problem is one line, or empty
    // when a window can open.
    void decides_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("session");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("wayland");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("expected");

        Row("X server answers", "", "", ":0", "", "");
        Row("no DISPLAY", "", "", "", "", "DISPLAY is not set");
        Row("dead X server", "", "", ":7", "", "no X server answers on \":7\"");
        Row("unknown platform", "nosuch", "", ":0", "",
            "no platform \"nosuch\" (installed: offscreen, wayland, xcb)");
        Row("any case, plugin arguments ignored", "OffScreen:fontconfig", "", "", "", "");
        Row("fallback list, second works", "nosuch;offscreen", "", "", "", "");
        Row("fallback list, none works", "nosuch;xcb", "", "", "",
            "no platform \"nosuch\" (installed: offscreen, wayland, xcb); DISPLAY is not set");
        Row("only separators", ";;", "", ":0", "", "QT_QPA_PLATFORM names no platform");
        Row("wayland session falls back to X", "", "wayland", ":0", "", "");
        Row("wayland session, compositor answers", "", "wayland", "", "wayland-1", "");
        Row("wayland session, nothing answers", "", "wayland", "", "wayland-9",
            "no Wayland compositor answers on \"wayland-9\"; DISPLAY is not set");
        Row("plugins not listable", "anything", "", "", "", "", QStringList());
    }

    void decides()
    {
        DisplayEnvironment environment;
        QFETCH(QString, request);
        QFETCH(QString, session);
        QFETCH(QString, display);
        QFETCH(QString, wayland);
        QFETCH(QStringList, installed);
        QFETCH(QString, expected);
        environment.platformRequest = request;
        environment.sessionType = session;
        environment.x11Display = display;
        environment.waylandDisplay = wayland;
        environment.installedPlatforms = installed;
        const auto answersOn = [](const char *name) {
            return [name](const QString &asked) { return asked == QLatin1String(name); };
        };
        QCOMPARE(DisplayProblem(environment, answersOn(":0"), answersOn("wayland-1")), expected);
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
