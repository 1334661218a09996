// The per-move path of a sampling drag against the real X server: a
// DragSampler over the screen source the program chooses (CreateScreenSource),
// with a window that does nothing, driven through N pointer moves. Prints the
// wall and CPU time per move; under callgrind, count only the moves:
//
//   scripts/with-xvfb.sh -- sh -c 'build/default/tests/desktop/tools/paint_root --pattern &&
//     valgrind --tool=callgrind --collect-atstart=no
//       --toggle-collect="DragSampler::OnPointerMove(QPointF)"
//       build/default/bench/bench_pointer_moves 2000'
//
// and divide the total "Collected" instructions by the moves. Without a
// display it says so and succeeds.
#include "platform/screen_sources.h"
#include "sampling/drag_sampler.h"

#ifdef TINTGRABBER_HAVE_X11SHM
#include "platform/x11_screen_source.h"
#endif

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace
{

// The window as the sampler sees it, doing no work of its own so that only
// the sampler and the screen read are measured. Its client area sits at the
// screen's origin.
class NoWindow : public SamplerView
{
public:
    QRect colorAreaRect() const override { return {0, 0, 10, 10}; }
    QRect zoomAreaRect() const override { return {20, 0, 10, 10}; }
    QRect magnifiedPart() const override { return {0, 0, CAPTURE_SIZE, CAPTURE_SIZE}; }
    QPoint clientToScreen(QPointF point) const override { return point.toPoint(); }
    void requestRepaint(const QRect &) override {}
    void setFieldText(int, std::string_view text) override { textBytes += text.size(); }

    std::size_t textBytes = 0;
};

class NoPointer : public PointerService
{
public:
    void captureMouse() override {}
    void releaseMouse() override {}
    PointerCursor setCursor(const PointerCursor &) override { return {}; }
};

double Ms(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The same path the whole-program benchmark drives: steps of 3 and 2 pixels,
// wrapping inside an 800 x 500 box, so every move lands on a new colour.
QPointF PathPoint(int i)
{
    return QPointF(200 + (i * 3) % 800, 150 + (i * 2) % 500);
}

const char *SourceName(ScreenSource &screen)
{
#ifdef TINTGRABBER_HAVE_X11SHM
    if (auto *x11 = dynamic_cast<X11ScreenSource *>(&screen))
        return x11->usesSharedMemory() ? "X11ScreenSource (shared memory)"
                                       : "X11ScreenSource (GetImage requests)";
#endif
    (void)screen;
    return "QtScreenSource";
}

} // namespace

int main(int argc, char **argv)
{
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("bench_pointer_moves: skipped, no X display (try scripts/with-xvfb.sh -- ...)");
        return 0;
    }
    QGuiApplication app(argc, argv);
    const std::unique_ptr<ScreenSource> screen = CreateScreenSource();
    NoWindow window;
    NoPointer pointer;
    DragSampler sampler(window, *screen, pointer, QCursor(Qt::CrossCursor), QColor(Qt::lightGray));

    sampler.OnPointerDown({1, 1});
    // One move before timing, so the first read's set-up is not counted.
    sampler.OnPointerMove(PathPoint(moves));

    const double wallStart = Ms(CLOCK_MONOTONIC);
    const double cpuStart = Ms(CLOCK_PROCESS_CPUTIME_ID);
    for (int i = 0; i < moves; ++i)
        sampler.OnPointerMove(PathPoint(i));
    const double cpu = Ms(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
    const double wall = Ms(CLOCK_MONOTONIC) - wallStart;
    sampler.OnPointerUp({1, 1});

    std::printf("bench_pointer_moves: %d moves through %s on %s\n", moves, SourceName(*screen),
                qPrintable(QGuiApplication::platformName()));
    std::printf("  per move: wall %.4f ms, this process's CPU %.4f ms (the X server's not "
                "counted)\n",
                wall / moves, cpu / moves);
    std::printf("  last colour 0x%06x, %zu text bytes set\n", unsigned(sampler.CurrentColor()),
                window.textBytes);
    return 0;
}
