#include "sampling/drag_sampler.h"

#include "fakes/allocation_counter.h"
#include "fakes/call_journal.h"
#include "fakes/fake_pointer_service.h"
#include "fakes/fake_screen_source.h"

#include <QtTest>

#include <array>
#include <climits>
#include <string>
#include <vector>

namespace
{

constexpr QRgb BUTTON_FACE = 0xFFD4D0C8u;
// Where the window's client area sits on the screen.
constexpr QPoint CLIENT_ORIGIN(1000, 500);
using Calls = std::vector<std::string>;

// The main window as drag sampling sees it: two frames, a client area at
// CLIENT_ORIGIN, and a log of repaints and field texts.
class FakeView : public SamplerView
{
public:
    explicit FakeView(CallJournal *journal = nullptr) : journal_(journal)
    {
        for (std::string &text : fieldTexts)
            text.reserve(64);
    }

    QRect colorAreaRect() const override { return {318, 20, 88, 49}; }
    QRect zoomAreaRect() const override { return {2, 3, 86, 90}; }
    QRect magnifiedPart() const override { return part; }

    QPoint clientToScreen(QPointF clientPoint) const override
    {
        // Saturating, as the real window's conversion does.
        auto convert = [](double value) {
            return int(std::clamp(std::floor(value), double(INT_MIN), double(INT_MAX)));
        };
        return {convert(clientPoint.x() + CLIENT_ORIGIN.x()),
                convert(clientPoint.y() + CLIENT_ORIGIN.y())};
    }

    void requestRepaint(const QRect &rect) override
    {
        ++repaints;
        if (journal_) // building the entry allocates, which a move must not
            journal_->add("repaint " + std::to_string(rect.x()) + "," + std::to_string(rect.y()) +
                          " " + std::to_string(rect.width()) + "x" + std::to_string(rect.height()));
    }

    void setFieldText(int fieldId, std::string_view text) override
    {
        fieldTexts.at(std::size_t(fieldId - FIELD_RED)).assign(text);
        ++fieldSets;
        if (journal_)
            journal_->add("field " + std::to_string(fieldId) + " " + std::string(text));
    }

    const std::string &field(int fieldId) const
    {
        return fieldTexts.at(std::size_t(fieldId - FIELD_RED));
    }

    QRect part{0, 0, CAPTURE_SIZE, CAPTURE_SIZE};
    int repaints = 0;
    std::array<std::string, 6> fieldTexts;
    int fieldSets = 0;

private:
    CallJournal *journal_;
};

// A 400 x 300 screen at (0, 0) whose pixels all differ; its corner is orange.
QImage ScreenImage()
{
    QImage image(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x >> 8) * 16 + (y >> 8) + 1));
    }
    image.setPixel(0, 0, qRgb(255, 128, 0));
    return image;
}

QPointF ClientPointFor(QPoint screenPoint)
{
    return QPointF(screenPoint - CLIENT_ORIGIN);
}

QImage ButtonFaceSquare()
{
    QImage image(CAPTURE_SIZE, CAPTURE_SIZE, QImage::Format_RGB32);
    image.fill(BUTTON_FACE);
    return image;
}

// One sampler with its fakes, all sharing a journal.
struct Rig {
    explicit Rig(QImage screenImage = ScreenImage(), QPoint screenOrigin = {})
        : view(&journal), screen(std::move(screenImage), screenOrigin, &journal), pointer(&journal),
          sampler(view, screen, pointer, QCursor(Qt::CrossCursor), QColor::fromRgb(BUTTON_FACE))
    {
    }

    void forgetCalls()
    {
        journal.entries.clear();
        screen.clearCalls();
        view.repaints = 0;
    }

    CallJournal journal;
    FakeView view;
    FakeScreenSource screen;
    FakePointerService pointer;
    DragSampler sampler;
};

} // namespace

class TestDragSampler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // ColorArea is (318, 20) 88 x 49, ZoomArea (2, 3) 86 x 90; left and top
    // edges are inside, right and bottom edges outside.
    void pressOutsideBothAreasDoesNothing_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::newRow("between the areas") << QPointF(200, 40);
        QTest::newRow("left of ColorArea") << QPointF(317.9, 40);
        QTest::newRow("above ColorArea") << QPointF(350, 19.5);
        QTest::newRow("ColorArea's right edge") << QPointF(406, 40);
        QTest::newRow("ColorArea's bottom edge") << QPointF(350, 69);
        QTest::newRow("ZoomArea's right edge") << QPointF(88, 50);
        QTest::newRow("far outside") << QPointF(-1e9, 1e9);
    }
    void pressOutsideBothAreasDoesNothing()
    {
        QFETCH(QPointF, point);
        Rig rig;
        rig.sampler.OnPointerDown(point);
        rig.sampler.OnPointerMove(point);
        QVERIFY(!rig.sampler.Dragging());
        QVERIFY(rig.journal.entries.empty());
        QCOMPARE(rig.sampler.CaptureBuffer(), ButtonFaceSquare());
    }

    void pressInsideThenReleaseChangesNothing_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::newRow("ColorArea's top-left corner") << QPointF(318, 20);
        QTest::newRow("ColorArea's last pixel") << QPointF(405.9, 68.9);
        QTest::newRow("ZoomArea's top-left corner") << QPointF(2, 3);
        QTest::newRow("ZoomArea's last pixel") << QPointF(87, 92);
    }
    void pressInsideThenReleaseChangesNothing()
    {
        QFETCH(QPointF, point);
        Rig rig;
        rig.pointer.shown = QCursor(Qt::IBeamCursor);

        rig.sampler.OnPointerDown(point);
        QVERIFY(rig.sampler.Dragging());
        QVERIFY(rig.pointer.captured);
        QCOMPARE(rig.pointer.shown, PointerCursor(QCursor(Qt::CrossCursor)));
        // No sample is taken at the press.
        QCOMPARE(rig.journal.entries, (Calls{"captureMouse", "setCursor"}));

        rig.sampler.OnPointerUp(point);
        QVERIFY(!rig.sampler.Dragging());
        QVERIFY(!rig.pointer.captured);
        QCOMPARE(rig.pointer.shown, PointerCursor(QCursor(Qt::IBeamCursor)));
        QCOMPARE(rig.journal.entries,
                 (Calls{"captureMouse", "setCursor", "releaseMouse", "setCursor"}));
        QCOMPARE(rig.sampler.CurrentColor(), MakeColorRef(0xD4, 0xD0, 0xC8));
        QCOMPARE(rig.sampler.CaptureBuffer(), ButtonFaceSquare());
    }

    void moveSamplesInOrder()
    {
        Rig rig;
        rig.sampler.OnPointerDown({350, 40});
        rig.forgetCalls();
        rig.sampler.OnPointerMove(ClientPointFor({0, 0}));

        // One read of the screen: the capture, whose centre is the sample.
        const Calls expected{
            "copyRect",
            "repaint 321,23 82x43", // ColorArea shrunk by 3 on every side
            "repaint 5,6 80x84",    // and so is ZoomArea
            "field 1001 255",
            "field 1002 128",
            "field 1003 0",
            "field 1004 #ff8000",
            "field 1006 ff8000",
            "field 1005 color rgb <1.000000, 0.501961, 0.000000>",
        };
        QCOMPARE(rig.journal.entries, expected);
        QCOMPARE(rig.sampler.CurrentColor(), MakeColorRef(255, 128, 0));
        const auto &calls = rig.screen.calls();
        QCOMPARE(calls[0].point, QPoint(-CAPTURE_CENTER, -CAPTURE_CENTER));
        QCOMPARE(calls[0].size, QSize(CAPTURE_SIZE, CAPTURE_SIZE));
    }

    // A grab that fails supplies nothing; the pixel is then read on its own,
    // after the capture and before anything is shown.
    void pixelIsReadAloneWhenTheCopyMissesIt()
    {
        Rig rig;
        rig.screen.failCopies = true;
        rig.sampler.OnPointerDown({350, 40});
        rig.forgetCalls();
        rig.sampler.OnPointerMove(ClientPointFor({20, 30}));

        const Calls expected{"copyRect",
                             "pixelAt",
                             "repaint 321,23 82x43",
                             "repaint 5,6 80x84",
                             "field 1001 20",
                             "field 1002 30",
                             "field 1003 1",
                             "field 1004 #141e01",
                             "field 1006 141e01",
                             "field 1005 color rgb <0.078431, 0.117647, 0.003922>"};
        QCOMPARE(rig.journal.entries, expected);
        QCOMPARE(rig.screen.calls().at(1).point, QPoint(20, 30));
        QCOMPARE(rig.sampler.CaptureBuffer(), ButtonFaceSquare());
    }

    void onlyChangedFieldsAreSet()
    {
        Rig rig;
        rig.sampler.OnPointerDown({350, 40});
        rig.sampler.OnPointerMove(ClientPointFor({10, 20}));
        QCOMPARE(rig.view.fieldSets, 6);

        // Same red and blue, another green.
        rig.forgetCalls();
        rig.sampler.OnPointerMove(ClientPointFor({10, 30}));
        const Calls changed{
            "copyRect",
            "repaint 321,23 82x43",
            "repaint 5,6 80x84",
            "field 1002 30",
            "field 1004 #0a1e01",
            "field 1006 0a1e01",
            "field 1005 color rgb <0.039216, 0.117647, 0.003922>",
        };
        QCOMPARE(rig.journal.entries, changed);

        // The same colour again: captured and repainted, no field set.
        rig.forgetCalls();
        rig.sampler.OnPointerMove(ClientPointFor({10, 30}) + QPointF(0.4, 0.4));
        QCOMPARE(rig.journal.entries,
                 (Calls{"copyRect", "repaint 321,23 82x43", "repaint 5,6 80x84"}));

        // A later drag goes on from what the fields show.
        rig.sampler.OnPointerUp({0, 0});
        rig.sampler.OnPointerDown({350, 40});
        rig.forgetCalls();
        rig.sampler.OnPointerMove(ClientPointFor({11, 30}));
        QCOMPARE(rig.journal.entries.at(3), std::string("field 1001 11"));
        QCOMPARE(rig.journal.entries.size(), std::size_t(7));
    }

    // At screen corner (0, 0) the corner pixel lands at the buffer's centre
    // and the rest of its top-left shows the button face, also where the move
    // before had filled the whole buffer from the screen.
    void captureAtTheScreenCorner()
    {
        Rig rig;
        const QImage screen = ScreenImage();
        rig.sampler.OnPointerDown({40, 40});
        rig.sampler.OnPointerMove(ClientPointFor({200, 150}));
        QCOMPARE(rig.sampler.CaptureBuffer().pixel(0, 0), screen.pixel(100, 50));
        rig.sampler.OnPointerMove(ClientPointFor({0, 0}));

        QImage expected = ButtonFaceSquare();
        for (int y = CAPTURE_CENTER; y < CAPTURE_SIZE; ++y) {
            for (int x = CAPTURE_CENTER; x < CAPTURE_SIZE; ++x)
                expected.setPixel(x, y, screen.pixel(x - CAPTURE_CENTER, y - CAPTURE_CENTER));
        }
        QCOMPARE(rig.sampler.CaptureBuffer(), expected);
    }

    // A move reads only the part of the capture the magnifier shows; outside
    // it the button face stays, also where a smaller part was read before.
    void moveReadsOnlyTheMagnifiedPart()
    {
        const auto expected = [](QPoint at, const QRect &part) {
            QImage image = ButtonFaceSquare();
            const QImage screen = ScreenImage();
            const QPoint corner = at - QPoint(CAPTURE_CENTER, CAPTURE_CENTER);
            for (int y = part.top(); y <= part.bottom(); ++y) {
                for (int x = part.left(); x <= part.right(); ++x) {
                    if (screen.rect().contains(corner + QPoint(x, y)))
                        image.setPixel(x, y, screen.pixel(corner + QPoint(x, y)));
                }
            }
            return image;
        };
        Rig rig;
        rig.view.part = QRect(CAPTURE_CENTER - 10, CAPTURE_CENTER - 5, 21, 11);
        rig.sampler.OnPointerDown({40, 40});
        rig.forgetCalls();
        rig.sampler.OnPointerMove(ClientPointFor({200, 150}));

        const auto &calls = rig.screen.calls();
        QCOMPARE(calls.size(), std::size_t(1));
        QCOMPARE(calls[0].point, QPoint(190, 145));
        QCOMPARE(calls[0].size, QSize(21, 11));
        QCOMPARE(rig.sampler.CurrentColor(), MakeColorRef(200, 150, 1));
        QCOMPARE(rig.sampler.CaptureBuffer(), expected({200, 150}, rig.view.part));

        rig.view.part = rig.view.part.adjusted(-20, -20, 20, 20);
        rig.sampler.OnPointerMove(ClientPointFor({0, 0}));
        QCOMPARE(rig.sampler.CaptureBuffer(), expected({0, 0}, rig.view.part));
    }

    void releaseWithoutDragLeavesTheCursorAlone()
    {
        Rig rig;
        rig.pointer.shown = QCursor(Qt::IBeamCursor);
        rig.sampler.OnPointerUp({40, 40});
        QCOMPARE(rig.pointer.setCursorCalls, 0);
        QCOMPARE(rig.pointer.shown, PointerCursor(QCursor(Qt::IBeamCursor)));
    }

    void dragWhoseCaptureWasTakenKeepsSampling()
    {
        Rig rig;
        rig.sampler.OnPointerDown({40, 40});
        rig.pointer.loseCapture();

        rig.sampler.OnPointerMove(ClientPointFor({10, 10}));
        rig.sampler.OnPointerMove(ClientPointFor({20, 20}));
        QVERIFY(rig.sampler.Dragging());
        QCOMPARE(rig.sampler.CurrentColor(), MakeColorRef(20, 20, 1));
        QCOMPARE(rig.view.repaints, 4);

        rig.sampler.OnPointerUp({40, 40});
        rig.forgetCalls();
        rig.sampler.OnPointerMove(ClientPointFor({30, 30}));
        QVERIFY(rig.journal.entries.empty());
    }

    // The release of the first drag went elsewhere; the second press must not
    // take the sampling cursor for the one to restore.
    void pressDuringADragKeepsTheOriginalCursor()
    {
        Rig rig;
        rig.sampler.OnPointerDown({40, 40});
        rig.sampler.OnPointerDown({350, 40});
        QVERIFY(rig.pointer.captured);
        rig.sampler.OnPointerUp({350, 40});
        QCOMPARE(rig.pointer.shown, PointerCursor());

        // A later release without a drag puts back the same cursor again.
        rig.pointer.shown = QCursor(Qt::IBeamCursor);
        rig.sampler.OnPointerUp({0, 0});
        QCOMPARE(rig.pointer.shown, PointerCursor());
    }

    // Off every screen, up to the limits of int and beyond: all bits set
    // (white), a buffer of button face only, nothing overflowing.
    void offEveryScreenReadsUnreadable_data()
    {
        QTest::addColumn<QPointF>("clientPoint");
        QTest::newRow("beside the screen") << ClientPointFor({-500, 1000});
        QTest::newRow("largest int") << QPointF(INT_MAX, INT_MAX);
        QTest::newRow("smallest int") << QPointF(INT_MIN, INT_MIN);
        QTest::newRow("mixed") << QPointF(INT_MAX - 50, INT_MIN + 50);
        QTest::newRow("beyond int") << QPointF(1e15, -1e15);
        QTest::newRow("screen point at the smallest int")
            << QPointF(double(INT_MIN) - CLIENT_ORIGIN.x(), double(INT_MIN) - CLIENT_ORIGIN.y());
    }
    void offEveryScreenReadsUnreadable()
    {
        QFETCH(QPointF, clientPoint);
        Rig rig;
        rig.sampler.OnPointerDown({40, 40});
        rig.sampler.OnPointerMove(ClientPointFor({200, 150}));
        rig.sampler.OnPointerMove(clientPoint);
        QCOMPARE(rig.sampler.CurrentColor(), UNREADABLE_PIXEL);
        QCOMPARE(rig.sampler.CaptureBuffer(), ButtonFaceSquare());
        QCOMPARE(rig.view.field(FIELD_HASH_HEX), std::string("#ffffff"));
        QCOMPARE(rig.view.field(FIELD_POVRAY),
                 std::string("color rgb <1.000000, 1.000000, 1.000000>"));
    }

    // A screen whose last pixel is (INT_MAX, INT_MAX): the capture around it
    // must line up without the corner arithmetic overflowing.
    void screenEndingAtTheLargestInt()
    {
        const QImage image = ScreenImage();
        Rig rig(image, QPoint(INT_MAX - 399, INT_MAX - 299));
        rig.sampler.OnPointerDown({40, 40});
        rig.sampler.OnPointerMove(ClientPointFor({0, 0}) + QPointF(INT_MAX, INT_MAX));

        const QImage &buffer = rig.sampler.CaptureBuffer();
        QCOMPARE(rig.sampler.CurrentColor(), MakeColorRef(399 & 0xFF, 299 & 0xFF, 1 * 16 + 1 + 1));
        QCOMPARE(buffer.pixel(0, 0), image.pixel(299, 199));
        QCOMPARE(buffer.pixel(CAPTURE_CENTER + 1, CAPTURE_CENTER), BUTTON_FACE);
        QCOMPARE(buffer.pixel(CAPTURE_SIZE - 1, CAPTURE_SIZE - 1), BUTTON_FACE);
    }

    void moveAllocatesNothing()
    {
        FakeView view;
        FakeScreenSource screen(ScreenImage());
        screen.reserveCalls(4);
        FakePointerService pointer;
        DragSampler sampler(view, screen, pointer, QCursor(Qt::CrossCursor),
                            QColor::fromRgb(BUTTON_FACE));
        sampler.OnPointerDown({40, 40});
        // The first move lays an image over the part of the capture it reads.
        sampler.OnPointerMove(ClientPointFor({5, 5}));
        const uchar *pixels = sampler.CaptureBuffer().constBits();

        const QPointF points[] = {ClientPointFor({0, 0}), ClientPointFor({200, 150}),
                                  QPointF(INT_MAX, INT_MIN), QPointF(-1e300, 1e300)};
        int allocations = 0;
        for (const QPointF point : points) {
            screen.clearCalls();
            StartCountingAllocations();
            sampler.OnPointerMove(point);
            allocations += StopCountingAllocations();
        }
        QCOMPARE(allocations, 0);
        QCOMPARE(sampler.CaptureBuffer().constBits(), pixels);
        // The last two moves both read nothing and show the same texts.
        QCOMPARE(view.fieldSets, 24);
    }
};

QTEST_MAIN(TestDragSampler)
#include "test_drag_sampler.moc"
