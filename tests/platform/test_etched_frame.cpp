// The frame around the swatch and the magnifier looks exactly like Qt's own
// sunken box, and leaves its inside alone, whatever part of it repaints.
#include "platform/etched_frame.h"

#include <QtTest>

namespace
{

constexpr QRgb UNTOUCHED = 0xFFFF00FFu;

// What the frame paints of its own over an image filled with UNTOUCHED,
// through a repaint of region (all of it when empty).
QImage Painted(QFrame &frame, const QRegion &region = {})
{
    QImage image(frame.size(), QImage::Format_RGB32);
    image.fill(UNTOUCHED);
    // render() puts the region's top-left corner at the offset it is given.
    const QPoint offset = region.isEmpty() ? QPoint() : region.boundingRect().topLeft();
    frame.render(&image, offset, region, QWidget::RenderFlags());
    return image;
}

} // namespace

class TestEtchedFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void looksLikeASunkenBox_data();
    void looksLikeASunkenBox();
    void repaintsOnlyWhatReachesTheEdge_data();
    void repaintsOnlyWhatReachesTheEdge();
};

void TestEtchedFrame::looksLikeASunkenBox_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("the magnifier's") << QSize(100, 96);
    QTest::newRow("the swatch's") << QSize(103, 49);
    QTest::newRow("smallest with an inside") << QSize(5, 5);
    QTest::newRow("wide and flat") << QSize(60, 6);
}

void TestEtchedFrame::looksLikeASunkenBox()
{
    QFETCH(QSize, size);
    QFrame reference;
    reference.setFrameStyle(QFrame::Box | QFrame::Sunken);
    reference.resize(size);
    EtchedFrame frame;
    frame.resize(size);

    QCOMPARE(frame.contentsRect(), reference.contentsRect());
    const QImage expected = Painted(reference);
    const QImage actual = Painted(frame);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            QVERIFY2(actual.pixel(x, y) == expected.pixel(x, y),
                     qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
}

void TestEtchedFrame::repaintsOnlyWhatReachesTheEdge_data()
{
    QTest::addColumn<QRect>("repainted");
    QTest::addColumn<bool>("edgeDrawn");
    // The frame is 50 x 40; its edge is two pixels wide.
    QTest::newRow("the inside") << QRect(2, 2, 46, 36) << false;
    QTest::newRow("part of the inside") << QRect(10, 10, 5, 5) << false;
    QTest::newRow("the whole frame") << QRect(0, 0, 50, 40) << true;
    QTest::newRow("the inner edge's last column") << QRect(48, 2, 1, 36) << true;
    QTest::newRow("the outer edge's last row") << QRect(20, 39, 5, 1) << true;
}

void TestEtchedFrame::repaintsOnlyWhatReachesTheEdge()
{
    QFETCH(QRect, repainted);
    QFETCH(bool, edgeDrawn);
    EtchedFrame frame;
    frame.resize(50, 40);
    const QImage whole = Painted(frame);
    const QImage part = Painted(frame, repainted);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 50; ++x) {
            const QRgb expected =
                edgeDrawn && repainted.contains(x, y) ? whole.pixel(x, y) : UNTOUCHED;
            QVERIFY2(part.pixel(x, y) == expected,
                     qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
        }
    }
}

QTEST_MAIN(TestEtchedFrame)
#include "test_etched_frame.moc"
