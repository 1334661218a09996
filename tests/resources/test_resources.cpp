#include "resources/dialog_template.h"
#include "resources/pictures.h"
#include "resources/resource_ids.h"
#include "resources/strings.h"
#include "resources/zoom_items.h"

#include <QImage>
#include <QtTest>

namespace
{

QColor PixelOf(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stringTable()
    {
        QCOMPARE(LoadResourceString(IDS_ABOUTMENU), QString("&About Tintgrabber..."));
        QVERIFY(LoadResourceString(12345).isEmpty());
    }

    void zoomItems()
    {
        QCOMPARE(ZOOM_ITEM_COUNT, 28);
        QCOMPARE(ZoomItemText(0), QString("x3"));
        QCOMPARE(ZoomItemText(27), QString("x30"));
    }

    void templatesFoundById()
    {
        QCOMPARE(FindDialogTemplate(IDD_SAMPLER), &SamplerWindowTemplate());
        QCOMPARE(FindDialogTemplate(4242), nullptr);
        // Every identified control appears once.
        const DialogTemplate &sampler = SamplerWindowTemplate();
        QSet<int> ids;
        for (const ControlTemplate &control : sampler.controls) {
            QVERIFY2(!ids.contains(control.id), qPrintable(QString::number(control.id)));
            ids.insert(control.id);
        }
        QCOMPARE(ids.size(), 17);
    }

    void appIconHasEverySize()
    {
        const QIcon icon = AppIcon();
        for (int size : {16, 32, 48, 64, 128, 256})
            QCOMPARE(icon.pixmap(QSize(size, size)).size(), QSize(size, size));
    }

    // Four arrows on a transparent ground meeting at (15, 15): cyan from the
    // top, magenta from the right, yellow from the bottom, grey from the left.
    void samplerCursorArrowsMeetAtItsHotSpot()
    {
        const QCursor cursor = SamplerCursor();
        QCOMPARE(cursor.hotSpot(), QPoint(15, 15));
        const QImage image = cursor.pixmap().toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QCOMPARE(PixelOf(image, 15, 15).alpha(), 0); // the sampled pixel stays visible
        QCOMPARE(PixelOf(image, 0, 0).alpha(), 0);
        QCOMPARE(PixelOf(image, 31, 31).alpha(), 0);
        const QColor top = PixelOf(image, 15, 6);
        const QColor right = PixelOf(image, 24, 15);
        const QColor bottom = PixelOf(image, 15, 24);
        const QColor left = PixelOf(image, 6, 15);
        for (const QColor &arrow : {top, right, bottom, left})
            QCOMPARE(arrow.alpha(), 255);
        QVERIFY(top.red() < top.green() && top.red() < top.blue());              // cyan
        QVERIFY(right.green() < right.red() && right.green() < right.blue());    // magenta
        QVERIFY(bottom.blue() < bottom.red() && bottom.blue() < bottom.green()); // yellow
        QVERIFY(left.red() == left.green() && left.green() == left.blue());      // grey
    }

    void linkHandIsTwoColoursWithHotSpotAtTheCorner()
    {
        const QCursor cursor = LinkHandCursor();
        QCOMPARE(cursor.hotSpot(), QPoint(0, 0));
        const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(32, 32));
        QCOMPARE(image.pixel(0, 0), qRgba(0, 0, 0, 255)); // the fingertip
        int black = 0;
        int white = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (pixel == qRgba(0, 0, 0, 255))
                    ++black;
                else if (pixel == qRgba(255, 255, 255, 255))
                    ++white;
                else
                    QCOMPARE(qAlpha(pixel), 0);
            }
        }
        QVERIFY(black > 0 && white > 0);
    }

    void iconPicturesById()
    {
        QCOMPARE(IconPicture(IDI_APP).size(), QSize(32, 32));
        QCOMPARE(IconPicture(IDI_ABOUTPIC).size(), QSize(32, 32));
        QCOMPARE(AboutPicture().size(), QSize(32, 32));
        QVERIFY(IconPicture(IDC_SAMPLER).isNull());
    }
};

QTEST_MAIN(TestResources)
#include "test_resources.moc"
