// The magnifier of a window on a scaled screen (the test runs with
// QT_SCALE_FACTOR set): each captured pixel is a block of exactly z × z device
// pixels, the cross-hair one device pixel wide, the whole picture inside the
// zoom area's inner rectangle as it lands on the device.
#include "sampler_window_fixture.h"

#include <QtTest>

#include <cmath>

namespace
{

QImage NoiseDesktop()
{
    QImage image(CAPTURE_SIZE, CAPTURE_SIZE, QImage::Format_RGB32);
    quint32 seed = 99;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xff000000u | (seed >> 8));
        }
    }
    return image;
}

int FloorDiv(int a, int b)
{
    return a / b - (a % b != 0 && a < 0);
}

// Where the magnifier must draw on the device: the logical inner rectangle,
// each edge scaled and rounded as Qt rounds the edges of a scaled fill.
QRect DeviceInner(const QRect &zoomArea, qreal ratio)
{
    const QRect inner = zoomArea.adjusted(3, 3, -3, -3);
    const int left = qRound(inner.x() * ratio), top = qRound(inner.y() * ratio);
    const int right = qRound((inner.x() + inner.width()) * ratio);
    const int bottom = qRound((inner.y() + inner.height()) * ratio);
    return QRect(left, top, right - left, bottom - top);
}

// What the magnifier must show in inner: each device pixel the capture pixel
// whose z × z block holds it, and the four bent lines that frame the sampled
// pixel's row and column bands inverted, each pixel once.
QImage ExpectedInner(const QImage &capture, const QRect &inner, int z)
{
    const int cx = inner.x() + inner.width() / 2, cy = inner.y() + inner.height() / 2;
    const int x0 = cx - z / 2, y0 = cy - z / 2, x1 = x0 + z, y1 = y0 + z;
    QImage image(inner.size(), QImage::Format_RGB32);
    for (int y = 0; y < inner.height(); ++y) {
        for (int x = 0; x < inner.width(); ++x) {
            const int i = FloorDiv(inner.x() + x - x0, z), j = FloorDiv(inner.y() + y - y0, z);
            image.setPixel(x, y, capture.pixel(CAPTURE_CENTER + i, CAPTURE_CENTER + j));
        }
    }
    const int l = inner.left(), t = inner.top(), r = inner.right(), b = inner.bottom();
    const QRect lines[] = {
        {QPoint(l, y0), QPoint(x0 - 1, y0)}, {QPoint(x0, t + 1), QPoint(x0, y0)},
        {QPoint(x1, t), QPoint(x1, y0 - 1)}, {QPoint(x1, y0), QPoint(r, y0)},
        {QPoint(l, y1), QPoint(x0 - 1, y1)}, {QPoint(x0, y1), QPoint(x0, b)},
        {QPoint(x1, y1 + 1), QPoint(x1, b)}, {QPoint(x1, y1), QPoint(r, y1)},
    };
    for (const QRect &line : lines) {
        const QRect inside = (line & inner).translated(-inner.topLeft());
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x)
                image.setPixel(x, y, image.pixel(x, y) ^ 0x00ffffffu);
        }
    }
    return image;
}

} // namespace

class TestScaledMagnifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void blocksAreDevicePixels_data()
    {
        QTest::addColumn<int>("zoomIndex");
        QTest::newRow("x3") << 0;
        QTest::newRow("x4") << 1;
        QTest::newRow("x10") << 7;
        QTest::newRow("x30") << 27;
    }
    void blocksAreDevicePixels()
    {
        QFETCH(int, zoomIndex);
        const int z = zoomIndex + 3;
        Fixture fixture({{"zom", zoomIndex}});
        SamplerWindow &window = fixture.shown();
        const qreal ratio = window.devicePixelRatio();
        // Without a scale this would only repeat the magnifier's own tests.
        QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        QVERIFY(ratio > 1);

        // A drag to a point whose whole neighbourhood is noise.
        QWindow *handle = window.windowHandle();
        const QPoint outside(-60, window.height() + 45);
        const QImage desktop = NoiseDesktop();
        fixture.screen = FakeScreenSource(desktop, window.clientToScreen(outside) -
                                                       QPoint(CAPTURE_CENTER, CAPTURE_CENTER));
        QTest::mousePress(handle, Qt::LeftButton, {}, window.zoomArea()->geometry().center());
        QTest::mouseMove(handle, outside);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, outside);
        QCOMPARE(window.sampler().CaptureBuffer(), desktop);

        const QImage shot = window.grab().toImage();
        QCOMPARE(shot.devicePixelRatio(), ratio);
        const QRect inner = DeviceInner(window.zoomArea()->geometry(), ratio);
        QVERIFY(shot.rect().contains(inner));
        const QImage expected = ExpectedInner(desktop, inner, z);
        const QImage drawn = shot.copy(inner).convertToFormat(QImage::Format_RGB32);
        int mismatches = 0;
        QString first;
        for (int y = 0; y < inner.height(); ++y) {
            for (int x = 0; x < inner.width(); ++x) {
                if (drawn.pixel(x, y) == expected.pixel(x, y) || mismatches++)
                    continue;
                first = QString("device pixel (%1, %2): expected %3, got %4")
                            .arg(inner.x() + x)
                            .arg(inner.y() + y)
                            .arg(expected.pixel(x, y), 8, 16)
                            .arg(drawn.pixel(x, y), 8, 16);
            }
        }
        QVERIFY2(mismatches == 0,
                 qPrintable(QString("%1 pixels differ, first %2").arg(mismatches).arg(first)));
    }
};

QTEST_MAIN(TestScaledMagnifier)
#include "test_scaled_magnifier.moc"
