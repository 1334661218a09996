#include "fakes/image_difference.h"
#include "platform/x11_screen_source.h"

#include <QProcess>
#include <QtTest>

#include <climits>
#include <functional>
#include <memory>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

// After Qt's headers: Xlib defines names they use.
#include "fakes/root_background.h"

namespace
{

using Transfer = X11ScreenSource::Transfer;

// Every root pixel gets a colour of its own, so a read from the wrong place,
// a transposed row or swapped channels show as a wrong value. Blue carries a
// constant high nibble so it never equals red or green by chance.
QRgb patternAt(int x, int y)
{
    const quint32 v = quint32(y) * 1280u + quint32(x);
    return qRgb(int(v & 0xFF), int((v >> 8) & 0xFF), int(((v >> 16) & 0x0F) | 0xA0));
}

// Marks the pixels a read must leave alone.
constexpr QRgb UNTOUCHED = 0xFF123456u;

// Paints the pattern as the root window's background, pixel for pixel.
bool paintRoot(Display *display, QSize &rootSize)
{
    if (!PaintRootBackground(display, [](int x, int y) { return patternAt(x, y) & 0xFFFFFFu; }))
        return false;
    const int screen = DefaultScreen(display);
    rootSize = QSize(DisplayWidth(display, screen), DisplayHeight(display, screen));
    return true;
}

// What a read of rootArea's size at topLeft must leave in a target that held
// UNTOUCHED everywhere.
QImage expectedCopy(QPoint topLeft, QSize size, QRect rootArea)
{
    QImage expected(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const qint64 sx = qint64(topLeft.x()) + x, sy = qint64(topLeft.y()) + y;
            const bool onRoot = sx >= rootArea.left() && sx <= rootArea.right() &&
                                sy >= rootArea.top() && sy <= rootArea.bottom();
            expected.setPixel(x, y, onRoot ? patternAt(int(sx), int(sy)) : UNTOUCHED);
        }
    }
    return expected;
}

void resizeRoot(QSize size)
{
    // xrandr complains that the one output no longer fits, and exits with an
    // error, but the root window takes the size all the same.
    QProcess xrandr;
    xrandr.setStandardOutputFile(QProcess::nullDevice());
    xrandr.setStandardErrorFile(QProcess::nullDevice());
    xrandr.start("xrandr", {"--fb", QString("%1x%2").arg(size.width()).arg(size.height())});
    xrandr.waitForFinished();
}

} // namespace

class TestX11ScreenSource : public QObject
{
    Q_OBJECT

private:
    struct DisplayCloser {
        void operator()(Display *display) const { XCloseDisplay(display); }
    };
    // Keeps the painted background alive: it goes with the last connection.
    std::unique_ptr<Display, DisplayCloser> m_painter;
    QSize m_rootSize;
    std::unique_ptr<X11ScreenSource> m_shared;
    std::unique_ptr<X11ScreenSource> m_requested;

    X11ScreenSource &source(Transfer transfer)
    {
        return transfer == Transfer::SharedMemory ? *m_shared : *m_requested;
    }

    static void addTransferRows(const char *name, const std::function<void(QTestData &)> &values)
    {
        for (Transfer transfer : {Transfer::SharedMemory, Transfer::Request}) {
            const char *via = transfer == Transfer::SharedMemory ? "shm" : "request";
            values(QTest::addRow("%s, %s", name, via) << int(transfer));
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_painter.reset(XOpenDisplay(nullptr));
        QVERIFY2(m_painter, "no X display");
        QVERIFY(paintRoot(m_painter.get(), m_rootSize));

        m_shared = X11ScreenSource::openForApplication(Transfer::SharedMemory);
        QVERIFY(m_shared);
        QVERIFY(m_shared->usesSharedMemory());
        m_requested = X11ScreenSource::open(nullptr, Transfer::Request);
        QVERIFY(m_requested);
        QVERIFY(!m_requested->usesSharedMemory());
    }

    void openFailsWithoutServer() { QVERIFY(!X11ScreenSource::open(":4093")); }

    void pixelAt_data()
    {
        QTest::addColumn<int>("transfer");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("onRoot");
        const int right = m_rootSize.width() - 1, bottom = m_rootSize.height() - 1;
        const struct {
            const char *name;
            QPoint point;
            bool onRoot;
        } rows[] = {
            {"inside", {517, 333}, true},
            {"top left", {0, 0}, true},
            {"bottom right", {right, bottom}, true},
            {"left of the root", {-1, 10}, false},
            {"above the root", {10, -1}, false},
            {"right of the root", {right + 1, 10}, false},
            {"below the root", {10, bottom + 1}, false},
            {"most negative", {INT_MIN, INT_MIN}, false},
            {"most positive", {INT_MAX, INT_MAX}, false},
        };
        for (const auto &row : rows)
            addTransferRows(row.name, [&](QTestData &data) { data << row.point << row.onRoot; });
    }
    void pixelAt()
    {
        QFETCH(int, transfer);
        QFETCH(QPoint, point);
        QFETCH(bool, onRoot);
        const QRgb c = onRoot ? patternAt(point.x(), point.y()) : 0;
        const COLORREF expected =
            onRoot ? MakeColorRef(qRed(c), qGreen(c), qBlue(c)) : UNREADABLE_PIXEL;
        QCOMPARE(source(Transfer(transfer)).pixelAt(point), expected);
    }

    // Rows run in order on the same two sources, so they also show that reads
    // of changing sizes, larger than the shared image first held, stay right.
    void copyRect_data()
    {
        QTest::addColumn<int>("transfer");
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<QSize>("size");
        const int w = m_rootSize.width(), h = m_rootSize.height();
        const QSize capture(201, 201);
        const struct {
            const char *name;
            QPoint topLeft;
            QSize size;
        } rows[] = {
            {"inside", {300, 200}, capture},
            {"centred on top left", {-100, -100}, capture},
            {"centred on bottom right", {w - 101, h - 101}, capture},
            {"one pixel", {w / 2, h / 2}, {1, 1}},
            {"whole root", {0, 0}, {w, h}},
            {"larger than the root", {-7, -9}, {w + 20, h + 30}},
            {"inside again", {1, 2}, capture},
            {"wholly left", {-201, 0}, capture},
            {"near the most negative", {INT_MIN, INT_MIN}, capture},
            {"near the most positive", {INT_MAX - 100, INT_MAX - 100}, capture},
            {"most positive x", {INT_MAX, 10}, capture},
        };
        for (const auto &row : rows)
            addTransferRows(row.name, [&](QTestData &data) { data << row.topLeft << row.size; });
    }
    void copyRect()
    {
        QFETCH(int, transfer);
        QFETCH(QPoint, topLeft);
        QFETCH(QSize, size);
        QImage target(size, QImage::Format_RGB32);
        target.fill(UNTOUCHED);
        source(Transfer(transfer)).copyRect(topLeft, target);
        COMPARE_IMAGES(target, expectedCopy(topLeft, size, QRect(QPoint(0, 0), m_rootSize)));
    }

    // The root shrinks and grows with the monitors; reads follow it, and a read
    // of what is no longer there neither fails on the server's error nor ends
    // the process.
    void followsTheRootWindowSize_data()
    {
        QTest::addColumn<int>("transfer");
        addTransferRows("after resize", [](QTestData &) {});
    }
    void followsTheRootWindowSize()
    {
        QFETCH(int, transfer);
        X11ScreenSource &screen = source(Transfer(transfer));
        if (QStandardPaths::findExecutable("xrandr").isEmpty())
            QSKIP("xrandr is not installed");

        const QSize small(640, 480);
        resizeRoot(small);
        XWindowAttributes root;
        XGetWindowAttributes(m_painter.get(), DefaultRootWindow(m_painter.get()), &root);
        if (QSize(root.width, root.height) != small)
            QSKIP("this X server cannot resize its root window");
        QImage target(201, 201, QImage::Format_RGB32);
        target.fill(UNTOUCHED);
        screen.copyRect({540, 380}, target);
        COMPARE_IMAGES(target, expectedCopy({540, 380}, target.size(), QRect(QPoint(0, 0), small)));
        QCOMPARE(screen.pixelAt({700, 500}), UNREADABLE_PIXEL);

        resizeRoot(m_rootSize);
        target.fill(UNTOUCHED);
        screen.copyRect({540, 380}, target);
        COMPARE_IMAGES(target,
                       expectedCopy({540, 380}, target.size(), QRect(QPoint(0, 0), m_rootSize)));
    }
};

QTEST_MAIN(TestX11ScreenSource)
#include "test_x11_screen_source.moc"
