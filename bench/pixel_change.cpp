// pixel_change WINDOW X Y [LIMIT_MS]
// Reads the pixel at (X, Y) of the X window WINDOW, prints "ready", and then,
// once the first line arrives on standard input (the caller's signal that it
// acted), prints the milliseconds from that line until the pixel shows
// another colour, polled every 0.2 ms; "-1" after LIMIT_MS (default 5000).
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace
{

double nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

unsigned long pixelAt(Display *display, Window window, int x, int y)
{
    XImage *image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    const unsigned long pixel = image ? XGetPixel(image, 0, 0) : ~0ul;
    if (image)
        XDestroyImage(image);
    return pixel;
}

} // namespace

int main(int argc, char **argv)
{
    Display *display = argc >= 4 ? XOpenDisplay(nullptr) : nullptr;
    if (!display) {
        std::fprintf(stderr, "usage: pixel_change WINDOW X Y [LIMIT_MS], on an X display\n");
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
    const double limit = argc > 4 ? std::atof(argv[4]) : 5000;
    const unsigned long before = pixelAt(display, window, x, y);
    std::printf("ready\n");
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 1;
    const double start = nowMs();
    for (double now = start; now - start < limit; now = nowMs()) {
        if (pixelAt(display, window, x, y) != before) {
            std::printf("%.1f\n", now - start);
            return 0;
        }
        timespec pause{0, 200000};
        nanosleep(&pause, nullptr);
    }
    std::printf("-1\n");
}
