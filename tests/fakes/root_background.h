#pragma once

// Makes a picture the root window's background, every pixel exact, for the
// tests and tools that read the screen back: colourAt(x, y) gives each root
// pixel as 0xRRGGBB, placed by the default visual's channel masks. Returns
// whether the picture could be made. The caller decides how long the
// background outlives its connection.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <functional>

inline bool PaintRootBackground(Display *display,
                                const std::function<unsigned long(int x, int y)> &colourAt)
{
    const auto shiftOf = [](unsigned long mask) {
        int shift = 0;
        for (; mask && !(mask & 1); mask >>= 1)
            ++shift;
        return shift;
    };
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    Visual *visual = DefaultVisual(display, screen);
    const int depth = DefaultDepth(display, screen);
    const int width = DisplayWidth(display, screen);
    const int height = DisplayHeight(display, screen);
    XImage *image = XCreateImage(display, visual, unsigned(depth), ZPixmap, 0, nullptr,
                                 unsigned(width), unsigned(height), 32, 0);
    if (!image)
        return false;
    image->data =
        static_cast<char *>(std::malloc(std::size_t(image->bytes_per_line) * std::size_t(height)));
    if (!image->data) {
        XDestroyImage(image);
        return false;
    }
    const int red = shiftOf(visual->red_mask), green = shiftOf(visual->green_mask),
              blue = shiftOf(visual->blue_mask);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long c = colourAt(x, y);
            XPutPixel(image, x, y,
                      (c >> 16 & 0xFF) << red | (c >> 8 & 0xFF) << green | (c & 0xFF) << blue);
        }
    }
    const Pixmap pixmap =
        XCreatePixmap(display, root, unsigned(width), unsigned(height), unsigned(depth));
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, unsigned(width), unsigned(height));
    XFreeGC(display, gc);
    XDestroyImage(image);
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    XFreePixmap(display, pixmap);
    XSync(display, False);
    return true;
}
