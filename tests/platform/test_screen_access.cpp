#include "fakes/fake_screen_source.h"
#include "platform/qt_screen_source.h"
#include "platform/screen_access.h"
#include "platform/screen_sources.h"

#include <QGuiApplication>
#include <QtTest>

#include <map>

// Whether the screen can be read: the probe's reading of a source, and the
// verdict on the desktop the test runs on (X11, Wayland, XWayland, and Qt's
// "minimal" platform, whose grabs give nothing).
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

// The verdict the desktop the test runs on must get, named by the test's
// registration in EXPECTED_SCREEN_ACCESS.
void TestScreenAccess::verdictOfThisPlatform()
{
    const QByteArray name = qgetenv("EXPECTED_SCREEN_ACCESS");
    const std::map<QByteArray, ScreenAccess> verdicts{
        {"Readable", ScreenAccess::Readable},
        {"NoGrab", ScreenAccess::NoGrab},
        {"OnlyX11Windows", ScreenAccess::OnlyX11Windows},
    };
    const auto expected = verdicts.find(name);
    if (expected == verdicts.end())
        QSKIP("EXPECTED_SCREEN_ACCESS names no verdict");

    QtScreenSource qtSource;
    QCOMPARE(CurrentScreenAccess(qtSource), expected->second);
    // The source the program uses, the X server's own on X11.
    const std::unique_ptr<ScreenSource> chosen = CreateScreenSource();
    QCOMPARE(CurrentScreenAccess(*chosen), expected->second);
}

QTEST_MAIN(TestScreenAccess)
#include "test_screen_access.moc"
