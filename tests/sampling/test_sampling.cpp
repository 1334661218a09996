#include "fakes/expected_magnifier.h"
#include "fakes/fake_screen.h"
#include "sampling/color_formats.h"
#include "sampling/drag_sampler.h"
#include "sampling/magnifier.h"
#include "sampling/sampling_session.h"

#include <QtTest>

class TestSampling : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One row a format, named by its caption: its texts of (171, 205, 239), of
    // (10, 11, 12) for leading zeros, and of an unreadable pixel (all bits set),
    // which shows as white.
    void colorTexts_data()
    {
        QTest::addColumn<QString>("texts");
        QTest::newRow("R") << "171|10|255";
        QTest::newRow("G") << "205|11|255";
        QTest::newRow("B") << "239|12|255";
        QTest::newRow("#HTML") << "#abcdef|#0a0b0c|#ffffff";
        QTest::newRow("HTML") << "abcdef|0a0b0c|ffffff";
        QTest::newRow("Copy to clipboard in POV-Ray format")
            << "color rgb <0.670588, 0.803922, 0.937255>|color rgb <0.039216, "
               "0.043137, 0.047059>|color rgb <1.000000, 1.000000, 1.000000>";
    }
    void colorTexts()
    {
        QFETCH(QString, texts);
        const auto format = std::find_if(
            std::begin(COLOR_FORMATS), std::end(COLOR_FORMATS), [](const ColorFormat &f) {
                return QLatin1String(f.caption) == QTest::currentDataTag();
            });
        QVERIFY(format != std::end(COLOR_FORMATS));
        QStringList made;
        for (const QRgb color : {qRgb(171, 205, 239), qRgb(10, 11, 12), 0xFFFFFFFFu})
            made << FormatColorTexts(color)[std::size_t(format - COLOR_FORMATS)];
        QCOMPARE(made.join(QLatin1Char('|')), texts);
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
        QCOMPARE(::magnifierPicture(read, size, factor),
                 expectedMagnifierInner(capture, QRect(QPoint(), size), factor));
    }

    void samplerReadsAroundThePoint()
    {
        FakeScreen screen;
        const QRgb face = qRgb(1, 2, 3);
        DragSampler sampler(screen, face);
        QCOMPARE(sampler.currentColor(), face);

        // Where each capture pixel lands, and the button face off the
        // screen: the desktop tests' magnifier at a corner.
        QCOMPARE(sampler.sample(QPoint(0, 0), 20), qRgb(0, 0, 0));
        const QImage &capture = sampler.captureBuffer();
        QCOMPARE(capture.pixel(CAPTURE_CENTER, CAPTURE_CENTER), FakeScreen::pixelAt(0, 0));

        // A smaller part leaves nothing of the larger one behind, and
        // nothing beyond the part is read.
        QCOMPARE(sampler.sample(QPoint(300, 200), 5), FakeScreen::pixelAt(300, 200));
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

    // Steps: p press in an area, P:x,y press elsewhere, m:x,y move, r release
    // away, c release where pressed, k Enter, u Escape, n:dx,dy nudge, a:N the
    // source answers the last press with SourceReadiness N, o:N the first.
    void session_data()
    {
        QTest::addColumn<bool>("deferred");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("state");
        QTest::addColumn<QPoint>("shows"); // (-1, -1): the button face
        QTest::addColumn<int>("problem");  // -1: none
        const QPoint face(-1, -1);
        const int refused = int(SourceReadiness::Refused);
        QTest::newRow("a press samples nothing, each move does, a release away ends")
            << false << "p m:10,20 m:30,40 r m:50,50" << 0 << QPoint(30, 40) << -1;
        QTest::newRow("a click samples at every move until the next press, anywhere")
            << false << "p c m:7,8 P:50,60 m:70,70" << 0 << QPoint(50, 60) << -1;
        QTest::newRow("a nudge steps from the last sample and moves the pointer")
            << false << "p m:10,20 n:1,0 n:0,-10" << 2 << QPoint(11, 10) << -1;
        QTest::newRow("Escape shows what was there before the press")
            << false << "p m:10,20 r p m:30,40 u" << 0 << QPoint(10, 20) << -1;
        QTest::newRow("Enter keeps the colour")
            << false << "p m:10,20 k m:30,40" << 0 << QPoint(10, 20) << -1;
        QTest::newRow("a late source: nothing until it answers, then the pointer's place")
            << true << "p m:10,20 m:30,40 n:1,1 a:0" << 2 << QPoint(30, 40) << -1;
        QTest::newRow("a late source samples where the ending click landed")
            << true << "p c P:50,60 a:0" << 0 << QPoint(50, 60) << -1;
        QTest::newRow("refused: ends with the reason")
            << true << "p m:10,20 a:" + QString::number(refused) << 0 << face << refused;
        const int cancelled = int(SourceReadiness::Cancelled);
        QTest::newRow("cancelled, never by the user here: ends with the reason")
            << true << "p m:10,20 a:" + QString::number(cancelled) << 0 << face << cancelled;
        QTest::newRow("never answers: Escape ends it, a late answer changes nothing")
            << true << "p m:10,20 u a:0" << 0 << face << -1;
        QTest::newRow("an answer to an earlier press changes nothing")
            << true << "p u p m:30,40 o:" + QString::number(refused) + " a:0" << 2 << QPoint(30, 40)
            << -1;
    }
    void session()
    {
        QFETCH(bool, deferred);
        QFETCH(QString, steps);
        QFETCH(int, state);
        QFETCH(QPoint, shows);
        QFETCH(int, problem);
        FakeScreen screen;
        screen.deferred = deferred;
        const QRgb face = qRgb(1, 2, 3);
        QList<QPoint> warped;
        SamplingSession session(screen, face,
                                {[](QPointF p) { return p.toPoint(); }, [] { return 5; },
                                 [] { return std::optional<QPoint>(); },
                                 [&](QPoint to) {
                                     warped << to;
                                     return true;
                                 },
                                 [] {}});
        for (const QString &step : steps.split(QLatin1Char(' '))) {
            const QStringList at = step.mid(2).split(QLatin1Char(','));
            const QPoint point = at.size() == 2 ? QPoint(at[0].toInt(), at[1].toInt()) : QPoint();
            const auto answer = SourceReadiness(at[0].toInt());
            switch (step[0].toLatin1()) {
            case 'p':
                session.press(QPointF(1, 1), true);
                break;
            case 'P':
                session.press(point, false);
                break;
            case 'm':
                session.move(point);
                break;
            case 'r':
                session.release(false);
                break;
            case 'c':
                session.release(true);
                break;
            case 'k':
                session.keep();
                break;
            case 'u':
                session.undo();
                break;
            case 'n':
                session.nudge(point);
                break;
            case 'a':
                screen.answers.back()(answer);
                break;
            case 'o':
                screen.answers.front()(answer);
                break;
            }
        }
        QCOMPARE(int(session.state()), state);
        QCOMPARE(session.holdsPointer(), state != 0);
        const QRgb expected = shows.x() < 0 ? face : FakeScreen::pixelAt(shows.x(), shows.y());
        QCOMPARE(session.sampler().currentColor(), expected);
        QCOMPARE(session.texts(), shows.x() < 0 ? ColorTexts() : FormatColorTexts(expected));
        const std::optional<SourceReadiness> said = session.takeProblem();
        QCOMPARE(said ? int(*said) : -1, problem);
        if (steps.contains(QLatin1String("n:")) && !deferred)
            QCOMPARE(warped, (QList<QPoint>{{11, 20}, {11, 10}}));
    }
};

QTEST_GUILESS_MAIN(TestSampling)
#include "test_sampling.moc"
