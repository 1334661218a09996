#include "platform/surface.h"

#include <QPainter>
#include <QWidget>
#include <QtTest>

#include <limits>
#include <set>

namespace
{

constexpr QRgb BACKGROUND = 0xff102030;

QImage Canvas(int width = 40, int height = 30, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(BACKGROUND);
    return image;
}

// Pixels that differ from one position to the next, so that a pixel copied
// from the wrong place shows.
QImage NoiseImage(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xff000000u | (seed >> 8));
        }
    return image;
}

qint64 FloorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

} // namespace

class TestSurface : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillCoversExactlyTheRectangle();
    void iconShowsThroughItsTransparency();
    void stretchCopyReplicatesInsideTheClip_data();
    void stretchCopyReplicatesInsideTheClip();
    void stretchCopyIgnoresFactorsOutOfRange();
    void invertLinesCoverStartButNotEnd_data();
    void invertLinesCoverStartButNotEnd();
    void invertingTwiceRestores();
    void invertKeepsAlphaOnPremultipliedImages();
    void copyModeLinesUseThePenColour();
    void emptyClipDrawsNothing();
    void invertWorksOnAWidget();
};

void TestSurface::fillCoversExactlyTheRectangle()
{
    QImage image = Canvas();
    {
        QPainter painter(&image);
        Surface surface(painter);
        surface.fillRect(QRect(3, 4, 5, 6), MakeColorRef(0x11, 0x22, 0x33));
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= 3 && x < 8 && y >= 4 && y < 10;
            QCOMPARE(image.pixel(x, y), inside ? qRgb(0x11, 0x22, 0x33) : BACKGROUND);
        }
}

void TestSurface::iconShowsThroughItsTransparency()
{
    QImage icon(5, 4, QImage::Format_ARGB32);
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            icon.setPixel(x, y, (x + y) % 2 ? qRgba(0, 0, 0, 0) : qRgb(200, 10, 20 + x));
    QImage image = Canvas();
    {
        QPainter painter(&image);
        Surface surface(painter);
        surface.drawIcon(QPoint(7, 9), icon);
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int ix = x - 7;
            const int iy = y - 9;
            const bool opaque = ix >= 0 && ix < 5 && iy >= 0 && iy < 4 && (ix + iy) % 2 == 0;
            QCOMPARE(image.pixel(x, y), opaque ? qRgb(200, 10, 20 + ix) : BACKGROUND);
        }
}

void TestSurface::stretchCopyReplicatesInsideTheClip_data()
{
    QTest::addColumn<QRect>("clip");
    QTest::addColumn<QRect>("sourceRect");
    QTest::addColumn<qint64>("destLeft");
    QTest::addColumn<qint64>("destTop");
    QTest::addColumn<qint64>("factor");

    const QRect whole(0, 0, 9, 7);
    QTest::newRow("factor 1 in place")
        << QRect(0, 0, 40, 30) << whole << qint64(2) << qint64(3) << qint64(1);
    QTest::newRow("factor 3 from negative origin")
        << QRect(0, 0, 40, 30) << whole << qint64(-5) << qint64(-4) << qint64(3);
    QTest::newRow("factor 4 clipped")
        << QRect(5, 6, 17, 11) << whole << qint64(1) << qint64(2) << qint64(4);
    QTest::newRow("part of the source")
        << QRect(0, 0, 40, 30) << QRect(2, 1, 4, 3) << qint64(6) << qint64(5) << qint64(5);
    QTest::newRow("source rectangle beyond the image")
        << QRect(0, 0, 40, 30) << QRect(-2, -1, 20, 20) << qint64(0) << qint64(0) << qint64(2);
    QTest::newRow("largest factor")
        << QRect(4, 4, 20, 20) << whole << qint64(10) - 4 * (qint64(1) << 32)
        << qint64(12) - 2 * (qint64(1) << 32) << (qint64(1) << 32);
    QTest::newRow("factor just past int")
        << QRect(0, 0, 40, 30) << whole << qint64(10) - 4 * (qint64(1) << 31)
        << qint64(10) - 3 * (qint64(1) << 31) << (qint64(1) << 31);
    QTest::newRow("entirely outside the clip")
        << QRect(0, 0, 10, 10) << whole << qint64(10) << qint64(0) << qint64(3);
}

void TestSurface::stretchCopyReplicatesInsideTheClip()
{
    QFETCH(QRect, clip);
    QFETCH(QRect, sourceRect);
    QFETCH(qint64, destLeft);
    QFETCH(qint64, destTop);
    QFETCH(qint64, factor);

    const QImage source = NoiseImage(9, 7, 17);
    QImage image = Canvas();
    {
        QPainter painter(&image);
        Surface surface(painter);
        surface.setClip(clip);
        surface.stretchCopy(source, sourceRect, destLeft, destTop, factor);
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const qint64 sx = sourceRect.x() + FloorDiv(x - destLeft, factor);
            const qint64 sy = sourceRect.y() + FloorDiv(y - destTop, factor);
            const bool fromSource = clip.contains(x, y) && sourceRect.contains(int(sx), int(sy)) &&
                                    source.rect().contains(int(sx), int(sy));
            const QRgb expected = fromSource ? source.pixel(int(sx), int(sy)) : BACKGROUND;
            if (image.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
        }
}

void TestSurface::stretchCopyIgnoresFactorsOutOfRange()
{
    const QImage source = NoiseImage(9, 7, 3);
    QImage image = Canvas();
    {
        QPainter painter(&image);
        Surface surface(painter);
        for (qint64 factor : {qint64(0), qint64(-1), qint64(-3), std::numeric_limits<qint64>::min(),
                              (qint64(1) << 32) + 1, std::numeric_limits<qint64>::max()})
            surface.stretchCopy(source, source.rect(), 5, 5, factor);
    }
    QCOMPARE(image, Canvas());
}

void TestSurface::invertLinesCoverStartButNotEnd_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<QPoint>>("covered");

    QTest::newRow("left to right")
        << QPoint(2, 3) << QPoint(5, 3) << QList<QPoint>{{2, 3}, {3, 3}, {4, 3}};
    QTest::newRow("right to left")
        << QPoint(5, 3) << QPoint(2, 3) << QList<QPoint>{{5, 3}, {4, 3}, {3, 3}};
    QTest::newRow("downwards") << QPoint(4, 1) << QPoint(4, 3) << QList<QPoint>{{4, 1}, {4, 2}};
    QTest::newRow("upwards") << QPoint(4, 3) << QPoint(4, 1) << QList<QPoint>{{4, 3}, {4, 2}};
    QTest::newRow("zero length") << QPoint(4, 3) << QPoint(4, 3) << QList<QPoint>{};
    QTest::newRow("slanted") << QPoint(1, 1) << QPoint(4, 3) << QList<QPoint>{};
    QTest::newRow("cut by the clip")
        << QPoint(-10, 2) << QPoint(12, 2) << QList<QPoint>{{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}};
    const int big = std::numeric_limits<int>::max();
    const int small = std::numeric_limits<int>::min();
    QTest::newRow("from int's end to int's start")
        << QPoint(big, 4) << QPoint(small, 4)
        << QList<QPoint>{{1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}};
    QTest::newRow("row far outside") << QPoint(small, big) << QPoint(big, big) << QList<QPoint>{};
}

void TestSurface::invertLinesCoverStartButNotEnd()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QList<QPoint>, covered);

    const QImage before = NoiseImage(8, 6, 5);
    QImage image = before;
    {
        QPainter painter(&image);
        Surface surface(painter);
        surface.setClip(QRect(1, 1, 5, 4));
        surface.setRasterMode(RasterMode::InvertDestination);
        surface.moveTo(from);
        surface.lineTo(to);
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb original = before.pixel(x, y);
            const QRgb expected =
                covered.contains(QPoint(x, y)) ? (~original & 0x00ffffffu) | 0xff000000u : original;
            QCOMPARE(image.pixel(x, y), expected);
        }
}

void TestSurface::invertingTwiceRestores()
{
    const QImage before = NoiseImage(10, 10, 9);
    QImage image = before;
    {
        QPainter painter(&image);
        Surface surface(painter);
        surface.setRasterMode(RasterMode::InvertDestination);
        surface.moveTo(QPoint(1, 5));
        surface.lineTo(QPoint(8, 5));
        surface.lineTo(QPoint(1, 5)); // back along the same row, shifted by one
    }
    for (int x = 0; x < 10; ++x) {
        const QRgb original = before.pixel(x, 5);
        const bool once = x == 1 || x == 8;
        QCOMPARE(image.pixel(x, 5), once ? (~original & 0x00ffffffu) | 0xff000000u : original);
    }
}

void TestSurface::invertKeepsAlphaOnPremultipliedImages()
{
    QImage image = Canvas(6, 3, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        Surface surface(painter);
        surface.setRasterMode(RasterMode::InvertDestination);
        surface.moveTo(QPoint(0, 1));
        surface.lineTo(QPoint(6, 1));
    }
    QCOMPARE(image.pixel(2, 1), qRgb(0xef, 0xdf, 0xcf));
    QCOMPARE(image.pixel(2, 0), BACKGROUND);
}

void TestSurface::copyModeLinesUseThePenColour()
{
    QImage image = Canvas(6, 6);
    {
        QPainter painter(&image);
        Surface surface(painter);
        surface.setPenColor(MakeColorRef(1, 2, 3));
        surface.moveTo(QPoint(2, 4));
        surface.lineTo(QPoint(2, 1));
    }
    for (int y = 0; y < 6; ++y)
        QCOMPARE(image.pixel(2, y), y >= 2 && y <= 4 ? qRgb(1, 2, 3) : BACKGROUND);
}

void TestSurface::emptyClipDrawsNothing()
{
    QImage image = Canvas(10, 10);
    {
        QPainter painter(&image);
        Surface surface(painter);
        surface.setClip(QRect(5, 5, -3, 4));
        surface.fillRect(QRect(0, 0, 10, 10), MakeColorRef(9, 9, 9));
        surface.stretchCopy(NoiseImage(3, 3, 1), QRect(0, 0, 3, 3), 0, 0, 4);
        surface.setRasterMode(RasterMode::InvertDestination);
        surface.moveTo(QPoint(0, 5));
        surface.lineTo(QPoint(10, 5));
    }
    QCOMPARE(image, Canvas(10, 10));
}

namespace
{

class InvertingWidget : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromRgb(BACKGROUND));
        Surface surface(painter);
        surface.setRasterMode(RasterMode::InvertDestination);
        surface.moveTo(QPoint(1, 2));
        surface.lineTo(QPoint(5, 2));
    }
};

} // namespace

void TestSurface::invertWorksOnAWidget()
{
    InvertingWidget widget;
    widget.resize(8, 4);
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int x = 0; x < 8; ++x)
        QCOMPARE(image.pixel(x, 2), x >= 1 && x < 5 ? qRgb(0xef, 0xdf, 0xcf) : BACKGROUND);
    QCOMPARE(image.pixel(2, 1), BACKGROUND);
}

QTEST_MAIN(TestSurface)
#include "test_surface.moc"
