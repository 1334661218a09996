#include "platform/dialog_units.h"
#include "platform/static_edge_field.h"
#include "resources/dialog_template.h"
#include "sampler_window_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

namespace
{

QWidget *ControlById(const SamplerWindow &window, int id)
{
    if (QWidget *field = window.field(id))
        return field;
    if (QWidget *button = window.button(id))
        return button;
    switch (id) {
    case IDC_ZOOMLIST:
        return window.zoomList();
    case IDC_TOPMOST:
        return window.topmostCheck();
    case IDC_COLORAREA:
        return window.colorArea();
    case IDC_ZOOMAREA:
        return window.zoomArea();
    }
    return nullptr;
}

void Wheel(QWidget *target, int angleDelta)
{
    const QPointF local(2, 2);
    QWheelEvent event(local, target->mapToGlobal(local), QPoint(), QPoint(0, angleDelta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestSamplerWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each control, reached through the window's own accessors, sits where its
    // dialog units put it with the real dialog font.
    void windowStartsAsItsTemplateSays()
    {
        Fixture fixture;
        const SamplerWindow &window = *fixture.window;
        const DialogBaseUnits units = window.baseUnits();
        // A dialog font that failed to load would show here first.
        QVERIFY(units.x >= 5 && units.x <= 8 && units.y >= 11 && units.y <= 16);
        for (const ControlTemplate &entry : SamplerWindowTemplate().controls) {
            const QRect at = ControlById(window, entry.id)->geometry();
            QCOMPARE(at.topLeft(), QPoint(MulDivRound(entry.rect.x, units.x, 4),
                                          MulDivRound(entry.rect.y, units.y, 8)));
            QCOMPARE(at.width(), MulDivRound(entry.rect.width, units.x, 4));
            if (entry.id != IDC_ZOOMLIST) // the rest of the list's height is the dropped list
                QCOMPARE(at.height(), MulDivRound(entry.rect.height, units.y, 8));
        }
        QCOMPARE(window.windowTitle(), QString("Tintgrabber"));
        QCOMPARE(window.zoomList()->count(), 28);
        for (int i = 0; i < window.zoomList()->count(); ++i)
            QCOMPARE(window.zoomList()->itemText(i), QString("x%1").arg(i + 3));
        for (int id : TEXT_FIELD_IDS)
            QVERIFY(window.field(id)->text().isEmpty());
        QStringList captions;
        for (const ControlTemplate &entry : SamplerWindowTemplate().controls) {
            if (auto *button = qobject_cast<QAbstractButton *>(ControlById(window, entry.id)))
                captions << button->text();
        }
        QCOMPARE(captions,
                 QStringList({"#HTML", "HTML", "R", "G", "B",
                              "Copy to clipboard in POV-Ray fortmat", "Always on top", "E&xit"}));
    }

    void initialisationAppliesStoredSettings_data()
    {
        QTest::addColumn<int>("aot"); // -1: absent
        QTest::addColumn<int>("zom"); // -1000: absent
        QTest::addColumn<bool>("onTop");
        QTest::addColumn<int>("listIndex");
        QTest::newRow("first run") << -1 << -1000 << false << 0;
        QTest::newRow("on top, x10") << 1 << 7 << true << 7;
        QTest::newRow("any non-zero is on top") << 5 << 27 << true << 27;
        QTest::newRow("zoom past the list") << 0 << 28 << false << -1;
        QTest::newRow("negative zoom") << 0 << -1 << false << -1;
    }
    void initialisationAppliesStoredSettings()
    {
        QFETCH(int, aot);
        QFETCH(int, zom);
        QFETCH(bool, onTop);
        QFETCH(int, listIndex);
        std::vector<std::pair<const char *, int>> stored;
        if (aot != -1)
            stored.push_back({"aot", aot});
        if (zom != -1000)
            stored.push_back({"zom", zom});
        Fixture fixture(stored);
        SamplerWindow &window = *fixture.window;
        // Settled before the window is first shown.
        QCOMPARE(bool(window.windowFlags() & Qt::WindowStaysOnTopHint), onTop);
        QCOMPARE(window.topmostCheck()->isChecked(), onTop);
        QCOMPARE(window.zoomList()->currentIndex(), listIndex);
        fixture.shown();
        QCOMPARE(bool(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint), onTop);
        QCOMPARE(fixture.written(), fixture.seeded);
    }

    void dragFromTheMagnifierSamplesAnywhere()
    {
        Fixture fixture;
        SamplerWindow &window = fixture.shown();
        QWindow *handle = window.windowHandle();
        const QPoint far(window.width() + 300, -200);
        fixture.screen = DesktopWithPixelAt(window.clientToScreen(far));
        // Neither a copy button nor the middle button starts a drag.
        QTest::mouseClick(handle, Qt::LeftButton, {},
                          window.button(IDC_COPYRED)->geometry().center());
        QTest::mouseClick(handle, Qt::MiddleButton, {}, window.colorArea()->geometry().center());
        QCOMPARE(fixture.pointer->captureCalls, 0);

        // The zoom area's frame lets the press through to the window.
        QTest::mousePress(handle, Qt::LeftButton, {}, window.zoomArea()->geometry().center());
        QVERIFY(window.sampler().Dragging());
        QVERIFY(fixture.pointer->captured);
        QCOMPARE(fixture.pointer->shown.value().hotSpot(), QPoint(15, 15));
        QTest::mouseMove(handle, far);
        QCOMPARE(window.field(FIELD_HEX)->text(), QString("ff8000"));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, far);
        QVERIFY(!window.sampler().Dragging());
        QVERIFY(!fixture.pointer->captured);
        QVERIFY(!fixture.pointer->shown.has_value()); // the cursor from before
    }

    void copyButtonPutsItsFieldOnTheClipboard_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("#HTML") << int(IDC_COPYHASHHEX) << "#ff8000";
        QTest::newRow("HTML") << int(IDC_COPYHEX) << "ff8000";
        QTest::newRow("R") << int(IDC_COPYRED) << "255";
        QTest::newRow("G") << int(IDC_COPYGREEN) << "128";
        QTest::newRow("B") << int(IDC_COPYBLUE) << "0";
        QTest::newRow("POV-Ray") << int(IDC_COPYPOVRAY)
                                 << "color rgb <1.000000, 0.501961, 0.000000>";
    }
    void copyButtonPutsItsFieldOnTheClipboard()
    {
        QFETCH(int, button);
        QFETCH(QString, text);
        Fixture fixture;
        SamplerWindow &window = fixture.shown();
        QClipboard *clipboard = QGuiApplication::clipboard();
        // Before any sample every field is empty and nothing is copied.
        clipboard->setText(UNTOUCHED);
        QTest::mouseClick(window.button(button), Qt::LeftButton);
        QCOMPARE(clipboard->text(), UNTOUCHED);
        fixture.sample();
        QTest::mouseClick(window.button(button), Qt::LeftButton);
        QCOMPARE(clipboard->text(), text);
    }

    // On top or not in place, stored at once.
    void topmostBoxSwitchesInPlaceAndStores()
    {
        Fixture fixture;
        SamplerWindow &window = fixture.shown();
        const WId id = window.winId();
        for (const int on : {1, 0}) {
            window.topmostCheck()->click();
            QCOMPARE(bool(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint), bool(on));
            QCOMPARE(fixture.stored("aot"), on);
        }
        QCOMPARE(window.winId(), id);
        QVERIFY(window.isVisible());
    }

    void opacityFollowsActivation()
    {
        Fixture fixture;
        SamplerWindow &window = fixture.shown(true);
        QCOMPARE(window.windowOpacity(), 1.0);
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_VERIFY(!window.isActiveWindow());
        QCOMPARE(window.windowOpacity(), 80 / 255.0);
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
        QCOMPARE(window.windowOpacity(), 1.0);
    }

    // The first turn anywhere over the window only focuses the list; further
    // turns step it, one item a notch, wherever the pointer is, each step
    // stored at once and without reading the screen again.
    void wheelFocusesTheListThenSteps()
    {
        Fixture fixture;
        SamplerWindow &window = fixture.shown(true);
        QComboBox *list = window.zoomList();
        window.field(FIELD_HEX)->setFocus();
        fixture.screen.clearCalls();

        Wheel(list, -120);
        QVERIFY(list->hasFocus());
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(fixture.written(), fixture.seeded);
        Wheel(window.field(FIELD_RED), -240); // towards the user: larger factors
        QCOMPARE(list->currentIndex(), 2);
        QCOMPARE(fixture.stored("zom"), 2);
        Wheel(window.button(ID_CANCEL), 60); // half notches add up
        QCOMPARE(list->currentIndex(), 2);
        Wheel(&window, 60);
        QCOMPARE(list->currentIndex(), 1);
        QVERIFY(fixture.screen.calls().empty());

        // Clamped at the end, with nothing written when nothing changes.
        Wheel(&window, 120 * 10);
        QCOMPARE(list->currentIndex(), 0);
        const QDateTime writes = fixture.written();
        Wheel(&window, 120);
        QCOMPARE(fixture.written(), writes);

        // Moving the focus away makes the next turn a focusing one again.
        window.field(FIELD_RED)->setFocus();
        Wheel(&window, -120);
        QCOMPARE(list->currentIndex(), 0);
        QVERIFY(list->hasFocus());
    }

    void keysAndCommandsClose_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("focusId");
        QTest::addColumn<int>("result"); // -1: the window stays
        const int accepted = QDialog::Accepted;
        const int rejected = QDialog::Rejected;
        QTest::newRow("Enter in a field") << "enter" << int(FIELD_POVRAY) << accepted;
        QTest::newRow("Return on a copy button copies") << "return" << int(IDC_COPYGREEN) << -1;
        QTest::newRow("Return on Exit clicks it") << "return" << int(ID_CANCEL) << rejected;
        QTest::newRow("Escape") << "escape" << int(FIELD_HEX) << rejected;
        QTest::newRow("close box") << "close" << int(FIELD_HEX) << rejected;
    }
    void keysAndCommandsClose()
    {
        QFETCH(QString, how);
        QFETCH(int, focusId);
        QFETCH(int, result);
        Fixture fixture;
        SamplerWindow &window = fixture.shown(true);
        fixture.sample();
        window.zoomList()->setCurrentIndex(4);
        const QDateTime writes = fixture.written();
        window.setResult(-1);
        QGuiApplication::clipboard()->setText(UNTOUCHED);

        QWidget *target = ControlById(window, focusId);
        target->setFocus();
        if (how == "enter")
            QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        else if (how == "return")
            QTest::keyClick(target, Qt::Key_Return);
        else if (how == "escape")
            QTest::keyClick(target, Qt::Key_Escape);
        else
            window.close();

        QCOMPARE(window.isVisible(), result == -1);
        QCOMPARE(window.result(), result);
        QCOMPARE(QGuiApplication::clipboard()->text(), result == -1 ? "128" : UNTOUCHED);
        fixture.window.reset();
        QCOMPARE(fixture.written(), writes); // nothing saved at close
    }
};

QTEST_MAIN(TestSamplerWindow)
#include "test_sampler_window.moc"
