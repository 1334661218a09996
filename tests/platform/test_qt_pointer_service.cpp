#include "platform/qt_pointer_service.h"

#include <QApplication>
#include <QWidget>
#include <QtTest>

#include <memory>

namespace
{

Qt::CursorShape OverrideShape()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::BlankCursor;
}

} // namespace

class TestQtPointerService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void cursorShowsAndComesBack();
    void othersOverridesStayBalanced();
    void captureIsTheWindowsGrab();
    void goingAwayUndoesWhatIsInPlace();
};

void TestQtPointerService::cleanup()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void TestQtPointerService::cursorShowsAndComesBack()
{
    QWidget window;
    QtPointerService pointer(window);

    QCOMPARE(pointer.setCursor(QCursor(Qt::CrossCursor)), PointerCursor());
    QCOMPARE(OverrideShape(), Qt::CrossCursor);

    const PointerCursor previous = pointer.setCursor(QCursor(Qt::WaitCursor));
    QVERIFY(previous);
    QCOMPARE(previous->shape(), Qt::CrossCursor);
    QCOMPARE(OverrideShape(), Qt::WaitCursor);

    // Handing back what the first call returned shows the widgets' own again.
    QCOMPARE(pointer.setCursor(std::nullopt)->shape(), Qt::WaitCursor);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(pointer.setCursor(std::nullopt), PointerCursor());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestQtPointerService::othersOverridesStayBalanced()
{
    QWidget window;
    QtPointerService pointer(window);
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));

    pointer.setCursor(QCursor(Qt::CrossCursor));
    pointer.setCursor(QCursor(Qt::CrossCursor));
    QCOMPARE(OverrideShape(), Qt::CrossCursor);
    pointer.setCursor(std::nullopt);
    QCOMPARE(OverrideShape(), Qt::BusyCursor);
}

void TestQtPointerService::captureIsTheWindowsGrab()
{
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QtPointerService pointer(window);

    pointer.captureMouse();
    QCOMPARE(QWidget::mouseGrabber(), &window);
    pointer.releaseMouse();
    QCOMPARE(QWidget::mouseGrabber(), nullptr);

    // A grab that another widget holds is not ours to end.
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    pointer.captureMouse();
    other.grabMouse();
    pointer.releaseMouse();
    QCOMPARE(QWidget::mouseGrabber(), &other);
    other.releaseMouse();
}

void TestQtPointerService::goingAwayUndoesWhatIsInPlace()
{
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    {
        QtPointerService pointer(window);
        pointer.captureMouse();
        pointer.setCursor(QCursor(Qt::CrossCursor));
    }
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    // The window may go first; the service then has nothing to release.
    auto doomed = std::make_unique<QWidget>();
    QtPointerService pointer(*doomed);
    pointer.captureMouse();
    doomed.reset();
    pointer.releaseMouse();
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
}

QTEST_MAIN(TestQtPointerService)
#include "test_qt_pointer_service.moc"
