// Cost of one 201x201 read of the X11 root window, through a shared-memory
// segment and through plain GetImage requests. Prints figures; skips with
// status 0 where there is no X display.
//
//   scripts/with-xvfb.sh -- build/default/bench/bench_x11_grab [reads]

#include "platform/x11_screen_source.h"

#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace
{

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Figures {
    double medianMs;
    double meanMs;
    double p95Ms;
    double cpuMs; // this process only; the server's share is not counted
};

Figures measure(X11ScreenSource &source, int reads)
{
    QImage capture(201, 201, QImage::Format_RGB32);
    const QPoint topLeft(540, 300);
    for (int i = 0; i < 100; ++i) // warm the server and the caches
        source.copyRect(topLeft, capture);

    std::vector<double> times;
    times.reserve(std::size_t(reads));
    const double cpuBefore = processCpuMs();
    for (int i = 0; i < reads; ++i) {
        const auto start = std::chrono::steady_clock::now();
        source.copyRect(topLeft, capture);
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    const double cpu = (processCpuMs() - cpuBefore) / reads;
    double sum = 0;
    for (double t : times)
        sum += t;
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], sum / reads, times[times.size() * 95 / 100], cpu};
}

} // namespace

int main(int argc, char **argv)
{
    const int reads = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    if (!std::getenv("DISPLAY")) {
        std::puts("bench_x11_grab: skipped, no X display (run it under scripts/with-xvfb.sh)");
        return 0;
    }
    auto shared = X11ScreenSource::open(nullptr, X11ScreenSource::Transfer::SharedMemory);
    auto requested = X11ScreenSource::open(nullptr, X11ScreenSource::Transfer::Request);
    if (!shared || !requested) {
        std::puts("bench_x11_grab: skipped, the display cannot be opened or is not TrueColor");
        return 0;
    }
    if (!shared->usesSharedMemory())
        std::puts("bench_x11_grab: the server shares no memory; both rows use GetImage");

    std::printf("201x201 copyRect, %d reads each (ms per read)\n", reads);
    std::printf("%-14s %8s %8s %8s %12s\n", "transfer", "median", "mean", "p95", "client CPU");
    const struct {
        const char *name;
        X11ScreenSource &source;
    } rows[] = {{"XShmGetImage", *shared}, {"XGetImage", *requested}};
    double medians[2] = {};
    for (int i = 0; i < 2; ++i) {
        const Figures f = measure(rows[i].source, reads);
        medians[i] = f.medianMs;
        std::printf("%-14s %8.4f %8.4f %8.4f %12.4f\n", rows[i].name, f.medianMs, f.meanMs, f.p95Ms,
                    f.cpuMs);
    }
    std::printf("XGetImage / XShmGetImage (median): %.2f\n", medians[1] / medians[0]);
    return 0;
}
