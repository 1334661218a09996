#include "platform/static_edge_field.h"
#include "sampler_window_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

namespace
{

// The inner rectangle of a frame, where its area is drawn.
QRect Inner(const QFrame *frame)
{
    return frame->geometry().adjusted(3, 3, -3, -3);
}

struct Expected {
    int id;
    const char *caption; // nullptr for controls without one
    int x, y, width, height;
};

// The window as it should look, in template order, written out here rather
// than read from the program's own table, so a slip in either shows.
constexpr Expected LAYOUT[] = {
    {1014, nullptr, 1, 2, 57, 55},
    {1009, "#HTML", 61, 2, 41, 11},
    {1004, nullptr, 61, 16, 41, 12},
    {1015, "HTML", 105, 2, 41, 11},
    {1006, nullptr, 105, 16, 41, 12},
    {1010, "R", 149, 2, 18, 11},
    {1001, nullptr, 149, 16, 18, 12},
    {1011, "G", 170, 2, 18, 11},
    {1002, nullptr, 170, 16, 18, 12},
    {1012, "B", 191, 2, 18, 11},
    {1003, nullptr, 191, 16, 18, 12},
    {1013, "Copy to clipboard in POV-Ray fortmat", 61, 31, 148, 11},
    {1005, nullptr, 61, 44, 148, 12},
    {1007, "Always on top", 213, 2, 60, 10},
    {1008, nullptr, 212, 12, 59, 30},
    {1000, nullptr, 212, 44, 39, 99},
    {2, "E&xit", 253, 44, 17, 13},
};

// Dialog units to pixels, rounding halves up, worked out independently of the
// program's own conversion.
int Scale(int units, int base, int divisor)
{
    return int(std::floor(double(units) * base / divisor + 0.5));
}

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

// Collects what the window's paint events cover from now on.
class PaintLog : public QObject
{
public:
    explicit PaintLog(QWidget &window)
    {
        QApplication::processEvents();
        window.installEventFilter(this);
    }

    QRegion take()
    {
        static_cast<void>(QTest::qWaitFor([this] { return !painted.isEmpty(); }));
        return std::exchange(painted, QRegion());
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }

private:
    QRegion painted;
};

} // namespace

class TestSamplerWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controlSitsWhereItsUnitsPutIt_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(LAYOUT)); ++i)
            QTest::newRow(QByteArray::number(LAYOUT[i].id)) << i;
    }

    void controlSitsWhereItsUnitsPutIt()
    {
        QFETCH(int, index);
        const Expected &expected = LAYOUT[index];
        Fixture fixture;
        const DialogBaseUnits units = fixture.window->baseUnits();
        QWidget *control = ControlById(*fixture.window, expected.id);
        QVERIFY(control != nullptr);
        const QRect at = control->geometry();
        QCOMPARE(at.topLeft(),
                 QPoint(Scale(expected.x, units.x, 4), Scale(expected.y, units.y, 8)));
        QCOMPARE(at.width(), Scale(expected.width, units.x, 4));
        if (expected.id == IDC_ZOOMLIST)
            QVERIFY(at.bottom() < fixture.window->height()); // the rest is the dropped list
        else
            QCOMPARE(at.height(), Scale(expected.height, units.y, 8));
        if (expected.caption != nullptr)
            QCOMPARE(qobject_cast<QAbstractButton *>(control)->text(), QString(expected.caption));
    }

    void windowStartsAsTheTemplateSays()
    {
        Fixture fixture;
        const SamplerWindow &window = *fixture.window;
        const DialogBaseUnits units = window.baseUnits();
        // With the 11-pixel dialog font a dialog unit is never a mere pixel or
        // two; a font that failed to load would show here first.
        QVERIFY(units.x >= 5 && units.x <= 8 && units.y >= 11 && units.y <= 16);
        const QSize size(Scale(273, units.x, 4), Scale(58, units.y, 8));
        QCOMPARE(window.windowTitle(), QString("Tintgrabber"));
        QCOMPARE(window.minimumSize(), size);
        QCOMPARE(window.maximumSize(), size);
        QCOMPARE(window.windowType(), Qt::Window); // listed on the task bar
        QVERIFY(!(window.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QComboBox *list = window.zoomList();
        QCOMPARE(list->count(), 28);
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->itemText(i), QString("x%1").arg(i + 3));
        QVERIFY(!list->isEditable());
        for (int id : TEXT_FIELD_IDS) {
            QVERIFY(dynamic_cast<StaticEdgeField *>(window.field(id)) != nullptr);
            QVERIFY(window.field(id)->isReadOnly());
            QVERIFY(window.field(id)->text().isEmpty());
        }
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
        QTest::newRow("not on top, zoom past the list") << 0 << 28 << false << -1;
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
        QCOMPARE(window.windowOpacity(), 1.0);
        QVERIFY(!window.windowIcon().isNull());
        fixture.shown();
        QCOMPARE(bool(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint), onTop);
        QCOMPARE(fixture.profile.writeCount(), 0);
    }

    // Before any sample both areas show the button face, the swatch with the
    // icon in its middle; after one, the swatch shows the colour and the
    // magnifier its pixel as a block of the stored factor, even where the list
    // has no such item, with the inverting cross-hair at its corner. The
    // pictures themselves are checked pixel by pixel with the drawing code.
    void paintingShowsSwatchAndMagnifier_data()
    {
        QTest::addColumn<int>("zom");
        QTest::newRow("x3") << 0;
        QTest::newRow("x30") << 27;
        QTest::newRow("index 28, factor 31") << 28;
    }

    void paintingShowsSwatchAndMagnifier()
    {
        QFETCH(int, zom);
        Fixture fixture({{"zom", zom}});
        SamplerWindow &window = fixture.shown();
        const QRgb face = window.palette().color(QPalette::Button).rgb();
        const QRect swatch = Inner(window.colorArea());
        const QRect magnifier = Inner(window.zoomArea());
        const auto grab = [&] {
            return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const auto corners = [](const QRect &r) {
            return QList<QPoint>{r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()};
        };

        const QImage before = grab();
        for (QPoint p : corners(swatch) + corners(magnifier))
            QCOMPARE(before.pixel(p), face);
        QImage plain(32, 32, QImage::Format_RGB32);
        plain.fill(face);
        QVERIFY(before.copy(QRect(swatch.center() - QPoint(15, 15), QSize(32, 32))) != plain);

        fixture.sample();
        const QImage after = grab();
        for (QPoint p : corners(swatch))
            QCOMPARE(after.pixel(p), SAMPLED);
        for (QPoint p : corners(magnifier))
            QCOMPARE(after.pixel(p), AROUND);
        const int factor = zom + 3;
        const int cx = magnifier.left() + magnifier.width() / 2;
        const int cy = magnifier.top() + magnifier.height() / 2;
        int first = cx, last = cx;
        while (after.pixel(first - 1, cy) == SAMPLED)
            --first;
        while (after.pixel(last + 1, cy) == SAMPLED)
            ++last;
        QCOMPARE(last - first + 1, factor);
        QCOMPARE(first, cx - factor / 2);
        QCOMPARE(after.pixel(first, cy - factor / 2), SAMPLED ^ 0x00ffffffu);
    }

    void dragSamplesWhileHeldAnywhere()
    {
        Fixture fixture;
        SamplerWindow &window = fixture.shown();
        QWindow *handle = window.windowHandle();
        const QPoint far(window.width() + 300, -200);
        fixture.screen = DesktopWithPixelAt(window.clientToScreen(far));

        // Pressed over the zoom area's frame, the window takes the press.
        QTest::mousePress(handle, Qt::LeftButton, {}, window.zoomArea()->geometry().center());
        QVERIFY(window.sampler().Dragging());
        QVERIFY(fixture.pointer->captured);
        QCOMPARE(fixture.pointer->shown.value().hotSpot(), QPoint(15, 15));
        QVERIFY(window.field(FIELD_RED)->text().isEmpty()); // no sample at the press

        QTest::mouseMove(handle, far);
        QCOMPARE(window.field(FIELD_HEX)->text(), QString("ff8000"));

        QTest::mouseRelease(handle, Qt::LeftButton, {}, far);
        QVERIFY(!window.sampler().Dragging());
        QVERIFY(!fixture.pointer->captured);
        QVERIFY(!fixture.pointer->shown.has_value()); // the cursor from before

        // Without the button nothing samples.
        fixture.screen.clearCalls();
        QTest::mouseMove(handle, QPoint(5, 5));
        QVERIFY(fixture.screen.calls().empty());
    }

    void pressOutsideTheAreasStartsNoDrag_data()
    {
        QTest::addColumn<int>("control"); // 0: the window's own background
        QTest::addColumn<int>("buttonValue");
        QTest::newRow("background") << 0 << int(Qt::LeftButton);
        QTest::newRow("copy button") << int(IDC_COPYRED) << int(Qt::LeftButton);
        QTest::newRow("zoom list") << int(IDC_ZOOMLIST) << int(Qt::LeftButton);
        QTest::newRow("middle button in the swatch") << int(IDC_COLORAREA) << int(Qt::MiddleButton);
    }

    void pressOutsideTheAreasStartsNoDrag()
    {
        QFETCH(int, control);
        QFETCH(int, buttonValue);
        Fixture fixture;
        SamplerWindow &window = fixture.shown();
        const QRect zoomArea = window.zoomArea()->geometry();
        // The background between the zoom area and the first copy button.
        const QPoint at = control ? ControlById(window, control)->geometry().center()
                                  : QPoint(zoomArea.right() + 2, zoomArea.center().y());
        QTest::mousePress(window.windowHandle(), Qt::MouseButton(buttonValue), {}, at);
        QVERIFY(!window.sampler().Dragging());
        QCOMPARE(fixture.pointer->captureCalls, 0);
        QTest::mouseRelease(window.windowHandle(), Qt::MouseButton(buttonValue), {}, at);
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

    void topmostBoxSwitchesInPlaceAndStores()
    {
        Fixture fixture;
        SamplerWindow &window = fixture.shown();
        QWindow *handle = window.windowHandle();
        const WId id = window.winId();

        window.topmostCheck()->click();
        QVERIFY(handle->flags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(fixture.stored("aot"), 1);
        QCOMPARE(fixture.profile.writeCount(), 1);
        window.topmostCheck()->click();
        QVERIFY(!(handle->flags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(fixture.stored("aot"), 0);
        QCOMPARE(fixture.profile.writeCount(), 2);

        // The same window all along, never hidden.
        QCOMPARE(window.windowHandle(), handle);
        QCOMPARE(window.winId(), id);
        QVERIFY(window.isVisible());
    }

    // A move repaints the swatch inside its frame, never the frame, and the
    // zoom area; a zoom change stores it and repaints the zoom area without
    // reading the screen (besides it only controls whose focus changed).
    void repaintsOnlyWhatChanged()
    {
        Fixture fixture;
        SamplerWindow &window = fixture.shown(true);
        const QRegion swatch(Inner(window.colorArea()));
        const QRegion zoomArea(window.zoomArea()->geometry());
        PaintLog log(window);
        fixture.sample();
        QRegion painted = log.take();
        QCOMPARE(painted & swatch, swatch);
        QCOMPARE(painted & zoomArea, zoomArea);
        QVERIFY(!painted.intersects(QRegion(window.colorArea()->geometry()) - swatch));

        fixture.screen.clearCalls();
        window.zoomList()->setFocus();
        QTest::keyClick(window.zoomList(), Qt::Key_Down);
        QCOMPARE(fixture.stored("zom"), 1);
        painted = log.take();
        QCOMPARE(painted & zoomArea, zoomArea);
        QVERIFY(!painted.intersects(window.colorArea()->geometry()));
        QVERIFY(fixture.screen.calls().empty());
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
    }

    // The first turn anywhere over the window only focuses the list; further
    // turns step it, one item a notch, wherever the pointer is, each step
    // stored at once.
    void wheelFocusesTheListThenSteps()
    {
        Fixture fixture;
        SamplerWindow &window = fixture.shown(true);
        QComboBox *list = window.zoomList();
        window.field(FIELD_HEX)->setFocus();

        Wheel(list, -120);
        QVERIFY(list->hasFocus());
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(fixture.profile.writeCount(), 0);

        Wheel(window.field(FIELD_RED), -120); // towards the user: larger factors
        QCOMPARE(list->currentIndex(), 1);
        QCOMPARE(fixture.stored("zom"), 1);
        Wheel(&window, -240);
        QCOMPARE(list->currentIndex(), 3);
        QCOMPARE(fixture.stored("zom"), 3);

        // Half notches add up.
        Wheel(window.button(ID_CANCEL), 60);
        QCOMPARE(list->currentIndex(), 3);
        Wheel(window.button(ID_CANCEL), 60);
        QCOMPARE(list->currentIndex(), 2);

        // Clamped at both ends, with nothing written when nothing changes.
        Wheel(&window, 120 * 10);
        QCOMPARE(list->currentIndex(), 0);
        const int writes = fixture.profile.writeCount();
        Wheel(&window, 120);
        Wheel(&window, -120 * 40);
        Wheel(&window, -120);
        QCOMPARE(list->currentIndex(), 27);
        QCOMPARE(fixture.profile.writeCount(), writes + 1);
        QCOMPARE(fixture.stored("zom"), 27);

        // Moving the focus away makes the next turn a focusing one again.
        window.field(FIELD_RED)->setFocus();
        Wheel(&window, 120);
        QCOMPARE(list->currentIndex(), 27);
        QVERIFY(list->hasFocus());
    }

    void keysAndCommandsClose_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("focusId"); // 0: focus left where it is
        QTest::addColumn<int>("result");  // -1: the window stays
        const int accepted = QDialog::Accepted;
        const int rejected = QDialog::Rejected;
        QTest::newRow("Enter in a field") << "enter" << int(FIELD_POVRAY) << accepted;
        QTest::newRow("Return on a copy button copies") << "return" << int(IDC_COPYGREEN) << -1;
        QTest::newRow("Enter on the check box") << "enter" << int(IDC_TOPMOST) << accepted;
        QTest::newRow("Return on the zoom list") << "return" << int(IDC_ZOOMLIST) << accepted;
        QTest::newRow("Return on Exit") << "return" << int(ID_CANCEL) << rejected;
        QTest::newRow("Escape") << "escape" << int(FIELD_HEX) << rejected;
        QTest::newRow("Exit") << "exit" << 0 << rejected;
        QTest::newRow("close box") << "close" << 0 << rejected;
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
        const int writes = fixture.profile.writeCount();
        window.setResult(-1);
        QGuiApplication::clipboard()->setText(UNTOUCHED);

        QWidget *target = focusId ? ControlById(window, focusId) : &window;
        target->setFocus();
        if (how == "enter")
            QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        else if (how == "return")
            QTest::keyClick(target, Qt::Key_Return);
        else if (how == "escape")
            QTest::keyClick(target, Qt::Key_Escape);
        else if (how == "exit")
            window.button(ID_CANCEL)->click();
        else
            window.close();

        QCOMPARE(window.isVisible(), result == -1);
        QCOMPARE(window.result(), result);
        QCOMPARE(QGuiApplication::clipboard()->text(), result == -1 ? "128" : UNTOUCHED);
        fixture.window.reset();
        QCOMPARE(fixture.profile.writeCount(), writes); // nothing saved at close
    }
};

QTEST_MAIN(TestSamplerWindow)
#include "test_sampler_window.moc"
