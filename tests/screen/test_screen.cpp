#include "screen/picture_source.h"
#include "screen/screen_geometry.h"

#include <QtTest>

#include <climits>
#include <vector>

using Screens = std::vector<ScreenInfo>;

namespace
{

// Every physical desktop pixel its own colour, none of them opaque black.
QRgb desktopPixel(QPoint p)
{
    return 0xFF000001u | ((p.x() * 2654435761u ^ p.y() * 40503u) & 0xFFFFFFu);
}

ScreenInfo Screen(int x, int y, int w, int h, qreal ratio = 1.0, QSize native = {})
{
    return {QRect(x, y, w, h), ratio, native};
}

} // namespace

class TestScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Carried out as a screen grabs (position and size rounded to its
    // physical pixels), the planned grabs fill exactly the requested pixels
    // some screen shows, each once, from where it lies.
    void grabsSupplyEachPhysicalPixelOnce_data()
    {
        QTest::addColumn<Screens>("screens");
        QTest::addColumn<QRect>("wanted");
        const Screens sideBySide{Screen(0, 0, 1280, 800), Screen(1280, 0, 1280, 800)};
        const Screens gap{Screen(0, 0, 1000, 700), Screen(1100, 100, 1200, 700)};
        // 700 physical pixels at 1.5 are 467 logical ones, which scale back to 701.
        const Screens scaled{Screen(0, 0, 467, 400, 1.5, QSize(700, 600))};
        QTest::newRow("across the seam") << sideBySide << QRect(1180, 700, 201, 201);
        QTest::newRow("into the gap") << gap << QRect(950, 50, 201, 201);
        QTest::newRow("the top-left corner") << gap << QRect(-100, -100, 201, 201);
        QTest::newRow("scaled, odd pixels") << scaled << QRect(599, 499, 201, 201);
        QTest::newRow("scaled beside unscaled")
            << Screens{Screen(0, 0, 640, 400, 2), Screen(1280, 0, 1280, 800)}
            << QRect(1201, 301, 161, 161);
        QTest::newRow("mirrored screens once")
            << Screens{Screen(0, 0, 800, 600), Screen(0, 0, 800, 600)} << QRect(700, 500, 201, 201);
    }
    void grabsSupplyEachPhysicalPixelOnce()
    {
        QFETCH(Screens, screens);
        QFETCH(QRect, wanted);
        QImage target(wanted.size(), QImage::Format_RGB32);
        target.fill(Qt::black);
        for (const ScreenGrab &grab : planScreenGrabs(screens, wanted.topLeft(), wanted.size())) {
            const ScreenInfo &screen = screens[std::size_t(grab.screen)];
            const qreal f = screen.devicePixelRatio;
            const QPoint grabbed = screen.logicalGeometry.topLeft() +
                                   (QPointF(grab.logicalRect.topLeft()) * f).toPoint() +
                                   grab.imageOffset;
            // The grabbed image holds the part.
            QVERIFY(QRect(QPoint(), (QSizeF(grab.logicalRect.size()) * f).toSize())
                        .contains(QRect(grab.imageOffset, grab.targetRect.size())));
            for (int y = 0; y < grab.targetRect.height(); ++y)
                for (int x = 0; x < grab.targetRect.width(); ++x) {
                    const QPoint from = grabbed + QPoint(x, y),
                                 to = grab.targetRect.topLeft() + QPoint(x, y);
                    QVERIFY(nativeGeometry(screen).contains(from));
                    QCOMPARE(target.pixel(to), 0xFF000000u);
                    target.setPixel(to, desktopPixel(from));
                }
        }
        for (int y = 0; y < wanted.height(); ++y)
            for (int x = 0; x < wanted.width(); ++x) {
                const QPoint p = wanted.topLeft() + QPoint(x, y);
                const bool shown = std::any_of(screens.begin(), screens.end(), [&](auto &s) {
                    return nativeGeometry(s).contains(p);
                });
                QCOMPARE(target.pixel(x, y), shown ? desktopPixel(p) : 0xFF000000u);
            }
    }

    void physicalPixelUnderTheEvent_data()
    {
        QTest::addColumn<QPointF>("logical");
        QTest::addColumn<QPoint>("physical");
        QTest::newRow("unscaled screen") << QPointF(1300.5, 20) << QPoint(1300, 20);
        QTest::newRow("scale 1.75, inside a pixel") << QPointF(100.5, 3.25) << QPoint(175, 5);
        QTest::newRow("scale 1.75, a derived position") << QPointF(61 / 1.75, 0) << QPoint(61, 0);
        QTest::newRow("off every screen: the nearest") << QPointF(-10, -10) << QPoint(-18, -18);
        QTest::newRow("far off: saturates") << QPointF(-1e12, 1e12) << QPoint(INT_MIN, INT_MAX);
    }
    void physicalPixelUnderTheEvent()
    {
        QFETCH(QPointF, logical);
        QFETCH(QPoint, physical);
        const Screens screens{Screen(0, 0, 640, 400, 1.75), Screen(1280, 0, 1280, 800)};
        QCOMPARE(physicalFromLogical(screens, logical), physical);
    }

    // A picture of all screens: each desktop pixel reads from the picture
    // pixel its place in the box around the screens scales to, and no
    // screen's pixel from nowhere. A picture scaled unlike across and down
    // is refused.
    void pictureReadWhereTheDesktopPixelIs_data()
    {
        QTest::addColumn<Screens>("screens");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QPoint>("desktop");
        QTest::addColumn<QPoint>("expected"); // (-1, -1): no screen there
        const Screens sideBySide{Screen(0, 0, 1280, 800), Screen(1280, 0, 1280, 800)};
        QTest::newRow("second screen")
            << sideBySide << QSize(2560, 800) << QPoint(1300, 20) << QPoint(1300, 20);
        QTest::newRow("scaled by 2")
            << sideBySide << QSize(5120, 1600) << QPoint(1283, 5) << QPoint(2566, 10);
        QTest::newRow("left of the origin")
            << Screens{Screen(-1280, 0, 1280, 800), Screen(0, 0, 1280, 800)} << QSize(2560, 800)
            << QPoint(-1, 0) << QPoint(1279, 0);
        QTest::newRow("in a gap") << Screens{Screen(0, 0, 1000, 700), Screen(1100, 100, 1200, 700)}
                                  << QSize(2300, 800) << QPoint(1050, 50) << QPoint(-1, -1);
        QTest::newRow("taller than wide") << sideBySide << QSize(2560, 801) << QPoint() << QPoint();
    }
    void pictureReadWhereTheDesktopPixelIs()
    {
        QFETCH(Screens, screens);
        QFETCH(QSize, picture);
        QFETCH(QPoint, desktop);
        QFETCH(QPoint, expected);
        QImage image(picture, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, desktopPixel(QPoint(x, y)));
        PictureSource source;
        QCOMPARE(source.setPicture(image, screens), expected != QPoint());
        if (expected == QPoint())
            return;
        // The capture holds picture pixels one for one around it.
        QImage target(3, 1, QImage::Format_RGB32);
        target.fill(Qt::black);
        const bool shown = expected != QPoint(-1, -1);
        QCOMPARE(source.copyRect(desktop - QPoint(1, 0), target), shown);
        QCOMPARE(target.pixel(1, 0), shown ? desktopPixel(expected) : 0xFF000000u);
        QCOMPARE(target.pixel(2, 0), shown ? desktopPixel(expected + QPoint(1, 0)) : 0xFF000000u);
    }
};

QTEST_GUILESS_MAIN(TestScreen)
#include "test_screen.moc"
