// swatch_latency X Y W H [MOVES [GAP_MS]]
// How long after a pointer move a program's colour swatch shows the colour of
// the pixel now under the pointer. X Y W H is the program's window on screen;
// the root must show paint_root's pattern. The caller sets the program to
// sample (a held button, an active window) before starting this.
//
// The swatch is found from a screenshot: after a first move, the pixel of
// the window at the middle of the largest square in the colour under the
// pointer. Text, magnified pixels and an icon drawn on the swatch make smaller
// squares. Each move (MOVES, default 300) goes to a new point outside the
// window whose colour differs from the last; the time runs from just before
// the move is sent until a 1x1 read of that pixel shows the new colour, and
// gives up after 500 ms. GAP_MS (default 20) passes between moves so that each
// is measured alone. Prints "P50 P99 MAX MISSED PROBE_X PROBE_Y" in ms, a
// missed move counted as 500.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace
{

constexpr double LimitMs = 500;

double nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

unsigned long patternAt(int x, int y)
{
    const unsigned blue = ((x >> 8) * 37 + (y >> 8) * 101 + 3 * x + 5 * y) % 256;
    return (unsigned long)(x % 256) << 16 | (unsigned long)(y % 256) << 8 | blue;
}

// Only the 24 colour bits: the depth-24 TrueColor visual of Xvfb.
unsigned long pixelAt(Display *display, int x, int y)
{
    XImage *image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return ~0UL;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xffffff;
    XDestroyImage(image);
    return pixel;
}

struct Point {
    int x, y;
};

// The middle of the largest square of pixels in colour within the window;
// its side is 0 when the colour is nowhere.
Point findSwatch(Display *display, int x0, int y0, int w, int h, unsigned long colour, int &side)
{
    XImage *image = XGetImage(display, DefaultRootWindow(display), x0, y0, unsigned(w), unsigned(h),
                              AllPlanes, ZPixmap);
    Point best{0, 0};
    side = 0;
    if (!image)
        return best;
    // The side of the largest such square ending at each pixel, row by row.
    std::vector<int> above(std::size_t(w) + 1, 0), here(std::size_t(w) + 1, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool in = (XGetPixel(image, x, y) & 0xffffff) == colour;
            here[x + 1] = in ? 1 + std::min({above[x], above[x + 1], here[x]}) : 0;
            if (here[x + 1] > side) {
                side = here[x + 1];
                best = {x0 + x - side / 2, y0 + y - side / 2};
            }
        }
        std::swap(above, here);
    }
    XDestroyImage(image);
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 5 || (argc > 5 && std::atoi(argv[5]) < 1)) {
        std::fprintf(stderr, "usage: swatch_latency X Y W H [MOVES [GAP_MS]]\n");
        return 2;
    }
    const int wx = std::atoi(argv[1]), wy = std::atoi(argv[2]);
    const int ww = std::atoi(argv[3]), wh = std::atoi(argv[4]);
    const int moves = argc > 5 ? std::atoi(argv[5]) : 300;
    const int gapUs = (argc > 6 ? std::atoi(argv[6]) : 20) * 1000;
    Display *display = XOpenDisplay(nullptr);
    int unused = 0;
    if (!display || !XTestQueryExtension(display, &unused, &unused, &unused, &unused)) {
        std::fprintf(stderr, "swatch_latency: no display with the XTest extension\n");
        return 2;
    }
    const int sw = DisplayWidth(display, 0), sh = DisplayHeight(display, 0);

    // A walk over the screen that keeps 40 pixels clear of the window and its
    // frame, each point a colour other than the last.
    int step = 0;
    Point last{-1, -1};
    auto next = [&] {
        for (;;) {
            const Point p{40 + (step * 7) % (sw - 80), 40 + (step * 5) % (sh - 80)};
            ++step;
            const bool onWindow =
                p.x > wx - 40 && p.x < wx + ww + 40 && p.y > wy - 40 && p.y < wy + wh + 40;
            if (!onWindow && (last.x < 0 || patternAt(p.x, p.y) != patternAt(last.x, last.y)))
                return last = p;
        }
    };

    const Point start = next();
    XTestFakeMotionEvent(display, 0, start.x, start.y, CurrentTime);
    XSync(display, False);
    usleep(500000);
    int side = 0;
    const Point probe = findSwatch(display, wx, wy, ww, wh, patternAt(start.x, start.y), side);
    if (side < 4) {
        std::fprintf(stderr, "swatch_latency: no swatch in the colour under the pointer\n");
        return 1;
    }

    std::vector<double> took;
    int missed = 0;
    for (int i = 0; i < moves; ++i) {
        const Point p = next();
        const unsigned long expected = patternAt(p.x, p.y);
        const double t0 = nowMs();
        XTestFakeMotionEvent(display, 0, p.x, p.y, CurrentTime);
        XFlush(display);
        double ms = LimitMs;
        // A short sleep between reads leaves the CPUs to the program and the
        // server, at the price of about a tenth of a millisecond of precision.
        while (nowMs() - t0 < LimitMs) {
            if (pixelAt(display, probe.x, probe.y) == expected) {
                ms = nowMs() - t0;
                break;
            }
            usleep(100);
        }
        missed += ms >= LimitMs;
        took.push_back(ms);
        usleep(unsigned(gapUs));
    }
    std::sort(took.begin(), took.end());
    auto rank = [&](double q) { return took[std::size_t(q * double(took.size() - 1) + 0.5)]; };
    std::printf("%.2f %.2f %.2f %d %d %d\n", rank(0.5), rank(0.99), took.back(), missed, probe.x,
                probe.y);
    XCloseDisplay(display);
    return 0;
}
