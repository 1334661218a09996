// check_magnifier [--monitor X Y W H]... SCREEN.ppm LEFT TOP WIDTH HEIGHT FACTOR FACE
//                 (SX SY | none)
//
// Compares the magnifier in a screenshot of the whole screen, pixel by pixel,
// with the picture it must show. LEFT TOP WIDTH HEIGHT is the rectangle it
// draws in, in screen pixels (where the window is scaled, its device pixels);
// FACE the button-face colour as rrggbb. With a sample point (SX, SY) the
// capture is the test pattern around it where a monitor shows the screen and
// button face elsewhere; the monitors are the rectangles given with
// --monitor, or else the whole screen. With "none" nothing was sampled yet
// and the whole capture is button face. Prints the first mismatches and exits
// 1 if there are any.
#include "desktop/tools/pattern.h"
#include "fakes/expected_magnifier.h"

#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char **argv)
{
    std::vector<QRect> monitors;
    int first = 1;
    for (; first + 4 < argc && std::strcmp(argv[first], "--monitor") == 0; first += 5)
        monitors.emplace_back(std::atoi(argv[first + 1]), std::atoi(argv[first + 2]),
                              std::atoi(argv[first + 3]), std::atoi(argv[first + 4]));
    char **arg = argv + first;
    const int count = argc - first;
    if (count != 8 && count != 9) {
        std::fprintf(stderr, "usage: check_magnifier [--monitor X Y W H]... SCREEN.ppm LEFT TOP "
                             "WIDTH HEIGHT FACTOR FACE (SX SY | none)\n");
        return 2;
    }
    const QImage screen =
        QImage(QString::fromLocal8Bit(arg[0]), "PPM").convertToFormat(QImage::Format_RGB32);
    if (screen.isNull()) {
        std::fprintf(stderr, "check_magnifier: cannot read %s\n", arg[0]);
        return 2;
    }
    if (monitors.empty())
        monitors.push_back(screen.rect());
    const QRect inner(std::atoi(arg[1]), std::atoi(arg[2]), std::atoi(arg[3]), std::atoi(arg[4]));
    const int z = std::atoi(arg[5]);
    const QRgb face = 0xff000000u | QRgb(std::strtoul(arg[6], nullptr, 16));

    QImage capture(CAPTURE_SIZE, CAPTURE_SIZE, QImage::Format_RGB32);
    capture.fill(face);
    if (count == 9) {
        const QPoint corner(std::atoi(arg[7]) - CAPTURE_CENTER, std::atoi(arg[8]) - CAPTURE_CENTER);
        for (int y = 0; y < CAPTURE_SIZE; ++y) {
            for (int x = 0; x < CAPTURE_SIZE; ++x) {
                const QPoint at = corner + QPoint(x, y);
                for (const QRect &monitor : monitors) {
                    if (monitor.contains(at))
                        capture.setPixel(x, y, 0xff000000u | PatternRgb(at.x(), at.y()));
                }
            }
        }
    }
    const QImage expected = ExpectedMagnifierInner(capture, inner, z);
    const QImage shown = screen.copy(inner);
    int mismatches = 0;
    for (int y = 0; y < inner.height(); ++y) {
        for (int x = 0; x < inner.width(); ++x) {
            if (shown.pixel(x, y) != expected.pixel(x, y) && ++mismatches <= 5)
                std::printf("  (%d, %d): expected %06x, got %06x\n", inner.x() + x, inner.y() + y,
                            expected.pixel(x, y) & 0xffffffu, shown.pixel(x, y) & 0xffffffu);
        }
    }
    if (mismatches)
        std::printf("  %d of %d pixels differ\n", mismatches, inner.width() * inner.height());
    return mismatches ? 1 : 0;
}
