#include "fakes/expected_magnifier.h"
#include "fakes/fake_screen.h"
#include "sampling/color_texts.h"
#include "sampling/drag_sampler.h"
#include "sampling/magnifier.h"

#include <QtTest>

class TestSampling : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colorTexts_data()
    {
        QTest::addColumn<uint>("value");
        QTest::addColumn<QString>("texts");
        QTest::newRow("black") << 0u
                               << "0;0;0;#000000;000000;color rgb <0.000000, 0.000000, 0.000000>";
        QTest::newRow("abcdef") << uint(MakeColorRef(171, 205, 239))
                                << "171;205;239;#abcdef;abcdef;color rgb <0.670588, 0.803922, "
                                   "0.937255>";
        QTest::newRow("leading zeros") << uint(MakeColorRef(10, 11, 12))
                                       << "10;11;12;#0a0b0c;0a0b0c;color rgb <0.039216, 0.043137, "
                                          "0.047059>";
        QTest::newRow("unreadable is white")
            << 0xFFFFFFFFu << "255;255;255;#ffffff;ffffff;color rgb <1.000000, 1.000000, 1.000000>";
    }
    void colorTexts()
    {
        QFETCH(uint, value);
        QFETCH(QString, texts);
        const ColorTexts made = FormatColorTexts(value);
        QCOMPARE(QStringList(made.begin(), made.end()).join(QLatin1Char(';')), texts);
    }

    void magnifierPicture_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("factor");
        QTest::newRow("x3, 80 x 83") << QSize(80, 83) << 3;
        QTest::newRow("x4, even factor") << QSize(80, 83) << 4;
        QTest::newRow("x30") << QSize(81, 80) << 30;
        QTest::newRow("x10 at scale 2") << QSize(162, 166) << 10;
        QTest::newRow("factor 1") << QSize(80, 83) << 1;
    }
    void magnifierPicture()
    {
        QFETCH(QSize, size);
        QFETCH(int, factor);
        const QImage capture = NoiseCapture(7);
        QCOMPARE(MagnifierPicture(capture, size, factor),
                 ExpectedMagnifierInner(capture, QRect(QPoint(), size), factor));
    }

    // A move reads only what x3 shows: nothing outside that radius may show
    // at x3 or any larger factor.
    void captureRadiusCoversThePicture()
    {
        for (const QSize size : {QSize(80, 83), QSize(120, 121), QSize(162, 166)}) {
            const int radius = CaptureRadiusShown(size);
            const QImage full = NoiseCapture(3);
            QImage part(full.size(), full.format());
            part.fill(Qt::black);
            const QRect read(CAPTURE_CENTER - radius, CAPTURE_CENTER - radius, 2 * radius + 1,
                             2 * radius + 1);
            for (int y = read.top(); y <= read.bottom(); ++y)
                for (int x = read.left(); x <= read.right(); ++x)
                    part.setPixel(x, y, full.pixel(x, y));
            for (int factor : {3, 4, 17})
                QCOMPARE(MagnifierPicture(part, size, factor),
                         MagnifierPicture(full, size, factor));
        }
    }

    void samplerReadsAroundThePoint()
    {
        FakeScreen screen;
        const QRgb face = qRgb(1, 2, 3);
        DragSampler sampler(screen, face);
        QCOMPARE(sampler.currentColor(), MakeColorRef(1, 2, 3));

        // At the screen's corner the capture's centre is the corner pixel,
        // and what lies off the screen is button face.
        const QRgb corner = FakeScreen::PixelAt(0, 0);
        QCOMPARE(sampler.sample(QPoint(0, 0), 20),
                 MakeColorRef(qRed(corner), qGreen(corner), qBlue(corner)));
        const QImage &capture = sampler.captureBuffer();
        QCOMPARE(capture.pixel(CAPTURE_CENTER, CAPTURE_CENTER), corner | 0xFF000000u);
        QCOMPARE(capture.pixel(CAPTURE_CENTER + 7, CAPTURE_CENTER + 9), FakeScreen::PixelAt(7, 9));
        QCOMPARE(capture.pixel(CAPTURE_CENTER - 1, CAPTURE_CENTER), face);
        QCOMPARE(capture.pixel(CAPTURE_CENTER + 21, CAPTURE_CENTER + 1), face);

        // A smaller part leaves nothing of the larger one behind.
        sampler.sample(QPoint(300, 200), 5);
        QCOMPARE(capture.pixel(CAPTURE_CENTER + 10, CAPTURE_CENTER), face);
        QCOMPARE(capture.pixel(CAPTURE_CENTER + 5, CAPTURE_CENTER - 5),
                 FakeScreen::PixelAt(305, 195));

        // A point on no screen reads as all bits set; far points do not
        // overflow.
        QCOMPARE(sampler.sample(QPoint(-3, 5), 5), 0xFFFFFFFFu);
        QCOMPARE(capture.pixel(CAPTURE_CENTER, CAPTURE_CENTER), face);
        QCOMPARE(sampler.sample(QPoint(INT_MAX, INT_MIN), 100), 0xFFFFFFFFu);
        QCOMPARE(capture.pixel(CAPTURE_CENTER, CAPTURE_CENTER), face);
        QCOMPARE(screen.reads, 4);
    }
};

QTEST_GUILESS_MAIN(TestSampling)
#include "test_sampling.moc"
