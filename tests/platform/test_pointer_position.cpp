// Which pixel a pointer event samples on a scaled screen, and where the
// windowing system says the pointer is. On X11 (run on a private Xvfb) the X
// server's answer is checked against where the pointer was put; elsewhere
// nothing is known.
#include "fakes/fake_pointer_position.h"
#include "platform/pointer_position.h"

#include <QGuiApplication>
#include <QtTest>

#ifdef TINTGRABBER_HAVE_XLIB
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#endif

#include <limits>

Q_DECLARE_METATYPE(std::optional<QPoint>)

namespace
{

constexpr int MAX = std::numeric_limits<int>::max();
constexpr int MIN = std::numeric_limits<int>::min();

} // namespace

class TestPointerPosition : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pointerPixel_data();
    void pointerPixel();
    void applicationPointer_data();
    void applicationPointer();
};

void TestPointerPosition::pointerPixel_data()
{
    QTest::addColumn<QPoint>("event");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<std::optional<QPoint>>("server");
    QTest::addColumn<QPoint>("expected");
    QTest::addColumn<int>("queries");

    const std::optional<QPoint> unknown;
    // Unscaled, events are exact: no round trip, whatever the server would say.
    QTest::newRow("unscaled") << QPoint(1101, 619) << 1.0 << std::optional(QPoint(1102, 619))
                              << QPoint(1101, 619) << 0;

    // Pointer at physical x 1101 at a scale of 2: the event says 410.5
    // logical, rounded to 411, which maps back to 1102.
    QTest::newRow("2: rounded up one pixel")
        << QPoint(1102, 619) << 2.0 << std::optional(QPoint(1101, 619)) << QPoint(1101, 619) << 1;
    QTest::newRow("2: off by two in both axes")
        << QPoint(1103, 621) << 2.0 << std::optional(QPoint(1101, 619)) << QPoint(1101, 619) << 1;
    QTest::newRow("2: the pointer moved on since the event")
        << QPoint(1104, 619) << 2.0 << std::optional(QPoint(1101, 619)) << QPoint(1104, 619) << 1;
    QTest::newRow("2: moved on in one axis only")
        << QPoint(1101, 616) << 2.0 << std::optional(QPoint(1101, 619)) << QPoint(1101, 616) << 1;
    QTest::newRow("2: the server cannot tell")
        << QPoint(1102, 619) << 2.0 << unknown << QPoint(1102, 619) << 1;

    // At 1.5 a logical pixel spans one or two physical ones.
    QTest::newRow("1.5: off by two")
        << QPoint(1099, 617) << 1.5 << std::optional(QPoint(1101, 619)) << QPoint(1101, 619) << 1;
    QTest::newRow("1.5: off by three")
        << QPoint(1098, 619) << 1.5 << std::optional(QPoint(1101, 619)) << QPoint(1098, 619) << 1;
    QTest::newRow("0.5: off by one")
        << QPoint(5, 7) << 0.5 << std::optional(QPoint(6, 6)) << QPoint(6, 6) << 1;

    // A drag far off every screen saturates its mapped position; comparing it
    // with the server's must not overflow into agreement.
    QTest::newRow("2: saturated high")
        << QPoint(MAX, MAX) << 2.0 << std::optional(QPoint(MIN + 1, MIN + 1)) << QPoint(MAX, MAX)
        << 1;
    QTest::newRow("2: at the limit itself")
        << QPoint(MAX, MIN) << 2.0 << std::optional(QPoint(MAX - 2, MIN + 2))
        << QPoint(MAX - 2, MIN + 2) << 1;

    // A ratio that makes no sense is no scale at all.
    QTest::newRow("zero ratio") << QPoint(10, 10) << 0.0 << std::optional(QPoint(11, 10))
                                << QPoint(10, 10) << 0;
    QTest::newRow("NaN ratio") << QPoint(10, 10) << std::numeric_limits<qreal>::quiet_NaN()
                               << std::optional(QPoint(11, 10)) << QPoint(10, 10) << 0;
}

void TestPointerPosition::pointerPixel()
{
    QFETCH(QPoint, event);
    QFETCH(qreal, ratio);
    QFETCH(std::optional<QPoint>, server);
    QFETCH(QPoint, expected);
    QFETCH(int, queries);

    FakePointerPosition pointer(server);
    QCOMPARE(PointerPixel(event, ratio, pointer), expected);
    QCOMPARE(pointer.queries, queries);
}

void TestPointerPosition::applicationPointer_data()
{
    QTest::addColumn<QPoint>("where");
    QTest::newRow("odd") << QPoint(1101, 619);
    QTest::newRow("top-left") << QPoint(0, 0);
    QTest::newRow("bottom-right") << QPoint(1279, 799);
}

void TestPointerPosition::applicationPointer()
{
    QFETCH(QPoint, where);
    const std::unique_ptr<PointerPosition> pointer = CreatePointerPosition();
    QVERIFY(pointer);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        QCOMPARE(pointer->physicalPosition(), std::nullopt);
        return;
    }
#ifdef TINTGRABBER_HAVE_XLIB
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    QVERIFY(x11 && x11->display());
    Display *display = x11->display();
    // The warp and the question go out on one connection, in that order.
    XWarpPointer(display, 0, DefaultRootWindow(display), 0, 0, 0, 0, where.x(), where.y());
    QCOMPARE(pointer->physicalPosition(), std::optional(where));
#else
    QCOMPARE(pointer->physicalPosition(), std::nullopt);
#endif
}

QTEST_MAIN(TestPointerPosition)
#include "test_pointer_position.moc"
