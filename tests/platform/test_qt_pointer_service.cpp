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
    void cleanup()
    {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    // Each call hands back the cursor it replaced; handing back what the first
    // call returned restores whatever override someone else had in place.
    void cursorShowsAndComesBack()
    {
        QWidget window;
        QtPointerService pointer(window);
        QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));

        QCOMPARE(pointer.setCursor(QCursor(Qt::CrossCursor)), PointerCursor());
        QCOMPARE(OverrideShape(), Qt::CrossCursor);
        QCOMPARE(pointer.setCursor(QCursor(Qt::WaitCursor))->shape(), Qt::CrossCursor);
        QCOMPARE(OverrideShape(), Qt::WaitCursor);
        QCOMPARE(pointer.setCursor(std::nullopt)->shape(), Qt::WaitCursor);
        QCOMPARE(OverrideShape(), Qt::BusyCursor);
        QCOMPARE(pointer.setCursor(std::nullopt), PointerCursor());
        QCOMPARE(OverrideShape(), Qt::BusyCursor);
    }

    void captureIsTheWindowsGrab()
    {
        QWidget window, other;
        window.show();
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QtPointerService pointer(window);
        pointer.captureMouse();
        QCOMPARE(QWidget::mouseGrabber(), &window);
        pointer.releaseMouse();
        QCOMPARE(QWidget::mouseGrabber(), nullptr);

        // A grab that another widget holds is not ours to end.
        pointer.captureMouse();
        other.grabMouse();
        pointer.releaseMouse();
        QCOMPARE(QWidget::mouseGrabber(), &other);
        other.releaseMouse();
    }

    void goingAwayUndoesWhatIsInPlace()
    {
        auto window = std::make_unique<QWidget>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        {
            QtPointerService pointer(*window);
            pointer.captureMouse();
            pointer.setCursor(QCursor(Qt::CrossCursor));
        }
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

        // The window may go first; the service then has nothing to release.
        QtPointerService pointer(*window);
        pointer.captureMouse();
        window.reset();
        pointer.releaseMouse();
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
    }
};

QTEST_MAIN(TestQtPointerService)
#include "test_qt_pointer_service.moc"
