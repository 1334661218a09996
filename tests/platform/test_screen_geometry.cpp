#include "platform/screen_geometry.h"

#include <QtTest>

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
    const QRect native = NativeGeometry(screen);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const std::int64_t dx = x0 + x, dy = y0 + y;
            const bool onScreen =
                dx >= native.x() && dx < std::int64_t(native.x()) + native.width() &&
                dy >= native.y() && dy < std::int64_t(native.y()) + native.height();
            image.setPixel(x, y, onScreen ? DesktopPixel(dx, dy) : FOREIGN);
        }
    }
    return image;
}

bool OnSomeScreen(const Screens &screens, std::int64_t x, std::int64_t y)
{
    for (const ScreenInfo &screen : screens) {
        const QRect n = NativeGeometry(screen);
        if (x >= n.x() && x < std::int64_t(n.x()) + n.width() && y >= n.y() &&
            y < std::int64_t(n.y()) + n.height())
            return true;
    }
    return false;
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
    void nativeGeometryKeepsTopLeftAndScalesSize_data();
    void nativeGeometryKeepsTopLeftAndScalesSize();
    void screenAtNative();
    void plannedGrabsAssembleTheRectangle_data();
    void plannedGrabsAssembleTheRectangle();
    void planGrabsOnlyWhatLiesOnAScreen();
    void physicalFromLogical_data();
    void physicalFromLogical();
    void everyPhysicalPixelSurvivesTheRoundTrip_data();
    void everyPhysicalPixelSurvivesTheRoundTrip();
};

void TestScreenGeometry::nativeGeometryKeepsTopLeftAndScalesSize_data()
{
    QTest::addColumn<ScreenInfo>("screen");
    QTest::addColumn<QRect>("native");
    QTest::newRow("unscaled") << Screen(0, 0, 1280, 800) << QRect(0, 0, 1280, 800);
    QTest::newRow("ratio 2, second screen")
        << Screen(1280, 100, 512, 384, 2.0) << QRect(1280, 100, 1024, 768);
    QTest::newRow("ratio 1.5") << Screen(0, 0, 853, 533, 1.5) << QRect(0, 0, 1280, 800);
    QTest::newRow("measured size wins")
        << ScreenInfo{QRect(700, 100, 600, 467), 1.5, {900, 700}} << QRect(700, 100, 900, 700);
    QTest::newRow("unusable ratio counts as 1") << Screen(5, 6, 70, 80, 0.0) << QRect(5, 6, 70, 80);
    QTest::newRow("near the largest int") << Screen(INT_MAX - 99, 0, 100, 10, 1.5)
                                          << QRect(QPoint(INT_MAX - 99, 0), QPoint(INT_MAX, 14));
}

void TestScreenGeometry::nativeGeometryKeepsTopLeftAndScalesSize()
{
    QFETCH(ScreenInfo, screen);
    QFETCH(QRect, native);
    QCOMPARE(NativeGeometry(screen), native);
}

void TestScreenGeometry::screenAtNative()
{
    // A ratio-2 screen on the left, then a gap, then an unscaled one lower down.
    const Screens screens{Screen(0, 0, 640, 400, 2.0), Screen(1300, 100, 800, 600)};
    QCOMPARE(ScreenAtNative(screens, {0, 0}), 0);
    QCOMPARE(ScreenAtNative(screens, {1279, 799}), 0);
    QCOMPARE(ScreenAtNative(screens, {1280, 0}), -1);
    QCOMPARE(ScreenAtNative(screens, {1299, 150}), -1);
    QCOMPARE(ScreenAtNative(screens, {1300, 100}), 1);
    QCOMPARE(ScreenAtNative(screens, {1300, 99}), -1);
    QCOMPARE(ScreenAtNative(screens, {INT_MIN, INT_MAX}), -1);
}

void TestScreenGeometry::plannedGrabsAssembleTheRectangle_data()
{
    QTest::addColumn<Screens>("screens");
    QTest::addColumn<QPoint>("topLeft");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("grabCount");

    const Screens single{Screen(0, 0, 1280, 800)};
    QTest::newRow("inside one screen") << single << QPoint(500, 300) << QSize(201, 201) << 1;
    QTest::newRow("over the top-left corner")
        << single << QPoint(-100, -100) << QSize(201, 201) << 1;
    QTest::newRow("over the bottom-right corner")
        << single << QPoint(1179, 699) << QSize(201, 201) << 1;
    QTest::newRow("wholly off the screen") << single << QPoint(5000, 5000) << QSize(201, 201) << 0;
    QTest::newRow("one pixel") << single << QPoint(1279, 799) << QSize(1, 1) << 1;
    QTest::newRow("empty size") << single << QPoint(10, 10) << QSize(0, 5) << 0;

    const Screens sideBySide{Screen(0, 0, 1280, 800), Screen(1280, 0, 1024, 768)};
    QTest::newRow("across the seam") << sideBySide << QPoint(1200, 700) << QSize(201, 201) << 2;

    const Screens gap{Screen(0, 0, 1000, 700), Screen(1100, 200, 800, 600)};
    QTest::newRow("across a gap between screens")
        << gap << QPoint(950, 150) << QSize(201, 201) << 2;
    QTest::newRow("inside the gap") << gap << QPoint(1001, 0) << QSize(99, 199) << 0;

    const Screens double_{Screen(0, 0, 640, 400, 2.0), Screen(1280, 0, 512, 384, 2.0)};
    QTest::newRow("ratio 2, odd corner") << double_ << QPoint(1, 1) << QSize(201, 201) << 1;
    QTest::newRow("ratio 2, across the seam")
        << double_ << QPoint(1179, 101) << QSize(201, 201) << 2;
    QTest::newRow("ratio 2, right edge") << double_ << QPoint(2203, 667) << QSize(201, 201) << 1;

    const Screens oneAndHalf{Screen(0, 0, 853, 533, 1.5), Screen(1280, 0, 600, 467, 1.5)};
    QTest::newRow("ratio 1.5, small") << oneAndHalf << QPoint(1, 1) << QSize(5, 5) << 1;
    QTest::newRow("ratio 1.5, every phase") << oneAndHalf << QPoint(4, 7) << QSize(3, 2) << 1;
    QTest::newRow("ratio 1.5, bottom-right corner")
        << oneAndHalf << QPoint(1277, 797) << QSize(10, 10) << 1;
    QTest::newRow("ratio 1.5, across the seam")
        << oneAndHalf << QPoint(1180, 300) << QSize(201, 201) << 2;

    const Screens mixed{Screen(-1024, 0, 1024, 768), Screen(0, 0, 640, 400, 2.0)};
    QTest::newRow("mixed ratios, left screen at a negative origin")
        << mixed << QPoint(-101, 600) << QSize(201, 201) << 2;

    const Screens nearMax{Screen(INT_MAX - 999, INT_MAX - 999, 1000, 1000)};
    QTest::newRow("screen ending at the largest int")
        << nearMax << QPoint(INT_MAX - 100, INT_MAX - 100) << QSize(201, 201) << 1;
    QTest::newRow("rectangle reaching past the largest int")
        << single << QPoint(INT_MAX - 10, INT_MAX) << QSize(201, 201) << 0;

    const Screens nearMin{Screen(INT_MIN, INT_MIN, 1000, 1000, 2.0)};
    QTest::newRow("screen starting at the smallest int")
        << nearMin << QPoint(INT_MIN, INT_MIN + 3) << QSize(201, 201) << 1;
    QTest::newRow("rectangle at the smallest int")
        << single << QPoint(INT_MIN, INT_MIN) << QSize(201, 201) << 0;
}

void TestScreenGeometry::plannedGrabsAssembleTheRectangle()
{
    QFETCH(Screens, screens);
    QFETCH(QPoint, topLeft);
    QFETCH(QSize, size);
    QFETCH(int, grabCount);

    const std::vector<ScreenGrab> grabs = PlanScreenGrabs(screens, topLeft, size);
    QCOMPARE(int(grabs.size()), grabCount);

    QImage target(size.isEmpty() ? QSize(1, 1) : size, QImage::Format_RGB32);
    target.fill(UNTOUCHED);
    for (const ScreenGrab &grab : grabs) {
        const QImage image = SimulateGrab(screens[std::size_t(grab.screen)], grab.logicalRect);
        const QRect t = grab.targetRect;
        QVERIFY(QRect(QPoint(), target.size()).contains(t));
        QVERIFY(image.rect().contains(QRect(grab.imageOffset, t.size())));
        for (int y = 0; y < t.height(); ++y) {
            for (int x = 0; x < t.width(); ++x)
                target.setPixel(t.x() + x, t.y() + y,
                                image.pixel(grab.imageOffset.x() + x, grab.imageOffset.y() + y));
        }
    }
    if (size.isEmpty())
        return;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const std::int64_t dx = std::int64_t(topLeft.x()) + x;
            const std::int64_t dy = std::int64_t(topLeft.y()) + y;
            const QRgb expected = OnSomeScreen(screens, dx, dy) ? DesktopPixel(dx, dy) : UNTOUCHED;
            if (target.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("target pixel (%1, %2): got %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(target.pixel(x, y), 8, 16)
                                     .arg(expected, 8, 16)));
        }
    }
}

void TestScreenGeometry::planGrabsOnlyWhatLiesOnAScreen()
{
    // An unscaled grab asks for exactly the part on the screen, relative to it.
    const Screens sideBySide{Screen(0, 0, 1280, 800), Screen(1280, 0, 1024, 768)};
    const std::vector<ScreenGrab> grabs = PlanScreenGrabs(sideBySide, {1200, 700}, {201, 201});
    QCOMPARE(grabs.size(), std::size_t(2));
    QCOMPARE(grabs[0].screen, 0);
    QCOMPARE(grabs[0].logicalRect, QRect(1200, 700, 80, 100));
    QCOMPARE(grabs[0].targetRect, QRect(0, 0, 80, 100));
    QCOMPARE(grabs[1].screen, 1);
    QCOMPARE(grabs[1].logicalRect, QRect(0, 700, 121, 68));
    QCOMPARE(grabs[1].targetRect, QRect(80, 0, 121, 68));

    // Mirrored screens supply the same pixels once.
    const Screens mirrored{Screen(0, 0, 800, 600), Screen(0, 0, 800, 600)};
    QCOMPARE(PlanScreenGrabs(mirrored, {10, 10}, {20, 20}).size(), std::size_t(1));
}

void TestScreenGeometry::physicalFromLogical_data()
{
    QTest::addColumn<Screens>("screens");
    QTest::addColumn<QPointF>("logical");
    QTest::addColumn<int>("fallback");
    QTest::addColumn<QPoint>("physical");

    const Screens unscaled{Screen(0, 0, 1280, 800)};
    QTest::newRow("unscaled") << unscaled << QPointF(10, 20) << -1 << QPoint(10, 20);
    QTest::newRow("unscaled, inside a pixel")
        << unscaled << QPointF(10.7, 20.2) << -1 << QPoint(10, 20);
    QTest::newRow("unscaled, negative") << unscaled << QPointF(-0.5, -3) << -1 << QPoint(-1, -3);

    const Screens twoScaled{Screen(0, 0, 640, 400, 2.0), Screen(1280, 0, 512, 384, 2.0)};
    QTest::newRow("ratio 2") << twoScaled << QPointF(100.5, 3.25) << -1 << QPoint(201, 6);
    QTest::newRow("ratio 2, second screen scales from its own corner")
        << twoScaled << QPointF(1290.5, 5) << -1 << QPoint(1301, 10);

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
    QTest::newRow("no screens") << Screens{} << QPointF(-3.5, 7.9) << -1 << QPoint(-4, 7);

    QTest::newRow("far beyond int saturates")
        << twoScaled << QPointF(1e12, -1e12) << -1 << QPoint(INT_MAX, INT_MIN);
    QTest::newRow("at int limits, scaled")
        << twoScaled << QPointF(INT_MAX, INT_MIN) << -1 << QPoint(INT_MAX, INT_MIN);
    QTest::newRow("infinity") << unscaled
                              << QPointF(std::numeric_limits<double>::infinity(),
                                         -std::numeric_limits<double>::infinity())
                              << -1 << QPoint(INT_MAX, INT_MIN);
    QTest::newRow("not a number") << unscaled << QPointF(std::nan(""), 5) << -1
                                  << QPoint(INT_MIN, 5);
}

void TestScreenGeometry::physicalFromLogical()
{
    QFETCH(Screens, screens);
    QFETCH(QPointF, logical);
    QFETCH(int, fallback);
    QFETCH(QPoint, physical);
    QCOMPARE(PhysicalFromLogical(screens, logical, fallback), physical);
}

void TestScreenGeometry::everyPhysicalPixelSurvivesTheRoundTrip_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1.25") << 1.25;
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("1.75") << 1.75;
    QTest::newRow("2") << 2.0;
    QTest::newRow("3") << 3.0;
}

void TestScreenGeometry::everyPhysicalPixelSurvivesTheRoundTrip()
{
    // The window gets the pointer as a logical position derived from a whole
    // physical pixel; converting back must give that pixel, on both screens.
    QFETCH(qreal, ratio);
    const QPoint origins[] = {{0, 0}, {1280, 37}};
    const Screens screens{
        {QRect(origins[0], QSize(qRound(1280 / ratio), qRound(800 / ratio))), ratio, {}},
        {QRect(origins[1], QSize(qRound(1024 / ratio), qRound(768 / ratio))), ratio, {}}};
    for (const QPoint origin : origins) {
        for (int n = 0; n < 1000; ++n) {
            const QPoint pixel = origin + QPoint(n, n % 700);
            const QPointF logical = QPointF(origin) + QPointF(pixel - origin) / ratio;
            if (PhysicalFromLogical(screens, logical) != pixel)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) came back as (%3, %4)")
                                     .arg(pixel.x())
                                     .arg(pixel.y())
                                     .arg(PhysicalFromLogical(screens, logical).x())
                                     .arg(PhysicalFromLogical(screens, logical).y())));
        }
    }
}

QTEST_GUILESS_MAIN(TestScreenGeometry)
#include "test_screen_geometry.moc"
