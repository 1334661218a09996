// check_magnifier SCREEN.ppm LEFT TOP WIDTH HEIGHT FACTOR FACE SX SY
// check_magnifier SCREEN.ppm LEFT TOP WIDTH HEIGHT FACTOR FACE none
//
// Compares the magnifier in a screenshot of the whole screen, pixel by pixel,
// with the picture it must show. LEFT TOP WIDTH HEIGHT is the zoom area's
// outer rectangle on the screen; FACE the button-face colour as rrggbb. With a
// sample point (SX, SY) the screen around it is the test pattern that
// paint_root --pattern paints, and button face beyond the screen's edges;
// with "none" nothing was sampled yet and the whole capture is button face.
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

} // namespace

int main(int argc, char **argv)
{
    if (argc != 9 && argc != 10) {
        std::fprintf(stderr, "usage: check_magnifier SCREEN.ppm LEFT TOP WIDTH HEIGHT FACTOR "
                             "FACE (SX SY | none)\n");
        return 2;
    }
    Picture screen;
    if (!ReadPpm(argv[1], screen)) {
        std::fprintf(stderr, "check_magnifier: %s is not a binary 8-bit PPM\n", argv[1]);
        return 2;
    }
    const long outerLeft = std::atol(argv[2]), outerTop = std::atol(argv[3]);
    const long outerWidth = std::atol(argv[4]), outerHeight = std::atol(argv[5]);
    const long z = std::atol(argv[6]);
    const unsigned long faceValue = std::strtoul(argv[7], nullptr, 16);
    const Rgb face{int(faceValue >> 16 & 255), int(faceValue >> 8 & 255), int(faceValue & 255)};
    const bool sampled = argc == 10;
    const long sx = sampled ? std::atol(argv[8]) : 0, sy = sampled ? std::atol(argv[9]) : 0;

    // The inner rectangle, right and bottom exclusive, and where the buffer
    // lands in it.
    const long left = outerLeft + 3, top = outerTop + 3;
    const long right = outerLeft + outerWidth - 3, bottom = outerTop + outerHeight - 3;
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
            const long i = (x - destLeft) / z, j = (y - destTop) / z;
            const long px = sx - 100 + i, py = sy - 100 + j;
            Rgb want = face;
            if (sampled && px >= 0 && py >= 0 && px < screen.width && py < screen.height)
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
