// paint_root --pattern
// Makes the test pattern of pattern.h the root window's background, every
// pixel exact, and leaves it there after exit so that screen readers see it.
#include "desktop/tools/pattern.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    Display *display =
        argc == 2 && std::strcmp(argv[1], "--pattern") == 0 ? XOpenDisplay(nullptr) : nullptr;
    if (!display) {
        std::fprintf(stderr, "usage: paint_root --pattern, on a display it may open\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const unsigned depth = unsigned(DefaultDepth(display, screen));
    const int width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
    // An image in the root's own format, to be overwritten.
    XImage *image =
        XGetImage(display, root, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    // Each channel placed by the visual's masks, whatever order they have.
    const auto place = [](unsigned long value, unsigned long mask) {
        return (value * (mask & -mask)) & mask;
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned long c = PatternRgb(x, y);
            XPutPixel(image, x, y,
                      place(c >> 16 & 0xFF, image->red_mask) |
                          place(c >> 8 & 0xFF, image->green_mask) |
                          place(c & 0xFF, image->blue_mask));
        }
    const Pixmap pixmap = XCreatePixmap(display, root, unsigned(width), unsigned(height), depth);
    XPutImage(display, pixmap, DefaultGC(display, screen), image, 0, 0, 0, 0, unsigned(width),
              unsigned(height));
    XDestroyImage(image);
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    // The background stays after we exit, with everything this connection made.
    XSetCloseDownMode(display, RetainPermanent);
    XCloseDisplay(display);
    return 0;
}
