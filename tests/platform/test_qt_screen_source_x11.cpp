// QtScreenSource against a real X server whose root window shows a known
// picture: two monitors with a gap between them, read at whatever
// QT_SCALE_FACTOR the test runs with. The physical pixels read must be the
// same at every scale. The source the program chooses (shared memory on X11)
// must read exactly what QtScreenSource reads, leaving the gap alone too.
#include "platform/qt_screen_source.h"
#include "platform/screen_sources.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

// After Qt's headers: Xlib defines names they use.
#include "fakes/root_background.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <functional>
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
    const bool painted =
        PaintRootBackground(display, [](int x, int y) { return DesktopPixel(x, y) & 0xFFFFFFu; });
    XSetCloseDownMode(display, RetainPermanent);
    XCloseDisplay(display);
    return painted;
}

// The monitors the test script sets up, in physical pixels. Their sizes do
// not survive scaling to logical pixels and back (601 at 1.5 is 401, which
// scales back to 602), so a pixel past an edge shows if it is read.
const QRect MONITORS[] = {{0, 0, 601, 799}, {700, 100, 900, 700}};

bool OnAMonitor(QPoint point)
{
    return MONITORS[0].contains(point) || MONITORS[1].contains(point);
}

// Which source a row reads through.
enum Source { QT_SOURCE, CHOSEN_SOURCE };

std::unique_ptr<ScreenSource> MakeSource(int source)
{
    if (source == QT_SOURCE)
        return std::make_unique<QtScreenSource>();
    return CreateScreenSource();
}

// Every row reads through both sources.
void AddSourceRows(const char *name, const std::function<void(QTestData &)> &values)
{
    values(QTest::addRow("%s, Qt", name) << int(QT_SOURCE));
    values(QTest::addRow("%s, chosen", name) << int(CHOSEN_SOURCE));
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

    void chosenSourceReadsTheServer()
    {
#ifdef TINTGRABBER_HAVE_X11SHM
        QVERIFY(dynamic_cast<QtScreenSource *>(CreateScreenSource().get()) == nullptr);
#else
        QSKIP("built without the X11 shared-memory source");
#endif
    }

    void copyRectTakesPhysicalPixelsFromEachMonitor_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<QSize>("size");
        const struct {
            const char *name;
            QPoint topLeft;
            QSize size;
        } rows[] = {
            {"inside the left monitor", {301, 401}, {201, 201}},
            {"odd corner, small", {1, 3}, {5, 4}},
            {"over the top-left corner", {-100, -100}, {201, 201}},
            {"across the gap", {550, 50}, {201, 201}},
            {"centre in the gap", {525, 150}, {201, 201}},
            {"over the bottom-right corner", {1499, 699}, {201, 201}},
            {"below the left monitor", {400, 700}, {201, 201}},
            {"off every monitor", {-5000, 3000}, {201, 201}},
        };
        for (const auto &row : rows)
            AddSourceRows(row.name, [&](QTestData &data) { data << row.topLeft << row.size; });
    }

    void copyRectTakesPhysicalPixelsFromEachMonitor()
    {
        QFETCH(int, source);
        QFETCH(QPoint, topLeft);
        QFETCH(QSize, size);
        QImage target(size, QImage::Format_RGB32), expected(size, QImage::Format_RGB32);
        target.fill(UNTOUCHED);
        const bool centreSupplied = MakeSource(source)->copyRect(topLeft, target);
        QCOMPARE(centreSupplied, OnAMonitor(topLeft + QPoint(size.width() / 2, size.height() / 2)));
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
        QTest::addColumn<int>("source");
        QTest::addColumn<QPoint>("point");
        const struct {
            const char *name;
            QPoint point;
        } rows[] = {
            {"left monitor's corner", {0, 0}},       {"left monitor's last pixel", {600, 798}},
            {"right of the left monitor", {601, 0}}, {"below the left monitor", {0, 799}},
            {"right monitor's corner", {700, 100}},  {"right monitor's last pixel", {1599, 799}},
            {"above the right monitor", {1000, 99}}, {"far away", {INT_MIN, INT_MAX}},
        };
        for (const auto &row : rows)
            AddSourceRows(row.name, [&](QTestData &data) { data << row.point; });
    }

    void pixelAt()
    {
        QFETCH(int, source);
        QFETCH(QPoint, point);
        const QRgb rgb = DesktopPixel(point.x(), point.y());
        QCOMPARE(MakeSource(source)->pixelAt(point),
                 OnAMonitor(point) ? MakeColorRef(qRed(rgb), qGreen(rgb), qBlue(rgb))
                                   : UNREADABLE_PIXEL);
    }
};

QTEST_MAIN(TestQtScreenSourceX11)
#include "test_qt_screen_source_x11.moc"
