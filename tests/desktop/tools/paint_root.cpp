// paint_root --pattern
// Makes the test pattern of pattern.h the root window's background, every
// pixel exact, and leaves it there after exit so that screen readers see it.
#include "desktop/tools/pattern.h"
#include "fakes/root_background.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc != 2 || std::strcmp(argv[1], "--pattern") != 0) {
        std::fprintf(stderr, "usage: paint_root --pattern\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "paint_root: cannot open the display\n");
        return 1;
    }
    if (!PaintRootBackground(display, [](int x, int y) { return PatternRgb(x, y); })) {
        std::fprintf(stderr, "paint_root: cannot paint the root window\n");
        return 1;
    }
    // The background stays after we exit, with everything this connection made.
    XSetCloseDownMode(display, RetainPermanent);
    XCloseDisplay(display);
    return 0;
}
