// QtScreenSource against a real X server whose root window shows a known
// picture: two monitors with a gap between them, read at whatever
// QT_SCALE_FACTOR the test runs with. The physical pixels read must be the
// same at every scale.
#include "platform/qt_screen_source.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace
{

QRgb DesktopPixel(int x, int y)
{
    const auto h = std::uint32_t(x) * 2654435761u ^ std::uint32_t(y) * 40503u;
    return 0xFF000000u | (h & 0x00FFFFFFu) | 1u;
}

// Low bit clear, unlike every desktop pixel.
constexpr QRgb UNTOUCHED = 0xFF123456u;

// Paints every root pixel with DesktopPixel and keeps it there after we
// disconnect.
bool PaintRoot()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const int s = DefaultScreen(display);
    const Window root = RootWindow(display, s);
    const int width = DisplayWidth(display, s), height = DisplayHeight(display, s);
    auto *data = static_cast<char *>(std::malloc(std::size_t(width) * height * 4));
    XImage *image = XCreateImage(display, DefaultVisual(display, s), DefaultDepth(display, s),
                                 ZPixmap, 0, data, width, height, 32, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            XPutPixel(image, x, y, DesktopPixel(x, y) & 0xFFFFFFu);
    }
    const Pixmap pixmap = XCreatePixmap(display, root, width, height, DefaultDepth(display, s));
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, width, height);
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    XFreeGC(display, gc);
    XDestroyImage(image);
    XSetCloseDownMode(display, RetainPermanent);
    XCloseDisplay(display);
    return true;
}

// The monitors the test script sets up, in physical pixels. Their sizes do
// not survive scaling to logical pixels and back (601 at 1.5 is 401, which
// scales back to 602), so a pixel past an edge shows if it is read.
const QRect MONITORS[] = {{0, 0, 601, 799}, {700, 100, 900, 700}};

bool OnAMonitor(QPoint point)
{
    return MONITORS[0].contains(point) || MONITORS[1].contains(point);
}

} // namespace

class TestQtScreenSourceX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        QCOMPARE(QGuiApplication::screens().size(), 2);
        QVERIFY(PaintRoot());
    }

    void copyRectTakesPhysicalPixelsFromEachMonitor_data()
    {
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<QSize>("size");
        QTest::newRow("inside the left monitor") << QPoint(301, 401) << QSize(201, 201);
        QTest::newRow("odd corner, small") << QPoint(1, 3) << QSize(5, 4);
        QTest::newRow("over the top-left corner") << QPoint(-100, -100) << QSize(201, 201);
        QTest::newRow("across the gap") << QPoint(550, 50) << QSize(201, 201);
        QTest::newRow("over the bottom-right corner") << QPoint(1499, 699) << QSize(201, 201);
        QTest::newRow("below the left monitor") << QPoint(400, 700) << QSize(201, 201);
        QTest::newRow("off every monitor") << QPoint(-5000, 3000) << QSize(201, 201);
    }

    void copyRectTakesPhysicalPixelsFromEachMonitor()
    {
        QFETCH(QPoint, topLeft);
        QFETCH(QSize, size);
        QImage target(size, QImage::Format_RGB32), expected(size, QImage::Format_RGB32);
        target.fill(UNTOUCHED);
        QtScreenSource().copyRect(topLeft, target);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const QPoint at = topLeft + QPoint(x, y);
                expected.setPixel(x, y, OnAMonitor(at) ? DesktopPixel(at.x(), at.y()) : UNTOUCHED);
            }
        }
        QCOMPARE(target, expected);
    }

    void pixelAt_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::newRow("left monitor's corner") << QPoint(0, 0);
        QTest::newRow("left monitor's last pixel") << QPoint(600, 798);
        QTest::newRow("right of the left monitor") << QPoint(601, 0);
        QTest::newRow("below the left monitor") << QPoint(0, 799);
        QTest::newRow("right monitor's corner") << QPoint(700, 100);
        QTest::newRow("right monitor's last pixel") << QPoint(1599, 799);
        QTest::newRow("above the right monitor") << QPoint(1000, 99);
        QTest::newRow("far away") << QPoint(INT_MIN, INT_MAX);
    }

    void pixelAt()
    {
        QFETCH(QPoint, point);
        const QRgb rgb = DesktopPixel(point.x(), point.y());
        QCOMPARE(QtScreenSource().pixelAt(point),
                 OnAMonitor(point) ? MakeColorRef(qRed(rgb), qGreen(rgb), qBlue(rgb))
                                   : UNREADABLE_PIXEL);
    }
};

QTEST_MAIN(TestQtScreenSourceX11)
#include "test_qt_screen_source_x11.moc"
