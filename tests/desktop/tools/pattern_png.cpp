// pattern_png FILE WIDTH HEIGHT
// Writes the test pattern of pattern.h as a PNG picture, for desktops whose
// background is a picture file.
#include "desktop/tools/pattern.h"

#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    QImage image(argc == 4 ? std::atoi(argv[2]) : 0, argc == 4 ? std::atoi(argv[3]) : 0,
                 QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, 0xff000000u | QRgb(patternRgb(x, y)));
    if (image.isNull() || !image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "usage: pattern_png FILE WIDTH HEIGHT\n");
        return 1;
    }
}
