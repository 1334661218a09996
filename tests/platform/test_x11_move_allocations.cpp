// A drag over a real X server, read through the source the program chooses,
// takes no heap memory per move of its own: not in the sampler, not in the
// screen source, not in Qt. Every malloc of the process counts, not only
// operator new. The X library allocates for each reply it receives, so a move
// may allocate exactly what one round trip to the server does, and a move
// that needs no read of the server nothing at all.
#include "platform/qt_screen_source.h"
#include "platform/screen_sources.h"
#include "sampling/drag_sampler.h"

#include <QtTest>

#include <X11/Xlib.h>

#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define COUNTS_MALLOC 1
#endif

namespace
{
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};

void Count()
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

#ifdef COUNTS_MALLOC
// glibc's own entry points, under the names it exports for programs that
// wrap its allocator. free and the aligned allocators stay glibc's: they work
// on the same heap.
extern "C" void *__libc_malloc(std::size_t size);
extern "C" void *__libc_calloc(std::size_t count, std::size_t size);
extern "C" void *__libc_realloc(void *block, std::size_t size);

extern "C" void *malloc(std::size_t size)
{
    Count();
    return __libc_malloc(size);
}

extern "C" void *calloc(std::size_t count, std::size_t size)
{
    Count();
    return __libc_calloc(count, size);
}

extern "C" void *realloc(void *block, std::size_t size)
{
    Count();
    return __libc_realloc(block, size);
}
#endif

// operator new may not go through malloc (it does not with a sanitizer), so
// it counts on its own; with malloc counted too, one allocation may count
// twice, which makes no difference to a count that must stay at zero.
void *operator new(std::size_t size)
{
    Count();
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void *p) noexcept
{
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

namespace
{

// A window that keeps nothing: only the sampler and the source are measured.
class QuietView : public SamplerView
{
public:
    QRect colorAreaRect() const override { return {0, 0, 10, 10}; }
    QRect zoomAreaRect() const override { return {20, 0, 10, 10}; }
    QPoint clientToScreen(QPointF point) const override { return point.toPoint(); }
    void requestRepaint(const QRect &) override {}
    void setFieldText(int, std::string_view) override { ++fieldSets; }

    int fieldSets = 0;
};

class QuietPointer : public PointerService
{
public:
    void captureMouse() override {}
    void releaseMouse() override {}
    PointerCursor setCursor(const PointerCursor &) override { return {}; }
};

} // namespace

class TestX11MoveAllocations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void movesAllocateNothingOfTheirOwn_data();
    void movesAllocateNothingOfTheirOwn();
};

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
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server");
#ifndef COUNTS_MALLOC
    QSKIP("malloc cannot be counted in this build");
#endif
    constexpr int MOVES = 50;

    // What the X library allocates for one request and its reply.
    Display *display = XOpenDisplay(nullptr);
    QVERIFY(display);
    XSync(display, False);
    allocations = 0;
    counting = true;
    for (int i = 0; i < MOVES; ++i)
        XSync(display, False);
    counting = false;
    const int perRoundTrip = allocations / MOVES;
    XCloseDisplay(display);

    const std::unique_ptr<ScreenSource> screen = CreateScreenSource();
    // The X11 source, not Qt's grabs, which allocate a pixmap for each.
    QVERIFY(dynamic_cast<QtScreenSource *>(screen.get()) == nullptr);
    QuietView view;
    QuietPointer pointer;
    DragSampler sampler(view, *screen, pointer, QCursor(Qt::CrossCursor), QColor(Qt::lightGray));
    sampler.OnPointerDown({1, 1});
    // The first move sets the source up (its screens, its shared image).
    sampler.OnPointerMove(QPointF(start));

    allocations = 0;
    counting = true;
    for (int i = 1; i <= MOVES; ++i)
        sampler.OnPointerMove(QPointF(start + step * i));
    counting = false;
    QCOMPARE(allocations.load(), MOVES * roundTrips * perRoundTrip);
    QVERIFY(sampler.Dragging());
    QVERIFY(view.fieldSets >= 6);
}

QTEST_MAIN(TestX11MoveAllocations)
#include "test_x11_move_allocations.moc"
