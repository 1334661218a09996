// check_magnifier [--monitor X Y W H]... SCREEN.ppm LEFT TOP WIDTH HEIGHT FACTOR FACE
//                 (SX SY | none)
//
// Compares the magnifier in a screenshot of the whole screen, pixel by pixel,
// with the picture it must show. LEFT TOP WIDTH HEIGHT is the rectangle it
// draws in, in screen pixels (where the window is scaled, its device pixels);
// FACE the button-face colour as rrggbb. With a sample point (SX, SY) the
// capture is the test pattern around it where a monitor shows the screen and
// button face elsewhere; the monitors are the rectangles given with
// --monitor. With "none" nothing was sampled yet and the whole capture is
// button face. Prints the first mismatches and exits 1 if there are any.
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
    int at = 1;
    const auto number = [&](int i) { return std::atoi(argv[at + i]); };
    for (; at + 4 < argc && std::strcmp(argv[at], "--monitor") == 0; at += 5)
        monitors.emplace_back(number(1), number(2), number(3), number(4));
    const QImage screen = QImage(QString::fromLocal8Bit(argc > at ? argv[at] : ""), "PPM")
                              .convertToFormat(QImage::Format_RGB32);
    if ((argc - at != 8 && argc - at != 9) || screen.isNull()) {
        std::fprintf(stderr, "usage: check_magnifier [--monitor X Y W H]... SCREEN.ppm LEFT TOP "
                             "WIDTH HEIGHT FACTOR FACE (SX SY | none)\n");
        return 2;
    }
    const QRect inner(number(1), number(2), number(3), number(4));
    QImage capture(CAPTURE_SIZE, CAPTURE_SIZE, QImage::Format_RGB32);
    capture.fill(0xff000000u | QRgb(std::strtoul(argv[at + 6], nullptr, 16)));
    for (int y = 0; argc - at == 9 && y < CAPTURE_SIZE; ++y)
        for (int x = 0; x < CAPTURE_SIZE; ++x) {
            const QPoint p(number(7) - CAPTURE_CENTER + x, number(8) - CAPTURE_CENTER + y);
            for (const QRect &monitor : monitors)
                if (monitor.contains(p))
                    capture.setPixel(x, y, 0xff000000u | patternRgb(p.x(), p.y()));
        }
    const QImage expected = expectedMagnifierInner(capture, inner, number(5));
    const QImage shown = screen.copy(inner);
    int mismatches = 0;
    for (int y = 0; y < inner.height(); ++y)
        for (int x = 0; x < inner.width(); ++x)
            if (shown.pixel(x, y) != expected.pixel(x, y) && ++mismatches <= 5)
                std::printf("  (%d, %d): expected %06x, got %06x\n", inner.x() + x, inner.y() + y,
                            expected.pixel(x, y) & 0xffffffu, shown.pixel(x, y) & 0xffffffu);
    std::printf("  %d of %d pixels differ\n", mismatches, inner.width() * inner.height());
    return mismatches ? 1 : 0;
}
