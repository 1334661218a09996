#include "resources/pictures.h"
#include "resources/resource_ids.h"

#include <QImage>
#include <QtTest>

class TestResources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The PNG pictures load with their format named.
    void aboutPictureLoads() { QCOMPARE(IconPicture(IDI_ABOUTPIC).size(), QSize(32, 32)); }

    // The program loads its icon from raw copies of the installed PNG files;
    // every size must be there and show the same pixels, or the window and
    // the launcher would show different icons.
    void appIconMatchesInstalledPictures_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {16, 32, 48, 64, 128, 256})
            QTest::addRow("%d", size) << size;
    }

    void appIconMatchesInstalledPictures()
    {
        QFETCH(int, size);
        const QString path =
            QFINDTESTDATA(QStringLiteral("../../resources/pictures/app-%1.png").arg(size));
        QVERIFY(!path.isEmpty());
        const QImage installed = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(installed.size(), QSize(size, size));
        const QImage loaded = AppIcon()
                                  .pixmap(QSize(size, size))
                                  .toImage()
                                  .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(loaded, installed);
        if (size == 32) {
            QCOMPARE(IconPicture(IDI_APP).toImage().convertToFormat(installed.format()), installed);
            QCOMPARE(SamplerCursor().pixmap().toImage().convertToFormat(installed.format()),
                     installed);
        }
    }

    // Four arrows on a transparent ground meeting at (15, 15): cyan from the
    // top, magenta from the right, yellow from the bottom, grey from the left.
    void samplerCursorArrowsMeetAtItsHotSpot()
    {
        const QCursor cursor = SamplerCursor();
        QCOMPARE(cursor.hotSpot(), QPoint(15, 15));
        const QImage image = cursor.pixmap().toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        for (QPoint clear : {QPoint(15, 15), QPoint(0, 0), QPoint(31, 31)})
            QCOMPARE(image.pixelColor(clear).alpha(), 0); // the sampled pixel stays visible
        const QColor top = image.pixelColor(15, 6), right = image.pixelColor(24, 15);
        const QColor bottom = image.pixelColor(15, 24), left = image.pixelColor(6, 15);
        for (const QColor &arrow : {top, right, bottom, left})
            QCOMPARE(arrow.alpha(), 255);
        QVERIFY(top.red() < top.green() && top.red() < top.blue());
        QVERIFY(right.green() < right.red() && right.green() < right.blue());
        QVERIFY(bottom.blue() < bottom.red() && bottom.blue() < bottom.green());
        QVERIFY(left.red() == left.green() && left.green() == left.blue());
    }

    void linkHandIsTwoColoursWithHotSpotAtTheCorner()
    {
        const QCursor cursor = LinkHandCursor();
        QCOMPARE(cursor.hotSpot(), QPoint(0, 0));
        const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(32, 32));
        QCOMPARE(image.pixel(0, 0), qRgba(0, 0, 0, 255)); // the fingertip
        QSet<QRgb> colours;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x)
                colours << (qAlpha(image.pixel(x, y)) == 0 ? 0u : image.pixel(x, y));
        }
        QCOMPARE(colours, (QSet<QRgb>{0u, qRgba(0, 0, 0, 255), qRgba(255, 255, 255, 255)}));
    }
};

QTEST_MAIN(TestResources)
#include "test_resources.moc"
