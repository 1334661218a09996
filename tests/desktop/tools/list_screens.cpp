// list_screens
// Prints the screens a Qt program sees on the current display, one a line:
// "X Y WIDTH HEIGHT RATIO", the native geometry in physical pixels and the
// device pixel ratio, so that desktop tests can check that the program is
// shown the monitors and the scale they set up.
#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    for (const QScreen *screen : QGuiApplication::screens()) {
        // The logical geometry keeps the native top-left and scales only the
        // size.
        const QRect logical = screen->geometry();
        const qreal ratio = screen->devicePixelRatio();
        std::printf("%d %d %ld %ld %g\n", logical.x(), logical.y(),
                    std::lround(logical.width() * ratio), std::lround(logical.height() * ratio),
                    ratio);
    }
    return 0;
}
