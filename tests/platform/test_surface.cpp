// Fills and icons are checked pixel by pixel through the colour swatch's
// tests; here the copies and lines, whose edge cases the magnifier never
// reaches.
#include "platform/surface.h"

#include <QPainter>
#include <QtTest>

#include <limits>

namespace
{

constexpr QRgb BACKGROUND = 0xff102030;
constexpr qint64 MAX_FACTOR = qint64(1) << 32;
constexpr qint64 INT64_LOW = std::numeric_limits<qint64>::min();

// Pixels that differ from one position to the next, so that a pixel copied
// from the wrong place shows.
QImage NoiseImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 17;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xff000000u | (seed >> 8));
        }
    }
    return image;
}

qint64 FloorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && (a < 0));
}

} // namespace

class TestSurface : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stretchCopyReplicatesInsideTheClip_data()
    {
        QTest::addColumn<QRect>("clip");
        QTest::addColumn<QRect>("sourceRect");
        QTest::addColumn<qint64>("destLeft");
        QTest::addColumn<qint64>("destTop");
        QTest::addColumn<qint64>("factor");

        const QRect all(0, 0, 40, 30), whole(0, 0, 9, 7);
        QTest::newRow("factor 4 clipped") << QRect(5, 6, 17, 11) << whole << 1LL << 2LL << 4LL;
        QTest::newRow("part of the source") << all << QRect(2, 1, 4, 3) << 6LL << 5LL << 5LL;
        QTest::newRow("source beyond the image")
            << all << QRect(-2, -1, 20, 20) << 0LL << 0LL << 2LL;
        QTest::newRow("largest factor") << QRect(4, 4, 20, 20) << whole << 10 - 4 * MAX_FACTOR
                                        << 12 - 2 * MAX_FACTOR << MAX_FACTOR;
        QTest::newRow("factor just past int") << all << whole << 10 - 2 * MAX_FACTOR
                                              << 10 - MAX_FACTOR - MAX_FACTOR / 2 << MAX_FACTOR / 2;
        QTest::newRow("entirely outside the clip")
            << QRect(0, 0, 10, 10) << whole << 10LL << 0LL << 3LL;
        QTest::newRow("empty clip") << QRect(5, 5, 0, 4) << whole << 0LL << 0LL << 4LL;
        // Factors that cannot be drawn draw nothing.
        for (qint64 factor :
             {0LL, -3LL, INT64_LOW, MAX_FACTOR + 1, std::numeric_limits<qint64>::max()})
            QTest::addRow("factor %lld", factor) << all << whole << 5LL << 5LL << factor;
    }

    void stretchCopyReplicatesInsideTheClip()
    {
        QFETCH(QRect, clip);
        QFETCH(QRect, sourceRect);
        QFETCH(qint64, destLeft);
        QFETCH(qint64, destTop);
        QFETCH(qint64, factor);

        const QImage source = NoiseImage(9, 7);
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(BACKGROUND);
        QImage expected = image;
        {
            QPainter painter(&image);
            Surface surface(painter);
            surface.setClip(clip);
            surface.fillRect(image.rect(), MakeColorRef(1, 2, 3)); // fills keep to the clip too
            surface.stretchCopy(source, sourceRect, destLeft, destTop, factor);
        }
        const bool drawable = factor >= 1 && factor <= MAX_FACTOR;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (!clip.contains(x, y))
                    continue;
                const qint64 sx = sourceRect.x() + FloorDiv(x - destLeft, drawable ? factor : 1);
                const qint64 sy = sourceRect.y() + FloorDiv(y - destTop, drawable ? factor : 1);
                const bool copied = drawable && sourceRect.contains(int(sx), int(sy)) &&
                                    source.rect().contains(int(sx), int(sy));
                expected.setPixel(x, y, copied ? source.pixel(int(sx), int(sy)) : qRgb(1, 2, 3));
            }
        }
        QCOMPARE(image, expected);
    }

    // Inverting lines inside the clip (1, 1) to (5, 4), drawn along a path:
    // each covers its start pixel and not its end pixel, and a pixel covered
    // twice comes back.
    void invertLinesCoverStartButNotEnd_data()
    {
        QTest::addColumn<QList<QPoint>>("path");
        QTest::addColumn<QList<QPoint>>("inverted");

        const int big = std::numeric_limits<int>::max();
        const int small = std::numeric_limits<int>::min();
        const auto row = [](const char *name, QList<QPoint> path, QList<QPoint> inverted) {
            QTest::newRow(name) << path << inverted;
        };
        row("left to right", {{2, 3}, {5, 3}}, {{2, 3}, {3, 3}, {4, 3}});
        row("right to left", {{5, 3}, {2, 3}}, {{5, 3}, {4, 3}, {3, 3}});
        row("downwards", {{4, 1}, {4, 3}}, {{4, 1}, {4, 2}});
        row("upwards", {{4, 3}, {4, 1}}, {{4, 3}, {4, 2}});
        row("zero length", {{4, 3}, {4, 3}}, {});
        row("slanted", {{1, 1}, {4, 3}}, {});
        row("there and back", {{1, 2}, {5, 2}, {1, 2}}, {{1, 2}, {5, 2}});
        row("cut by the clip", {{-10, 2}, {12, 2}}, {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}});
        row("from int's end to int's start", {{big, 4}, {small, 4}},
            {{1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}});
        row("row far outside", {{small, big}, {big, big}}, {});
    }

    void invertLinesCoverStartButNotEnd()
    {
        QFETCH(QList<QPoint>, path);
        QFETCH(QList<QPoint>, inverted);

        const QImage before = NoiseImage(8, 6);
        QImage image = before;
        {
            QPainter painter(&image);
            Surface surface(painter);
            surface.setClip(QRect(1, 1, 5, 4));
            surface.setRasterMode(RasterMode::InvertDestination);
            surface.moveTo(path.first());
            for (QPoint point : path.mid(1))
                surface.lineTo(point);
        }
        QImage expected = before;
        for (QPoint p : inverted)
            expected.setPixel(p, before.pixel(p) ^ 0x00ffffffu);
        QCOMPARE(image, expected);
    }
};

QTEST_MAIN(TestSurface)
#include "test_surface.moc"
