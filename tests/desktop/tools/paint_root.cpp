// paint_root [--pattern | FILE.ppm]
// Makes a known picture the root window's background, every pixel exact, and
// leaves it there after exit so that screen readers see it. --pattern paints
// a test pattern whose colour at (x, y) is red x mod 256, green y mod
// 256, blue ((x >> 8) * 37 + (y >> 8) * 101 + 3x + 5y) mod 256.
#include "fakes/root_background.h"

#include <X11/Xlib.h>

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
    std::vector<Rgb> pixels;
    int width = 0, height = 0;
    const bool pattern = std::strcmp(argv[1], "--pattern") == 0;
    if (!pattern && !readPpm(argv[1], width, height, pixels)) {
        std::fprintf(stderr, "paint_root: %s is not a binary 8-bit PPM\n", argv[1]);
        return 1;
    }
    // A picture smaller than the screen repeats, as a tiled background would.
    const auto colourAt = [&](int x, int y) {
        const Rgb p =
            pattern ? patternColor(x, y)
                    : pixels[std::size_t(y % height) * std::size_t(width) + std::size_t(x % width)];
        return (unsigned long)p.r << 16 | (unsigned long)p.g << 8 | p.b;
    };
    if (!PaintRootBackground(display, colourAt)) {
        std::fprintf(stderr, "paint_root: cannot paint the root window\n");
        return 1;
    }
    // The background stays after we exit, with everything this connection made.
    XSetCloseDownMode(display, RetainPermanent);
    XCloseDisplay(display);
    return 0;
}
