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
        QTest::newRow("x3 at scale 1.5") << QSize(120, 121) << 3;
        QTest::newRow("x3 at scale 2") << QSize(162, 166) << 3;
        QTest::newRow("x4, even factor") << QSize(80, 83) << 4;
        QTest::newRow("x30") << QSize(81, 80) << 30;
        QTest::newRow("x10 at scale 2") << QSize(162, 166) << 10;
        QTest::newRow("factor 1") << QSize(80, 83) << 1;
    }
    // A move reads only what x3, the smallest factor the list offers, shows:
    // the picture comes out the same from a capture of nothing more.
    void magnifierPicture()
    {
        QFETCH(QSize, size);
        QFETCH(int, factor);
        const QImage capture = noiseCapture(7);
        const int c = CAPTURE_CENTER, r = factor < 3 ? c : captureRadiusShown(size);
        const QImage read = capture.copy(c - r, c - r, 2 * r + 1, 2 * r + 1)
                                .copy(r - c, r - c, 2 * c + 1, 2 * c + 1);
        QCOMPARE(magnifierPicture(read, size, factor),
                 expectedMagnifierInner(capture, QRect(QPoint(), size), factor));
    }

    void samplerReadsAroundThePoint()
    {
        FakeScreen screen;
        const QRgb face = qRgb(1, 2, 3);
        DragSampler sampler(screen, face);
        QCOMPARE(sampler.currentColor(), MakeColorRef(1, 2, 3));

        // Where each capture pixel lands, and the button face off the
        // screen: the desktop tests' magnifier at a corner.
        QCOMPARE(sampler.sample(QPoint(0, 0), 20), MakeColorRef(0, 0, 0));
        const QImage &capture = sampler.captureBuffer();
        QCOMPARE(capture.pixel(CAPTURE_CENTER, CAPTURE_CENTER), FakeScreen::pixelAt(0, 0));

        // A smaller part leaves nothing of the larger one behind, and
        // nothing beyond the part is read.
        QCOMPARE(sampler.sample(QPoint(300, 200), 5), MakeColorRef(300 - 256, 200, 700 - 512));
        QCOMPARE(capture.pixel(CAPTURE_CENTER + 6, CAPTURE_CENTER), face);
        QCOMPARE(capture.pixel(CAPTURE_CENTER + 5, CAPTURE_CENTER - 5),
                 FakeScreen::pixelAt(305, 195));

        // A point on no screen reads as all bits set; far points do not
        // overflow.
        QCOMPARE(sampler.sample(QPoint(-3, 5), 5), 0xFFFFFFFFu);
        QCOMPARE(capture.pixel(CAPTURE_CENTER, CAPTURE_CENTER), face);
        QCOMPARE(sampler.sample(QPoint(INT_MAX, INT_MIN), 100), 0xFFFFFFFFu);
        QCOMPARE(screen.reads, 4);
    }
};

QTEST_GUILESS_MAIN(TestSampling)
#include "test_sampling.moc"
