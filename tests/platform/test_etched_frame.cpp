// The frame around the swatch and the magnifier looks exactly like Qt's own
// sunken box, and leaves its inside alone, whatever part of it repaints.
#include "fakes/image_difference.h"
#include "platform/etched_frame.h"

#include <QPainter>
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
    void looksLikeASunkenBox_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("the magnifier's") << QSize(100, 96);
        QTest::newRow("the swatch's") << QSize(103, 49);
        QTest::newRow("smallest with an inside") << QSize(5, 5);
        QTest::newRow("wide and flat") << QSize(60, 6);
    }

    void looksLikeASunkenBox()
    {
        QFETCH(QSize, size);
        QFrame reference;
        reference.setFrameStyle(QFrame::Box | QFrame::Sunken);
        reference.resize(size);
        EtchedFrame frame;
        frame.resize(size);

        QCOMPARE(frame.contentsRect(), reference.contentsRect());
        COMPARE_IMAGES(Painted(frame), Painted(reference));
    }

    void repaintsOnlyWhatReachesTheEdge_data()
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

    void repaintsOnlyWhatReachesTheEdge()
    {
        QFETCH(QRect, repainted);
        QFETCH(bool, edgeDrawn);
        EtchedFrame frame;
        frame.resize(50, 40);
        QImage expected(frame.size(), QImage::Format_RGB32);
        expected.fill(UNTOUCHED);
        if (edgeDrawn)
            QPainter(&expected).drawImage(repainted.topLeft(), Painted(frame).copy(repainted));
        COMPARE_IMAGES(Painted(frame, repainted), expected);
    }
};

QTEST_MAIN(TestEtchedFrame)
#include "test_etched_frame.moc"
