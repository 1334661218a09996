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
    // The logical geometry keeps the native top-left and scales only the size.
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect g = screen->geometry();
        const qreal ratio = screen->devicePixelRatio();
        std::printf("%d %d %ld %ld %g\n", g.x(), g.y(), std::lround(g.width() * ratio),
                    std::lround(g.height() * ratio), ratio);
    }
}
