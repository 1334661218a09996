// How long one RefreshCapture takes against the real X server, with the
// screen reading the program uses. Run it on a display, e.g. under
// scripts/with-xvfb.sh; without one it says so and succeeds.
#include "platform/qt_screen_source.h"
#include "sampling/drag_sampler.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{

class NoView : public SamplerView
{
public:
    QRect colorAreaRect() const override { return {0, 0, 10, 10}; }
    QRect zoomAreaRect() const override { return {20, 0, 10, 10}; }
    QRect magnifiedPart() const override { return {0, 0, CAPTURE_SIZE, CAPTURE_SIZE}; }
    QPoint clientToScreen(QPointF point) const override { return point.toPoint(); }
    void requestRepaint(const QRect &) override {}
    void setFieldText(int, std::string_view) override {}
};

class NoPointer : public PointerService
{
public:
    void captureMouse() override {}
    void releaseMouse() override {}
    PointerCursor setCursor(const PointerCursor &) override { return {}; }
};

using Clock = std::chrono::steady_clock;

template <typename Step> void Measure(const char *name, int count, Step step)
{
    std::vector<double> micros;
    micros.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        step(i);
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(micros.begin(), micros.end());
    double total = 0;
    for (double m : micros)
        total += m;
    std::printf("  %-40s min %7.1f us, median %7.1f us, p95 %7.1f us, mean %7.1f us\n", name,
                micros.front(), micros[micros.size() / 2], micros[micros.size() * 95 / 100],
                total / double(micros.size()));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("bench_refresh_capture: skipped, no X display (try scripts/with-xvfb.sh -- ...)");
        return 0;
    }
    QGuiApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::printf("bench_refresh_capture: skipped, platform is %s, not xcb\n",
                    qPrintable(QGuiApplication::platformName()));
        return 0;
    }

    QtScreenSource screen;
    NoView view;
    NoPointer pointer;
    DragSampler sampler(view, screen, pointer, QCursor(Qt::CrossCursor), QColor(Qt::lightGray));

    std::printf("RefreshCapture (%dx%d) with QtScreenSource\n", CAPTURE_SIZE, CAPTURE_SIZE);
    for (const QScreen *s : QGuiApplication::screens()) {
        const QRect native = NativeGeometry({s->geometry(), s->devicePixelRatio(), {}});
        std::printf("  screen %s: logical %dx%d at %d,%d, ratio %.2f, native %dx%d\n",
                    qPrintable(s->name()), s->geometry().width(), s->geometry().height(),
                    s->geometry().x(), s->geometry().y(), s->devicePixelRatio(), native.width(),
                    native.height());
    }

    const QRect native = NativeGeometry(CurrentScreenInfos().front());
    const QPoint middle = native.center();
    constexpr int COUNT = 1000;
    // Warm up the grab path once before timing it.
    sampler.RefreshCapture(middle);
    Measure("inside one screen", COUNT,
            [&](int i) { sampler.RefreshCapture(middle + QPoint(i % 50, i % 30)); });
    Measure("over the top-left corner", COUNT,
            [&](int i) { sampler.RefreshCapture(native.topLeft() + QPoint(i % 20, i % 20)); });
    Measure("off every screen", COUNT,
            [&](int i) { sampler.RefreshCapture(QPoint(-100000 - i, -100000)); });
    Measure("pixelAt alone", COUNT, [&](int i) { screen.pixelAt(middle + QPoint(i % 50, 0)); });
    sampler.OnPointerDown({1, 1});
    Measure("whole OnPointerMove (no window)", COUNT,
            [&](int i) { sampler.OnPointerMove(QPointF(middle + QPoint(i % 50, i % 30))); });
    return 0;
}
