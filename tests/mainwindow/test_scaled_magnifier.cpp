// The magnifier of a window on a scaled screen (the test runs with
// QT_SCALE_FACTOR set): each captured pixel is a block of exactly z × z device
// pixels, the cross-hair one device pixel wide, the whole picture inside the
// zoom area's inner rectangle as it lands on the device.
#include "fakes/expected_magnifier.h"
#include "fakes/image_difference.h"
#include "sampler_window_fixture.h"

#include <QtTest>

namespace
{

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
        const QImage desktop = NoiseCapture(99);
        fixture.screen = FakeScreenSource(desktop, window.clientToScreen(outside) -
                                                       QPoint(CAPTURE_CENTER, CAPTURE_CENTER));
        QTest::mousePress(handle, Qt::LeftButton, {}, window.zoomArea()->geometry().center());
        QTest::mouseMove(handle, outside);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, outside);
        const QRect part = window.magnifiedPart();
        QCOMPARE(window.sampler().CaptureBuffer().copy(part), desktop.copy(part));

        const QImage shot = window.grab().toImage();
        QCOMPARE(shot.devicePixelRatio(), ratio);
        const QRect inner = DeviceInner(window.zoomArea()->geometry(), ratio);
        QVERIFY(shot.rect().contains(inner));
        COMPARE_IMAGES(shot.copy(inner).convertToFormat(QImage::Format_RGB32),
                       ExpectedMagnifierInner(desktop, inner, z));
    }
};

QTEST_MAIN(TestScaledMagnifier)
#include "test_scaled_magnifier.moc"
