// check_magnifier [--inner] [--monitor X Y W H]... SCREEN.ppm LEFT TOP WIDTH HEIGHT FACTOR FACE
//                 (SX SY | none)
//
// Compares the magnifier in a screenshot of the whole screen, pixel by pixel,
// with the picture it must show. LEFT TOP WIDTH HEIGHT is the zoom area's
// outer rectangle on the screen, or with --inner the rectangle it draws in
// (where the window is scaled, the device pixels of the scaled inner
// rectangle); FACE the button-face colour as rrggbb. Every screen pixel is a
// FACTOR x FACTOR block of screen pixels. With a sample point (SX, SY) the
// screen around it is the test pattern that paint_root --pattern paints where
// a monitor shows it, and button face elsewhere; the monitors are the
// rectangles given with --monitor, or else the whole screen. With "none"
// nothing was sampled yet and the whole capture is button face.
// Prints the mismatches and exits 1 if there are any.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace
{

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb &) const = default;
};

Rgb Pattern(long x, long y)
{
    return {int(x & 255), int(y & 255),
            int(((x >> 8) * 37 + (y >> 8) * 101 + x * 3 + y * 5) & 255)};
}

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> bytes;
    Rgb at(long x, long y) const
    {
        const unsigned char *p = &bytes[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
        return {p[0], p[1], p[2]};
    }
};

bool ReadPpm(const char *path, Picture &picture)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> picture.width >> picture.height >> maxValue;
    in.get();
    if (!in || magic != "P6" || maxValue != 255)
        return false;
    picture.bytes.resize(std::size_t(picture.width) * std::size_t(picture.height) * 3);
    in.read(reinterpret_cast<char *>(picture.bytes.data()), std::streamsize(picture.bytes.size()));
    return bool(in);
}

// The pixels an inverting line covers: its start, not its end.
class CrossHair
{
public:
    void moveTo(long x, long y) { x_ = x, y_ = y; }
    void lineTo(long x, long y)
    {
        if (y == y_) {
            for (long i = x_; i != x; i += x > x_ ? 1 : -1)
                toggle(i, y);
        } else if (x == x_) {
            for (long j = y_; j != y; j += y > y_ ? 1 : -1)
                toggle(x, j);
        }
        moveTo(x, y);
    }
    bool inverted(long x, long y) const { return covered_.count({x, y}) != 0; }

private:
    void toggle(long x, long y)
    {
        if (!covered_.erase({x, y}))
            covered_.insert({x, y});
    }
    long x_ = 0, y_ = 0;
    std::set<std::pair<long, long>> covered_;
};

long FloorDiv(long a, long b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

int Usage()
{
    std::fprintf(stderr, "usage: check_magnifier [--inner] [--monitor X Y W H]... SCREEN.ppm LEFT "
                         "TOP WIDTH HEIGHT FACTOR FACE (SX SY | none)\n");
    return 2;
}

struct Monitor {
    long x, y, width, height;
    bool contains(long px, long py) const
    {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
};

} // namespace

int main(int argc, char **argv)
{
    bool inner = false;
    std::vector<Monitor> monitors;
    int first = 1;
    for (; first < argc && std::strncmp(argv[first], "--", 2) == 0; ++first) {
        if (std::strcmp(argv[first], "--inner") == 0) {
            inner = true;
        } else if (std::strcmp(argv[first], "--monitor") == 0 && first + 4 < argc) {
            monitors.push_back({std::atol(argv[first + 1]), std::atol(argv[first + 2]),
                                std::atol(argv[first + 3]), std::atol(argv[first + 4])});
            first += 4;
        } else {
            return Usage();
        }
    }
    char **arg = argv + first;
    const int count = argc - first;
    if (count != 8 && count != 9)
        return Usage();
    Picture screen;
    if (!ReadPpm(arg[0], screen)) {
        std::fprintf(stderr, "check_magnifier: %s is not a binary 8-bit PPM\n", arg[0]);
        return 2;
    }
    if (monitors.empty())
        monitors.push_back({0, 0, screen.width, screen.height});
    const long inset = inner ? 0 : 3;
    const long outerLeft = std::atol(arg[1]), outerTop = std::atol(arg[2]);
    const long outerWidth = std::atol(arg[3]), outerHeight = std::atol(arg[4]);
    const long z = std::atol(arg[5]);
    const unsigned long faceValue = std::strtoul(arg[6], nullptr, 16);
    const Rgb face{int(faceValue >> 16 & 255), int(faceValue >> 8 & 255), int(faceValue & 255)};
    const bool sampled = count == 9;
    const long sx = sampled ? std::atol(arg[7]) : 0, sy = sampled ? std::atol(arg[8]) : 0;
    const auto onAMonitor = [&monitors](long x, long y) {
        for (const Monitor &monitor : monitors) {
            if (monitor.contains(x, y))
                return true;
        }
        return false;
    };

    // The inner rectangle, right and bottom exclusive, and where the buffer
    // lands in it.
    const long left = outerLeft + inset, top = outerTop + inset;
    const long right = outerLeft + outerWidth - inset, bottom = outerTop + outerHeight - inset;
    const long cx = left + (right - left) / 2, cy = top + (bottom - top) / 2;
    const long e = -(z / 2);
    const long destLeft = cx + e - 100 * z, destTop = cy + e - 100 * z;
    const long h = z / 2;
    const long x0 = cx - h, x1 = x0 + z, y0 = cy - h, y1 = y0 + z;

    CrossHair cross;
    cross.moveTo(left, y0);
    cross.lineTo(x0, y0);
    cross.lineTo(x0, top);
    cross.moveTo(x1, top);
    cross.lineTo(x1, y0);
    cross.lineTo(right, y0);
    cross.moveTo(left, y1);
    cross.lineTo(x0, y1);
    cross.lineTo(x0, bottom);
    cross.moveTo(x1, bottom);
    cross.lineTo(x1, y1);
    cross.lineTo(right, y1);

    int mismatches = 0;
    for (long y = top; y < bottom; ++y) {
        for (long x = left; x < right; ++x) {
            // Past the capture's 201 pixels the window's own background,
            // the button face, shows.
            const long i = FloorDiv(x - destLeft, z), j = FloorDiv(y - destTop, z);
            const long px = sx - 100 + i, py = sy - 100 + j;
            const bool captured = i >= 0 && j >= 0 && i <= 200 && j <= 200;
            Rgb want = face;
            if (sampled && captured && onAMonitor(px, py))
                want = Pattern(px, py);
            if (cross.inverted(x, y))
                want = {255 - want.r, 255 - want.g, 255 - want.b};
            const Rgb got = screen.at(x, y);
            if (!(got == want) && ++mismatches <= 5)
                std::printf("  (%ld, %ld): expected %02x%02x%02x, got %02x%02x%02x\n", x, y, want.r,
                            want.g, want.b, got.r, got.g, got.b);
        }
    }
    if (mismatches)
        std::printf("  %d of %ld pixels differ\n", mismatches, (right - left) * (bottom - top));
    return mismatches ? 1 : 0;
}
