// A drag over a real X server, read through the source the program chooses,
// takes no heap memory per move of its own: not in the sampler, not in the
// screen source, not in Qt. Every malloc of the process counts, not only
// operator new. The X library allocates for each reply it receives, so a move
// may allocate exactly what one round trip to the server does, and a move
// that needs no read of the server nothing at all.
#include "fakes/allocation_counter.h"
#include "fakes/fake_pointer_service.h"
#include "platform/pointer_position.h"
#include "platform/qt_screen_source.h"
#include "platform/screen_sources.h"
#include "sampling/drag_sampler.h"

#include <QtTest>

#include <X11/Xlib.h>

namespace
{

// A window that keeps nothing: only the sampler and the source are measured.
class QuietView : public SamplerView
{
public:
    QRect colorAreaRect() const override { return {0, 0, 10, 10}; }
    QRect zoomAreaRect() const override { return {20, 0, 10, 10}; }
    QRect magnifiedPart() const override { return {0, 0, CAPTURE_SIZE, CAPTURE_SIZE}; }
    QPoint clientToScreen(QPointF point) const override { return point.toPoint(); }
    void requestRepaint(const QRect &) override {}
    void setFieldText(int, std::string_view) override { ++fieldSets; }

    int fieldSets = 0;
};

// What the X library allocates for one request and its reply.
int AllocationsPerRoundTrip()
{
    constexpr int TRIPS = 50;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return -1;
    XSync(display, False);
    StartCountingAllocations();
    for (int i = 0; i < TRIPS; ++i)
        XSync(display, False);
    const int perRoundTrip = StopCountingAllocations() / TRIPS;
    XCloseDisplay(display);
    return perRoundTrip;
}

} // namespace

class TestX11MoveAllocations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void movesAllocateNothingOfTheirOwn_data();
    void movesAllocateNothingOfTheirOwn();
    // On a scaled screen a move also asks the server where the pointer is.
    void pointerQueryAllocatesOnlyItsRoundTrip();
};

void TestX11MoveAllocations::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server");
    if (!MallocIsCounted())
        QSKIP("malloc cannot be counted in this build");
}

void TestX11MoveAllocations::movesAllocateNothingOfTheirOwn_data()
{
    // The root is 1280 x 800.
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPoint>("step");
    QTest::addColumn<int>("roundTrips"); // per move
    QTest::newRow("inside the screen") << QPoint(300, 300) << QPoint(3, 2) << 1;
    QTest::newRow("over the top-left corner") << QPoint(-50, -40) << QPoint(1, 1) << 1;
    QTest::newRow("over the bottom-right corner") << QPoint(1200, 720) << QPoint(2, 2) << 1;
    QTest::newRow("off the screen") << QPoint(-3000, 100) << QPoint(-5, 0) << 0;
}

void TestX11MoveAllocations::movesAllocateNothingOfTheirOwn()
{
    QFETCH(QPoint, start);
    QFETCH(QPoint, step);
    QFETCH(int, roundTrips);
    constexpr int MOVES = 50;

    const int perRoundTrip = AllocationsPerRoundTrip();
    QVERIFY(perRoundTrip >= 0);

    const std::unique_ptr<ScreenSource> screen = CreateScreenSource();
    // The X11 source, not Qt's grabs, which allocate a pixmap for each.
    QVERIFY(dynamic_cast<QtScreenSource *>(screen.get()) == nullptr);
    QuietView view;
    FakePointerService pointer;
    DragSampler sampler(view, *screen, pointer, QCursor(Qt::CrossCursor), QColor(Qt::lightGray));
    sampler.OnPointerDown({1, 1});
    // The first move sets the source up (its screens, its shared image).
    sampler.OnPointerMove(QPointF(start));

    StartCountingAllocations();
    for (int i = 1; i <= MOVES; ++i)
        sampler.OnPointerMove(QPointF(start + step * i));
    QCOMPARE(StopCountingAllocations(), MOVES * roundTrips * perRoundTrip);
    QVERIFY(sampler.Dragging());
    QVERIFY(view.fieldSets >= 6);
}

void TestX11MoveAllocations::pointerQueryAllocatesOnlyItsRoundTrip()
{
    constexpr int QUERIES = 50;
    const int perRoundTrip = AllocationsPerRoundTrip();
    QVERIFY(perRoundTrip >= 0);

    const std::unique_ptr<PointerPosition> pointer = CreatePointerPosition();
    QVERIFY(pointer->physicalPosition());
    StartCountingAllocations();
    int known = 0;
    for (int i = 0; i < QUERIES; ++i)
        known += pointer->physicalPosition() ? 1 : 0;
    QCOMPARE(StopCountingAllocations(), QUERIES * perRoundTrip);
    QCOMPARE(known, QUERIES);
}

QTEST_MAIN(TestX11MoveAllocations)
#include "test_x11_move_allocations.moc"
