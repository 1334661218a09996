#include "fakes/fake_screen_source.h"
#include "platform/qt_screen_source.h"
#include "platform/screen_access.h"
#include "platform/screen_sources.h"

#include <QGuiApplication>
#include <QtTest>

// Whether the screen can be read: decided by probing a real source on the
// platform the test runs on (run once on "minimal", whose screen grabs give
// nothing as on a Wayland desktop, and once on X11), and by the probe's
// reading of a source.
class TestScreenAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void probeCountsOnlySuppliedPixels_data();
    void probeCountsOnlySuppliedPixels();
    void verdictOfThisPlatform();
};

void TestScreenAccess::probeCountsOnlySuppliedPixels_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("supplied");

    // A 2 x 1 desktop at (10, 20): white, then black.
    QTest::newRow("white is a colour") << QPoint(10, 20) << true;
    QTest::newRow("black is a colour") << QPoint(11, 20) << true;
    QTest::newRow("off the desktop") << QPoint(12, 20) << false;
    QTest::newRow("far off") << QPoint(-2147483647 - 1, 2147483647) << false;
}

void TestScreenAccess::probeCountsOnlySuppliedPixels()
{
    QFETCH(QPoint, point);
    QFETCH(bool, supplied);

    QImage desktop(2, 1, QImage::Format_RGB32);
    desktop.setPixel(0, 0, qRgb(255, 255, 255));
    desktop.setPixel(1, 0, qRgb(0, 0, 0));
    FakeScreenSource source(desktop, QPoint(10, 20));
    QCOMPARE(SuppliesPixel(source, point), supplied);
}

void TestScreenAccess::verdictOfThisPlatform()
{
    const QString platform = QGuiApplication::platformName();
    ScreenAccess expected;
    if (platform == QLatin1String("minimal"))
        expected = ScreenAccess::NoGrab;
    else if (platform == QLatin1String("xcb"))
        expected = ScreenAccess::Readable; // Xvfb, not XWayland
    else
        QSKIP("no known verdict for this platform");

    QtScreenSource qtSource;
    QCOMPARE(CurrentScreenAccess(qtSource), expected);
    // The source the program uses, the X server's own on X11.
    const std::unique_ptr<ScreenSource> chosen = CreateScreenSource();
    QCOMPARE(CurrentScreenAccess(*chosen), expected);
}

QTEST_MAIN(TestScreenAccess)
#include "test_screen_access.moc"
