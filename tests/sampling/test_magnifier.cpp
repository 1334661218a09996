#include "sampling/magnifier.h"

#include "fakes/fake_profile.h"
#include "mainwindow/settings_store.h"
#include "platform/surface.h"
#include "sampling/sampling_constants.h"

#include <QPainter>
#include <QSet>
#include <QtTest>

#include <limits>

namespace
{

constexpr QRgb BACKGROUND = 0xff405060;
constexpr QRgb BUTTON_FACE = 0xfff0f0f0;

// The zoom area of the worked example: its inner rectangle runs from (4, 5)
// to (84, 88), right and bottom exclusive.
const QRect ZOOM_AREA(1, 2, 86, 89);

// Every pixel different from its neighbours, so a misplaced one shows.
QImage NoiseBuffer()
{
    QImage image(CAPTURE_SIZE, CAPTURE_SIZE, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < CAPTURE_SIZE; ++y)
        for (int x = 0; x < CAPTURE_SIZE; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xff000000u | (seed >> 8));
        }
    return image;
}

QImage Canvas()
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(BACKGROUND);
    return image;
}

QImage DrawAtIndex(const QImage &buffer, int zoomIndex, FakeProfile &profile)
{
    profile.set(QStringLiteral("win"), QStringLiteral("zom"), zoomIndex);
    SettingsStore settings(profile);
    QImage image = Canvas();
    QPainter painter(&image);
    Surface surface(painter);
    DrawMagnifier(surface, ZOOM_AREA, buffer, settings);
    return image;
}

qint64 FloorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && (a < 0));
}

QRgb Inverted(QRgb pixel)
{
    return (~pixel & 0x00ffffffu) | 0xff000000u;
}

// The picture the magnifier should draw at a small factor, built the long way:
// the buffer pixel whose block holds each point, then the four bent lines
// walked pixel by pixel, each pixel toggled as often as a line covers it.
QImage ExpectedPicture(const QImage &buffer, qint64 z)
{
    const int left = 4, top = 5, right = 84, bottom = 88;
    const qint64 cx = 44, cy = 46;
    const qint64 blockLeft = cx - z / 2; // the sampled pixel's block
    const qint64 blockTop = cy - z / 2;

    QImage image = Canvas();
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            image.setPixel(x, y,
                           buffer.pixel(int(100 + FloorDiv(x - blockLeft, z)),
                                        int(100 + FloorDiv(y - blockTop, z))));

    QSet<QPair<qint64, qint64>> toggled;
    const auto walk = [&](qint64 ax, qint64 ay, qint64 bx, qint64 by) {
        const qint64 dx = (bx > ax) - (bx < ax);
        const qint64 dy = (by > ay) - (by < ay);
        for (qint64 x = ax, y = ay; x != bx || y != by; x += dx, y += dy) {
            const QPair<qint64, qint64> p(x, y);
            if (!toggled.remove(p))
                toggled.insert(p);
        }
    };
    const qint64 x0 = blockLeft, x1 = blockLeft + z, y0 = blockTop, y1 = blockTop + z;
    walk(left, y0, x0, y0);
    walk(x0, y0, x0, top);
    walk(x1, top, x1, y0);
    walk(x1, y0, right, y0);
    walk(left, y1, x0, y1);
    walk(x0, y1, x0, bottom);
    walk(x1, bottom, x1, y1);
    walk(x1, y1, right, y1);
    for (const auto &p : std::as_const(toggled))
        if (p.first >= left && p.first < right && p.second >= top && p.second < bottom)
            image.setPixel(int(p.first), int(p.second),
                           Inverted(image.pixel(int(p.first), int(p.second))));
    return image;
}

void ComparePictures(const QImage &actual, const QImage &expected)
{
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2): %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(actual.pixel(x, y), 8, 16)
                                     .arg(expected.pixel(x, y), 8, 16)));
}

} // namespace

class TestMagnifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExampleGeometry();
    void drawsTheEnlargedBufferWithItsCrossHair_data();
    void drawsTheEnlargedBufferWithItsCrossHair();
    void showsAPlainSquareBeforeAnySample();
    void readsTheZoomAtEveryDraw();
    void extremeStoredZoomsStaySound_data();
    void extremeStoredZoomsStaySound();
    void swatchCentresTheIcon_data();
    void swatchCentresTheIcon();
};

void TestMagnifier::workedExampleGeometry()
{
    const MagnifierGeometry g = ComputeMagnifierGeometry(ZOOM_AREA, 3);
    QCOMPARE(g.left, 4);
    QCOMPARE(g.top, 5);
    QCOMPARE(g.right, 84);
    QCOMPARE(g.bottom, 88);
    QCOMPARE(g.cx, 44);
    QCOMPARE(g.cy, 46);
    QCOMPARE(g.destLeft, -257);
    QCOMPARE(g.destTop, -255);
    QCOMPARE(CAPTURE_SIZE * g.factor, 603);
    QCOMPARE(g.x0, 43);
    QCOMPARE(g.x1, 46);
    QCOMPARE(g.y0, 45);
    QCOMPARE(g.y1, 48);

    // The sampled pixel covers x 43 to 45 and y 45 to 47; the first bent line
    // turns the corner at (x0, y0), its top-left pixel.
    FakeProfile profile;
    const QImage buffer = NoiseBuffer();
    const QImage image = DrawAtIndex(buffer, 0, profile);
    for (int y = 45; y <= 47; ++y)
        for (int x = 43; x <= 45; ++x)
            QCOMPARE(image.pixel(x, y), x == 43 && y == 45 ? Inverted(buffer.pixel(100, 100))
                                                           : buffer.pixel(100, 100));
    QVERIFY(image.pixel(46, 46) != buffer.pixel(100, 100));
    QCOMPARE(image.pixel(43, 44), Inverted(buffer.pixel(100, 99)));
}

void TestMagnifier::drawsTheEnlargedBufferWithItsCrossHair_data()
{
    QTest::addColumn<int>("zoomIndex");
    QTest::newRow("x3") << 0;
    QTest::newRow("x4") << 1;
    QTest::newRow("x30") << 27;
    QTest::newRow("x1, stored -2") << -2;
    QTest::newRow("x2, stored -1") << -1;
    QTest::newRow("x40, stored 37") << 37;
}

void TestMagnifier::drawsTheEnlargedBufferWithItsCrossHair()
{
    QFETCH(int, zoomIndex);
    FakeProfile profile;
    const QImage buffer = NoiseBuffer();
    ComparePictures(DrawAtIndex(buffer, zoomIndex, profile),
                    ExpectedPicture(buffer, zoomIndex + 3));
}

void TestMagnifier::showsAPlainSquareBeforeAnySample()
{
    QImage buffer(CAPTURE_SIZE, CAPTURE_SIZE, QImage::Format_RGB32);
    buffer.fill(BUTTON_FACE);
    FakeProfile profile;
    const QImage image = DrawAtIndex(buffer, 0, profile);

    // The cross-hair of the worked example, pixel by pixel.
    QSet<QPoint> crossHair;
    for (int x = 4; x <= 42; ++x)
        crossHair << QPoint(x, 45) << QPoint(x, 48);
    for (int x = 46; x <= 83; ++x)
        crossHair << QPoint(x, 45) << QPoint(x, 48);
    for (int y = 6; y <= 45; ++y)
        crossHair << QPoint(43, y);
    for (int y = 5; y <= 44; ++y)
        crossHair << QPoint(46, y);
    for (int y = 48; y <= 87; ++y)
        crossHair << QPoint(43, y);
    for (int y = 49; y <= 87; ++y)
        crossHair << QPoint(46, y);
    QCOMPARE(crossHair.size(), 313);

    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= 4 && x < 84 && y >= 5 && y < 88;
            const QRgb expected = !inside                            ? BACKGROUND
                                  : crossHair.contains(QPoint(x, y)) ? Inverted(BUTTON_FACE)
                                                                     : BUTTON_FACE;
            QCOMPARE(image.pixel(x, y), expected);
        }
}

void TestMagnifier::readsTheZoomAtEveryDraw()
{
    FakeProfile profile;
    const QImage buffer = NoiseBuffer();
    const QImage atThree = DrawAtIndex(buffer, 0, profile);
    const int reads = profile.readCount();
    const QImage atTen = DrawAtIndex(buffer, 7, profile);
    QCOMPARE(profile.readCount(), reads + 1);
    ComparePictures(atThree, ExpectedPicture(buffer, 3));
    ComparePictures(atTen, ExpectedPicture(buffer, 10));
}

// Stored values far outside the list: factors below 1 draw as factor 1, and
// factors wider than the area fill it with the sampled pixel, the cross-hair
// lying outside.
void TestMagnifier::extremeStoredZoomsStaySound_data()
{
    QTest::addColumn<int>("zoomIndex");
    QTest::addColumn<int>("looksLikeIndex");
    const int big = std::numeric_limits<int>::max();
    const int small = std::numeric_limits<int>::min();
    QTest::newRow("factor 0") << -3 << -2;
    QTest::newRow("factor -1") << -4 << -2;
    QTest::newRow("smallest int") << small << -2;
    QTest::newRow("factor 400") << 397 << big;
    QTest::newRow("factor past int") << big - 1 << big;
    QTest::newRow("largest int") << big << big;
}

void TestMagnifier::extremeStoredZoomsStaySound()
{
    QFETCH(int, zoomIndex);
    QFETCH(int, looksLikeIndex);
    FakeProfile profile;
    const QImage buffer = NoiseBuffer();
    const QImage image = DrawAtIndex(buffer, zoomIndex, profile);
    if (looksLikeIndex == -2) {
        ComparePictures(image, ExpectedPicture(buffer, 1));
        return;
    }
    QImage expected = Canvas();
    QPainter(&expected).fillRect(QRect(4, 5, 80, 83), QColor::fromRgb(buffer.pixel(100, 100)));
    ComparePictures(image, expected);
}

void TestMagnifier::swatchCentresTheIcon_data()
{
    QTest::addColumn<QRect>("colorArea");
    QTest::addColumn<QPoint>("iconAt");
    // Inner rectangles 80 × 83, 81 × 84 and 21 × 25: the offsets truncate
    // toward zero, also when the icon is wider than the swatch.
    QTest::newRow("even by odd") << QRect(10, 4, 86, 89) << QPoint(13 + 24, 7 + 25);
    QTest::newRow("odd by even") << QRect(10, 4, 87, 90) << QPoint(13 + 24, 7 + 26);
    QTest::newRow("smaller than the icon") << QRect(30, 30, 27, 31) << QPoint(33 - 5, 33 - 3);
}

void TestMagnifier::swatchCentresTheIcon()
{
    QFETCH(QRect, colorArea);
    QFETCH(QPoint, iconAt);

    // Four opaque arrows of a kind: a transparent checker of 2 × 2 cells.
    QImage icon(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            icon.setPixel(x, y, ((x / 2 + y / 2) % 2) ? qRgba(0, 0, 0, 0) : qRgb(x * 8, y * 8, 99));
    const COLORREF color = MakeColorRef(0x12, 0x80, 0xfe);

    QImage image = Canvas();
    {
        QPainter painter(&image);
        Surface surface(painter);
        DrawSwatch(surface, colorArea, color, icon);
    }
    const QRect inner = colorArea.adjusted(3, 3, -3, -3);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QPoint inIcon = QPoint(x, y) - iconAt;
            QRgb expected = inner.contains(x, y) ? qRgb(0x12, 0x80, 0xfe) : BACKGROUND;
            if (QRect(0, 0, 32, 32).contains(inIcon) && qAlpha(icon.pixel(inIcon)) == 255)
                expected = icon.pixel(inIcon);
            QCOMPARE(image.pixel(x, y), expected);
        }
}

QTEST_MAIN(TestMagnifier)
#include "test_magnifier.moc"
