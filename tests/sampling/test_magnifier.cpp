#include "sampling/magnifier.h"

#include "fakes/expected_magnifier.h"
#include "platform/surface.h"
#include "sampling/sampling_constants.h"
#include "settings/settings_store.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

namespace
{

constexpr QRgb BACKGROUND = 0xff405060;

// The zoom area of the worked example: its inner rectangle runs from (4, 5)
// to (84, 88), right and bottom exclusive.
const QRect ZOOM_AREA(1, 2, 86, 89);
const QRect INNER(4, 5, 80, 83);

QImage Canvas()
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(BACKGROUND);
    return image;
}

QImage Draw(const QImage &buffer, const SettingsStore &settings)
{
    QImage image = Canvas();
    QPainter painter(&image);
    Surface surface(painter);
    DrawMagnifier(surface, ZOOM_AREA, buffer, settings);
    return image;
}

// The picture the magnifier should draw at a factor that fits the area.
QImage ExpectedPicture(const QImage &buffer, int z)
{
    QImage image = Canvas();
    QPainter(&image).drawImage(INNER.topLeft(), ExpectedMagnifierInner(buffer, INNER, z));
    return image;
}

} // namespace

class TestMagnifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // On a scaled device the inner rectangle's edges scale and round to the
    // nearest device pixel, and the blocks stay factor device pixels wide.
    void workedExampleGeometry_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QList<qint64>>("expected");
        QTest::newRow("unscaled") << 1.0 << QList<qint64>{4,    5,   84, 88, 44, 46, -257,
                                                          -255, 603, 43, 46, 45, 48};
        QTest::newRow("scale 1.5")
            << 1.5 << QList<qint64>{6, 8, 126, 132, 66, 70, -235, -231, 603, 65, 68, 69, 72};
        QTest::newRow("scale 2") << 2.0 << QList<qint64>{8,    10,  168, 176, 88, 93, -213,
                                                         -208, 603, 87,  90,  92, 95};
    }
    void workedExampleGeometry()
    {
        QFETCH(qreal, ratio);
        QFETCH(QList<qint64>, expected);
        const MagnifierGeometry g = ComputeMagnifierGeometry(ZOOM_AREA, 3, ratio);
        const QList<qint64> actual = {g.left,     g.top,     g.right,
                                      g.bottom,   g.cx,      g.cy,
                                      g.destLeft, g.destTop, CAPTURE_SIZE * g.factor,
                                      g.x0,       g.x1,      g.y0,
                                      g.y1};
        QCOMPARE(actual, expected);
    }

    // Every pixel against the expected picture, nothing outside the inner
    // rectangle touched. Stored values outside the list are drawn as they
    // are: factors below 1 as 1, factors wider than the area fill it with the
    // sampled pixel, the cross-hair lying outside. The store is read at every
    // draw: the first draw is at x3. Before any sample the buffer is the button
    // face, a plain square with its cross-hair.
    void drawsTheEnlargedBufferWithItsCrossHair_data()
    {
        QTest::addColumn<int>("zoomIndex");
        QTest::addColumn<int>("factor"); // 0: the area filled
        QTest::addColumn<bool>("sampled");
        QTest::newRow("before any sample") << 0 << 3 << false;
        const int big = std::numeric_limits<int>::max();
        const int small = std::numeric_limits<int>::min();
        QTest::newRow("x3") << 0 << 3 << true;
        QTest::newRow("x4") << 1 << 4 << true;
        QTest::newRow("x30") << 27 << 30 << true;
        QTest::newRow("factor 0 draws as 1") << -3 << 1 << true;
        QTest::newRow("smallest int draws as 1") << small << 1 << true;
        QTest::newRow("stored 37, factor 40") << 37 << 40 << true;
        QTest::newRow("largest int") << big << 0 << true;
    }

    void drawsTheEnlargedBufferWithItsCrossHair()
    {
        QFETCH(int, zoomIndex);
        QFETCH(int, factor);
        QFETCH(bool, sampled);
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        SettingsStore settings;
        settings.SetKeyName(SETTINGS_KEY_NAME);
        QImage buffer = NoiseCapture(12345);
        if (!sampled)
            buffer.fill(0xfff0f0f0);
        settings.WriteInt("win", "zom", 0);
        Draw(buffer, settings);
        settings.WriteInt("win", "zom", zoomIndex);
        QImage expected = ExpectedPicture(buffer, factor ? factor : 1);
        if (factor == 0) {
            expected = Canvas();
            QPainter(&expected).fillRect(INNER, QColor::fromRgb(buffer.pixel(100, 100)));
        }
        QCOMPARE(Draw(buffer, settings), expected);
    }

    // What the magnifier draws depends on the part of the capture it names
    // and on nothing outside it, and the part is no wider than it needs.
    void partShownIsAllItDraws_data()
    {
        QTest::addColumn<int>("factor");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("x3") << 3 << 1.0;
        QTest::newRow("x4") << 4 << 1.0;
        QTest::newRow("x30") << 30 << 1.0;
        QTest::newRow("factor 1: the whole capture") << 1 << 1.0;
        QTest::newRow("x3 at scale 1.5") << 3 << 1.5;
        QTest::newRow("x10 at scale 2") << 10 << 2.0;
    }
    void partShownIsAllItDraws()
    {
        QFETCH(int, factor);
        QFETCH(qreal, ratio);
        const QImage capture = NoiseCapture(777);
        // The capture where kept, other noise elsewhere, as drawn.
        const auto drawn = [&](const QRect &kept) {
            QImage buffer = NoiseCapture(778);
            QPainter(&buffer).drawImage(kept.topLeft(), capture.copy(kept));
            QImage image(qCeil(100 * ratio), qCeil(100 * ratio), QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            image.fill(BACKGROUND);
            QPainter painter(&image);
            Surface surface(painter, SurfacePixels::Device);
            DrawMagnifierAtFactor(surface, ZOOM_AREA, buffer, factor);
            return image;
        };
        const QRect part = CapturePartShown(ZOOM_AREA, factor, ratio);
        QCOMPARE(part.center(), QPoint(CAPTURE_CENTER, CAPTURE_CENTER));
        QCOMPARE(drawn(part), drawn(capture.rect()));
        if (part != capture.rect())
            QVERIFY(drawn(part.adjusted(1, 1, -1, -1)) != drawn(capture.rect()));
    }

    void swatchCentresTheIcon_data()
    {
        QTest::addColumn<QRect>("colorArea");
        QTest::addColumn<QPoint>("iconAt");
        // Inner rectangles 80 × 83, 81 × 84 and 21 × 25: the offsets truncate
        // toward zero, also when the icon is wider than the swatch.
        QTest::newRow("even by odd") << QRect(10, 4, 86, 89) << QPoint(13 + 24, 7 + 25);
        QTest::newRow("odd by even") << QRect(10, 4, 87, 90) << QPoint(13 + 24, 7 + 26);
        QTest::newRow("smaller than the icon") << QRect(30, 30, 27, 31) << QPoint(33 - 5, 33 - 3);
    }

    void swatchCentresTheIcon()
    {
        QFETCH(QRect, colorArea);
        QFETCH(QPoint, iconAt);
        // A checker of opaque and transparent 2 × 2 cells.
        QImage icon(32, 32, QImage::Format_ARGB32);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x)
                icon.setPixel(x, y, (x / 2 + y / 2) % 2 ? 0u : qRgb(x * 8, y * 8, 99));
        }
        QImage image = Canvas(), expected = Canvas();
        {
            QPainter painter(&image);
            Surface surface(painter);
            DrawSwatch(surface, colorArea, MakeColorRef(0x12, 0x80, 0xfe), icon);
        }
        const QRect inner = colorArea.adjusted(3, 3, -3, -3);
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                const QPoint inIcon = QPoint(x, y) - iconAt;
                if (icon.rect().contains(inIcon) && qAlpha(icon.pixel(inIcon)) == 255)
                    expected.setPixel(x, y, icon.pixel(inIcon));
                else if (inner.contains(x, y))
                    expected.setPixel(x, y, qRgb(0x12, 0x80, 0xfe));
            }
        }
        QCOMPARE(image, expected);
    }
};

QTEST_MAIN(TestMagnifier)
#include "test_magnifier.moc"
