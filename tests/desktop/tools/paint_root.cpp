// paint_root [--pattern | FILE.ppm]
// Makes a known picture the root window's background, every pixel exact, and
// leaves it there after exit so that screen readers see it. --pattern paints
// a test pattern whose colour at (x, y) is red x mod 256, green y mod
// 256, blue ((x >> 8) * 37 + (y >> 8) * 101 + 3x + 5y) mod 256.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace
{

struct Rgb {
    unsigned char r, g, b;
};

// Unique enough that a pixel read from the wrong place shows.
Rgb patternColor(int x, int y)
{
    return {static_cast<unsigned char>(x & 255), static_cast<unsigned char>(y & 255),
            static_cast<unsigned char>(((x >> 8) * 37 + (y >> 8) * 101 + x * 3 + y * 5) & 255)};
}

bool readPpm(const char *path, int &width, int &height, std::vector<Rgb> &pixels)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    if (!in || magic != "P6" || maxValue != 255 || width <= 0 || height <= 0)
        return false;
    pixels.resize(std::size_t(width) * std::size_t(height));
    in.read(reinterpret_cast<char *>(pixels.data()), std::streamsize(pixels.size() * 3));
    return bool(in);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: paint_root --pattern | FILE.ppm\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "paint_root: cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    int width = DisplayWidth(display, screen);
    int height = DisplayHeight(display, screen);

    std::vector<Rgb> pixels;
    if (std::strcmp(argv[1], "--pattern") == 0) {
        pixels.resize(std::size_t(width) * std::size_t(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] = patternColor(x, y);
    } else if (!readPpm(argv[1], width, height, pixels)) {
        std::fprintf(stderr, "paint_root: %s is not a binary 8-bit PPM\n", argv[1]);
        return 1;
    }

    Visual *visual = DefaultVisual(display, screen);
    const int depth = DefaultDepth(display, screen);
    XImage *image = XCreateImage(display, visual, unsigned(depth), ZPixmap, 0, nullptr,
                                 unsigned(width), unsigned(height), 32, 0);
    image->data = static_cast<char *>(std::malloc(std::size_t(image->bytes_per_line) * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb p = pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
            XPutPixel(image, x, y, (unsigned long)p.r << 16 | (unsigned long)p.g << 8 | p.b);
        }
    }
    const Pixmap pixmap =
        XCreatePixmap(display, root, unsigned(width), unsigned(height), unsigned(depth));
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, unsigned(width), unsigned(height));
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    XFreeGC(display, gc);
    XDestroyImage(image);
    // Keep the pixmap alive after we exit: it is the root's background now.
    XSetCloseDownMode(display, RetainPermanent);
    XCloseDisplay(display);
    return 0;
}
