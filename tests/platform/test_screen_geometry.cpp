#include "platform/screen_geometry.h"

#include <QtTest>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

using Screens = std::vector<ScreenInfo>;
Q_DECLARE_METATYPE(ScreenInfo)
Q_DECLARE_METATYPE(Screens)

namespace
{

// Every physical desktop pixel gets its own colour, so a pixel taken from the
// wrong place shows.
QRgb DesktopPixel(std::int64_t x, std::int64_t y)
{
    const auto h = std::uint32_t(x) * 2654435761u ^ std::uint32_t(y) * 40503u;
    return 0xFF000000u | (h & 0x00FFFFFFu) | 1u;
}

constexpr QRgb UNTOUCHED = 0xFF000000u;
// Low bit clear, unlike every desktop pixel.
constexpr QRgb FOREIGN = 0xFFABCDEEu;

bool OnScreen(const ScreenInfo &screen, std::int64_t x, std::int64_t y)
{
    const QRect n = NativeGeometry(screen);
    return x >= n.x() && x <= n.right() && y >= n.y() && y <= n.bottom();
}

bool OnSomeScreen(const Screens &screens, std::int64_t x, std::int64_t y)
{
    return std::any_of(screens.begin(), screens.end(),
                       [&](const ScreenInfo &screen) { return OnScreen(screen, x, y); });
}

// What a screen's grab does with a logical rectangle: the position and size
// are rounded to physical pixels the way the screen rounds them, and the
// image holds physical pixels. Pixels off that screen come back as FOREIGN,
// so a grab that reaches them by mistake is caught.
QImage SimulateGrab(const ScreenInfo &screen, const QRect &logical)
{
    const qreal f = screen.devicePixelRatio;
    const QPoint origin = screen.logicalGeometry.topLeft();
    const std::int64_t x0 = origin.x() + qRound64(logical.x() * f);
    const std::int64_t y0 = origin.y() + qRound64(logical.y() * f);
    QImage image(int(qRound64(logical.width() * f)), int(qRound64(logical.height() * f)),
                 QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(
                x, y, OnScreen(screen, x0 + x, y0 + y) ? DesktopPixel(x0 + x, y0 + y) : FOREIGN);
    }
    return image;
}

ScreenInfo Screen(int x, int y, int w, int h, qreal ratio = 1.0)
{
    // From its corners, so that a screen may end at the largest int.
    const QPoint last(int(std::int64_t(x) + w - 1), int(std::int64_t(y) + h - 1));
    return {QRect(QPoint(x, y), last), ratio, {}};
}

} // namespace

class TestScreenGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nativeGeometryKeepsTopLeftAndScalesSize_data()
    {
        QTest::addColumn<ScreenInfo>("screen");
        QTest::addColumn<QRect>("native");
        QTest::newRow("ratio 2, second screen")
            << Screen(1280, 100, 512, 384, 2.0) << QRect(1280, 100, 1024, 768);
        QTest::newRow("ratio 1.5") << Screen(0, 0, 853, 533, 1.5) << QRect(0, 0, 1280, 800);
        QTest::newRow("measured size wins")
            << ScreenInfo{QRect(700, 100, 600, 467), 1.5, {900, 700}} << QRect(700, 100, 900, 700);
        QTest::newRow("unusable ratio counts as 1")
            << Screen(5, 6, 70, 80, 0.0) << QRect(5, 6, 70, 80);
        QTest::newRow("near the largest int")
            << Screen(INT_MAX - 99, 0, 100, 10, 1.5)
            << QRect(QPoint(INT_MAX - 99, 0), QPoint(INT_MAX, 14));
    }

    void nativeGeometryKeepsTopLeftAndScalesSize()
    {
        QFETCH(ScreenInfo, screen);
        QFETCH(QRect, native);
        QCOMPARE(NativeGeometry(screen), native);
    }

    // The grabs, simulated on a desktop of distinct pixels, must assemble the
    // rectangle exactly, taking nothing from off a screen. Corners and gaps
    // of real monitors at several scales are read back on a real X server.
    void plannedGrabsAssembleTheRectangle_data()
    {
        QTest::addColumn<Screens>("screens");
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("grabCount");

        const QSize box(201, 201);
        const Screens one{Screen(0, 0, 1280, 800)};
        QTest::newRow("inside one screen") << one << QPoint(500, 300) << box << 1;
        QTest::newRow("partly off the screen") << one << QPoint(-100, -100) << box << 1;
        QTest::newRow("wholly off the screen") << one << QPoint(5000, 5000) << box << 0;
        QTest::newRow("empty size") << one << QPoint(10, 10) << QSize(0, 5) << 0;
        QTest::newRow("past the largest int") << one << QPoint(INT_MAX - 10, INT_MAX) << box << 0;
        QTest::newRow("at the smallest int") << one << QPoint(INT_MIN, INT_MIN) << box << 0;

        const Screens seam{Screen(0, 0, 1280, 800), Screen(1280, 0, 1024, 768)};
        QTest::newRow("across the seam") << seam << QPoint(1200, 700) << box << 2;
        const Screens mirrored{Screen(0, 0, 800, 600), Screen(0, 0, 800, 600)};
        QTest::newRow("mirrored screens, one grab") << mirrored << QPoint(10, 10) << box << 1;

        const Screens x2{Screen(0, 0, 640, 400, 2.0), Screen(1280, 0, 512, 384, 2.0)};
        QTest::newRow("ratio 2, across the seam") << x2 << QPoint(1179, 101) << box << 2;
        const Screens x15{Screen(0, 0, 853, 533, 1.5), Screen(1280, 0, 600, 467, 1.5)};
        QTest::newRow("ratio 1.5, every phase") << x15 << QPoint(4, 7) << QSize(3, 2) << 1;
        QTest::newRow("ratio 1.5, across the seam") << x15 << QPoint(1180, 300) << box << 2;
        const Screens mixed{Screen(-1024, 0, 1024, 768), Screen(0, 0, 640, 400, 2.0)};
        QTest::newRow("mixed ratios, negative origin") << mixed << QPoint(-101, 600) << box << 2;

        const Screens nearMax{Screen(INT_MAX - 999, INT_MAX - 999, 1000, 1000)};
        QTest::newRow("screen ending at the largest int")
            << nearMax << QPoint(INT_MAX - 100, INT_MAX - 100) << box << 1;
        const Screens nearMin{Screen(INT_MIN, INT_MIN, 1000, 1000, 2.0)};
        QTest::newRow("screen starting at the smallest int")
            << nearMin << QPoint(INT_MIN, INT_MIN + 3) << box << 1;
    }

    void plannedGrabsAssembleTheRectangle()
    {
        QFETCH(Screens, screens);
        QFETCH(QPoint, topLeft);
        QFETCH(QSize, size);
        QFETCH(int, grabCount);

        const std::vector<ScreenGrab> grabs = PlanScreenGrabs(screens, topLeft, size);
        QCOMPARE(int(grabs.size()), grabCount);
        if (size.isEmpty())
            return;
        QImage target(size, QImage::Format_RGB32), expected(size, QImage::Format_RGB32);
        target.fill(UNTOUCHED);
        for (const ScreenGrab &grab : grabs) {
            const ScreenInfo &screen = screens[std::size_t(grab.screen)];
            const QImage image = SimulateGrab(screen, grab.logicalRect);
            const QRect t = grab.targetRect;
            QVERIFY(target.rect().contains(t));
            QVERIFY(image.rect().contains(QRect(grab.imageOffset, t.size())));
            for (int y = 0; y < t.height(); ++y) {
                for (int x = 0; x < t.width(); ++x)
                    target.setPixel(t.topLeft() + QPoint(x, y),
                                    image.pixel(grab.imageOffset + QPoint(x, y)));
            }
        }
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const std::int64_t dx = std::int64_t(topLeft.x()) + x;
                const std::int64_t dy = std::int64_t(topLeft.y()) + y;
                expected.setPixel(x, y,
                                  OnSomeScreen(screens, dx, dy) ? DesktopPixel(dx, dy) : UNTOUCHED);
            }
        }
        QCOMPARE(target, expected);
    }

    void physicalFromLogical_data()
    {
        QTest::addColumn<Screens>("screens");
        QTest::addColumn<QPointF>("logical");
        QTest::addColumn<int>("fallback");
        QTest::addColumn<QPoint>("physical");

        const Screens one{Screen(0, 0, 1280, 800)};
        QTest::newRow("unscaled, negative") << one << QPointF(-0.5, -3) << -1 << QPoint(-1, -3);

        const Screens x2{Screen(0, 0, 640, 400, 2.0), Screen(1280, 0, 512, 384, 2.0)};
        QTest::newRow("ratio 2") << x2 << QPointF(100.5, 3.25) << -1 << QPoint(201, 6);
        QTest::newRow("ratio 2, second screen scales from its own corner")
            << x2 << QPointF(1290.5, 5) << -1 << QPoint(1301, 10);

        const Screens mixed{Screen(0, 0, 640, 400, 2.0), Screen(1280, 0, 1024, 768)};
        QTest::newRow("off every screen, the window's screen decides")
            << mixed << QPointF(-10, -10) << 1 << QPoint(-10, -10);
        QTest::newRow("off every screen, another window screen")
            << mixed << QPointF(-10, -10) << 0 << QPoint(-20, -20);
        QTest::newRow("off every screen, the nearest decides")
            << mixed << QPointF(3000, 100) << -1 << QPoint(3000, 100);
        QTest::newRow("in the scaled screen's unused logical space, nearest decides")
            << mixed << QPointF(700, 10) << -1 << QPoint(1400, 20);
        QTest::newRow("bad fallback index") << mixed << QPointF(-10, -10) << 7 << QPoint(-20, -20);

        QTest::newRow("far beyond int saturates")
            << x2 << QPointF(1e12, -1e12) << -1 << QPoint(INT_MAX, INT_MIN);
        QTest::newRow("not a number")
            << one << QPointF(std::nan(""), 5) << -1 << QPoint(INT_MIN, 5);
    }

    void physicalFromLogical()
    {
        QFETCH(Screens, screens);
        QFETCH(QPointF, logical);
        QFETCH(int, fallback);
        QFETCH(QPoint, physical);
        QCOMPARE(PhysicalFromLogical(screens, logical, fallback), physical);
    }

    // The window gets the pointer as a logical position derived from a whole
    // physical pixel; converting back must give that pixel, on both screens.
    void everyPhysicalPixelSurvivesTheRoundTrip_data()
    {
        QTest::addColumn<qreal>("ratio");
        for (qreal ratio : {1.25, 1.5, 1.75, 2.0, 3.0})
            QTest::newRow(QByteArray::number(ratio)) << ratio;
    }

    void everyPhysicalPixelSurvivesTheRoundTrip()
    {
        QFETCH(qreal, ratio);
        const QPoint origins[] = {{0, 0}, {1280, 37}};
        const Screens screens{
            {QRect(origins[0], QSize(qRound(1280 / ratio), qRound(800 / ratio))), ratio, {}},
            {QRect(origins[1], QSize(qRound(1024 / ratio), qRound(768 / ratio))), ratio, {}}};
        for (const QPoint origin : origins) {
            for (int n = 0; n < 1000; ++n) {
                const QPoint pixel = origin + QPoint(n, n % 700);
                const QPointF logical = QPointF(origin) + QPointF(pixel - origin) / ratio;
                QCOMPARE(PhysicalFromLogical(screens, logical), pixel);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestScreenGeometry)
#include "test_screen_geometry.moc"
