// paint_root --pattern
// Makes the test pattern of pattern.h the root window's background, every
// pixel exact, and leaves it there after exit so that screen readers see it.
#include "desktop/tools/pattern.h"
#include "fakes/root_background.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    Display *display =
        argc == 2 && std::strcmp(argv[1], "--pattern") == 0 ? XOpenDisplay(nullptr) : nullptr;
    if (!display || !PaintRootBackground(display, [](int x, int y) { return PatternRgb(x, y); })) {
        std::fprintf(stderr, "usage: paint_root --pattern, on a display it may paint\n");
        return 1;
    }
    // The background stays after we exit, with everything this connection made.
    XSetCloseDownMode(display, RetainPermanent);
    XCloseDisplay(display);
    return 0;
}
