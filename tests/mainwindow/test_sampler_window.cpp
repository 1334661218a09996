#include "sampler_window_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

namespace
{

constexpr QRgb SAMPLED = qRgb(255, 128, 0);
constexpr QRgb AROUND = qRgb(12, 34, 56);
const QString UNTOUCHED = QStringLiteral("clipboard before the click");

// The inner rectangle of a frame, where its area is drawn.
QRect Inner(const QFrame *frame)
{
    return frame->geometry().adjusted(3, 3, -3, -3);
}

// A client point in the middle of a frame.
QPoint Middle(const QFrame *frame)
{
    return frame->geometry().center();
}

// A desktop that is AROUND everywhere except the one pixel at screenPoint.
FakeScreenSource DesktopWithPixelAt(QPoint screenPoint)
{
    QImage image(61, 61, QImage::Format_RGB32);
    image.fill(AROUND);
    image.setPixel(30, 30, SAMPLED);
    return FakeScreenSource(image, screenPoint - QPoint(30, 30));
}

int Stored(const FakeProfile &profile, const char *entry)
{
    return profile.value(QStringLiteral("win"), QLatin1String(entry)).value_or(-999);
}

void ShowActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

void Wheel(QWidget *target, int angleDelta)
{
    const QPointF local(2, 2);
    QWheelEvent event(local, target->mapToGlobal(local), QPoint(), QPoint(0, angleDelta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// Collects the regions of the window's paint events.
class PaintLog : public QObject
{
public:
    explicit PaintLog(QWidget &window) { window.installEventFilter(this); }
    QList<QRegion> regions;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            regions << static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

} // namespace

class TestSamplerWindow : public QObject
{
    Q_OBJECT

    // Shows the window and drags from the colour area to a client point
    // outside the window, over a desktop that has SAMPLED right there.
    static void SampleOutside(SamplerWindowFixture &fixture)
    {
        SamplerWindow &window = *fixture.window;
        QWindow *handle = window.windowHandle();
        const QPoint outside(-40, window.height() + 25);
        fixture.screen = DesktopWithPixelAt(window.clientToScreen(outside));
        QTest::mousePress(handle, Qt::LeftButton, {}, Middle(window.colorArea()));
        QTest::mouseMove(handle, outside);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, outside);
    }

private Q_SLOTS:
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
        SamplerWindowFixture fixture;
        if (aot != -1)
            fixture.profile.set("win", "aot", aot);
        if (zom != -1000)
            fixture.profile.set("win", "zom", zom);
        SamplerWindow &window = fixture.create();

        // Settled before the window is first shown.
        QCOMPARE(bool(window.windowFlags() & Qt::WindowStaysOnTopHint), onTop);
        QCOMPARE(window.topmostCheck()->isChecked(), onTop);
        QCOMPARE(window.zoomList()->currentIndex(), listIndex);
        QCOMPARE(window.windowOpacity(), 1.0);
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(window.sampler().CurrentColor(),
                 MakeColorRef(window.palette().color(QPalette::Button).red(),
                              window.palette().color(QPalette::Button).green(),
                              window.palette().color(QPalette::Button).blue()));
        QCOMPARE(fixture.profile.writeCount(), 0);

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(bool(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint), onTop);
        QCOMPARE(fixture.profile.writeCount(), 0);
    }

    // Before any sample both areas show the button face (the swatch with the
    // icon in its middle, the magnifier a plain square with its cross-hair);
    // after one, the swatch shows the colour and the magnifier its pixel as a
    // block of the stored factor, even where the list has no such item.
    void paintingShowsSwatchAndMagnifier_data()
    {
        QTest::addColumn<int>("zom");
        QTest::newRow("x3") << 0;
        QTest::newRow("x10") << 7;
        QTest::newRow("x30") << 27;
        QTest::newRow("index 28, factor 31") << 28;
    }

    void paintingShowsSwatchAndMagnifier()
    {
        QFETCH(int, zom);
        SamplerWindowFixture fixture;
        fixture.profile.set("win", "zom", zom);
        SamplerWindow &window = fixture.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRgb face = window.palette().color(QPalette::Button).rgb();
        const QRect swatch = Inner(window.colorArea());
        const QRect magnifier = Inner(window.zoomArea());

        QImage before = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (QPoint p : {swatch.topLeft(), swatch.topRight(), swatch.bottomLeft(),
                         swatch.bottomRight(), magnifier.topLeft(), magnifier.bottomRight()})
            QCOMPARE(before.pixel(p), face);
        // The icon sits in the middle of the swatch.
        const QRect icon(swatch.center() - QPoint(15, 15), QSize(32, 32));
        bool iconShows = false;
        for (int y = icon.top(); y <= icon.bottom(); ++y) {
            for (int x = icon.left(); x <= icon.right(); ++x)
                iconShows = iconShows || before.pixel(x, y) != face;
        }
        QVERIFY(iconShows);

        SampleOutside(fixture);
        QImage after = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The frames, painted over the window, leave every inner edge alone.
        for (int x = swatch.left(); x <= swatch.right(); ++x) {
            QCOMPARE(after.pixel(x, swatch.top()), SAMPLED);
            QCOMPARE(after.pixel(x, swatch.bottom()), SAMPLED);
        }
        for (int y = swatch.top(); y <= swatch.bottom(); ++y) {
            QCOMPARE(after.pixel(swatch.left(), y), SAMPLED);
            QCOMPARE(after.pixel(swatch.right(), y), SAMPLED);
        }
        QCOMPARE(after.pixel(magnifier.topLeft()), AROUND);
        QCOMPARE(after.pixel(magnifier.bottomRight()), AROUND);

        // Along the middle row the sampled pixel is one run of factor pixels
        // around the middle; the cross-hair runs above and below it.
        const int factor = zom + 3;
        const int cx = magnifier.left() + magnifier.width() / 2;
        const int cy = magnifier.top() + magnifier.height() / 2;
        int first = cx;
        while (after.pixel(first - 1, cy) == SAMPLED)
            --first;
        int last = cx;
        while (after.pixel(last + 1, cy) == SAMPLED)
            ++last;
        QCOMPARE(last - first + 1, factor);
        QCOMPARE(first, cx - factor / 2);
    }

    void dragSamplesWhileHeldAnywhere()
    {
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWindow *handle = window.windowHandle();
        const QPoint far(window.width() + 300, -200);
        fixture.screen = DesktopWithPixelAt(window.clientToScreen(far));

        // Pressed over the zoom area's frame, the window takes the press.
        QTest::mousePress(handle, Qt::LeftButton, {}, Middle(window.zoomArea()));
        QVERIFY(window.sampler().Dragging());
        QVERIFY(fixture.pointer->captured);
        QVERIFY(fixture.pointer->shown.has_value());
        QCOMPARE(fixture.pointer->shown->hotSpot(), QPoint(15, 15));
        QVERIFY(window.field(FIELD_RED)->text().isEmpty()); // no sample at the press

        QTest::mouseMove(handle, far);
        QCOMPARE(window.field(FIELD_RED)->text(), QString("255"));
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
        QTest::newRow("text field") << int(FIELD_HEX) << int(Qt::LeftButton);
        QTest::newRow("zoom list") << int(IDC_ZOOMLIST) << int(Qt::LeftButton);
        QTest::newRow("middle button in the swatch") << int(IDC_COLORAREA) << int(Qt::MiddleButton);
    }

    void pressOutsideTheAreasStartsNoDrag()
    {
        QFETCH(int, control);
        QFETCH(int, buttonValue);
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPoint at;
        if (control == 0) // between the zoom area and the first copy button
            at = QPoint(window.zoomArea()->geometry().right() + 2, Middle(window.zoomArea()).y());
        else if (control == IDC_ZOOMLIST)
            at = window.zoomList()->geometry().center();
        else if (control == IDC_COLORAREA)
            at = Middle(window.colorArea());
        else if (QWidget *target = window.field(control))
            at = target->geometry().center();
        else
            at = window.button(control)->geometry().center();
        QCOMPARE(window.childAt(at) == nullptr, control == 0 || control == IDC_COLORAREA);

        const auto button = Qt::MouseButton(buttonValue);
        QTest::mousePress(window.windowHandle(), button, {}, at);
        QVERIFY(!window.sampler().Dragging());
        QCOMPARE(fixture.pointer->captureCalls, 0);
        QTest::mouseRelease(window.windowHandle(), button, {}, at);
    }

    void pressAndReleaseWithoutMoveChangesNothing()
    {
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage buffer = window.sampler().CaptureBuffer().copy();
        const COLORREF color = window.sampler().CurrentColor();
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, Middle(window.zoomArea()));
        QVERIFY(fixture.screen.calls().empty());
        QCOMPARE(window.sampler().CurrentColor(), color);
        QCOMPARE(window.sampler().CaptureBuffer(), buffer);
        for (FieldId id : TEXT_FIELD_IDS)
            QVERIFY(window.field(id)->text().isEmpty());
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
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QClipboard *clipboard = QGuiApplication::clipboard();

        // Before any sample every field is empty and nothing is copied.
        clipboard->setText(UNTOUCHED);
        QTest::mouseClick(window.button(button), Qt::LeftButton);
        QCOMPARE(clipboard->text(), UNTOUCHED);

        SampleOutside(fixture);
        QTest::mouseClick(window.button(button), Qt::LeftButton);
        QCOMPARE(clipboard->text(), text);
    }

    void topmostBoxSwitchesInPlaceAndStores()
    {
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWindow *handle = window.windowHandle();
        const WId id = window.winId();

        window.topmostCheck()->click();
        QVERIFY(handle->flags() & Qt::WindowStaysOnTopHint);
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(Stored(fixture.profile, "aot"), 1);
        QCOMPARE(fixture.profile.writeCount(), 1);

        window.topmostCheck()->click();
        QVERIFY(!(handle->flags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(Stored(fixture.profile, "aot"), 0);
        QCOMPARE(fixture.profile.writeCount(), 2);

        // The same window all along, never hidden.
        QCOMPARE(window.windowHandle(), handle);
        QCOMPARE(window.winId(), id);
        QVERIFY(window.isVisible());
    }

    void zoomChangeStoresAndRepaintsTheMagnifierAlone()
    {
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        ShowActive(window);
        SampleOutside(fixture);
        PaintLog log(window);
        QApplication::processEvents();
        log.regions.clear();
        fixture.screen.clearCalls();

        window.zoomList()->setFocus();
        QTest::keyClick(window.zoomList(), Qt::Key_Down);
        QCOMPARE(window.zoomList()->currentIndex(), 1);
        QCOMPARE(Stored(fixture.profile, "zom"), 1);
        // Besides the zoom area only the controls whose focus changed repaint.
        const QRegion zoomArea(window.zoomArea()->geometry());
        QTRY_VERIFY(!log.regions.isEmpty());
        QRegion painted;
        for (const QRegion &region : log.regions)
            painted += region;
        QCOMPARE(painted.intersected(zoomArea), zoomArea);
        QVERIFY(!painted.intersects(window.colorArea()->geometry()));
        QVERIFY(fixture.screen.calls().empty());
    }

    void moveRepaintsTheSwatchInsideItsFrameAndTheMagnifier()
    {
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        PaintLog log(window);
        QApplication::processEvents();
        log.regions.clear();
        SampleOutside(fixture);
        QTRY_VERIFY(!log.regions.isEmpty());
        QRegion painted;
        for (const QRegion &region : log.regions)
            painted += region;
        // The swatch inside its frame, never the frame itself; the whole
        // zoom area.
        const QRegion swatch(Inner(window.colorArea()));
        const QRegion zoomArea(window.zoomArea()->geometry());
        QCOMPARE(painted.intersected(swatch), swatch);
        QCOMPARE(painted.intersected(zoomArea), zoomArea);
        QVERIFY(!painted.intersects(QRegion(window.colorArea()->geometry()) - swatch));
    }

    void opacityFollowsActivation()
    {
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        ShowActive(window);
        QCOMPARE(window.windowOpacity(), 1.0);

        QWidget other;
        ShowActive(other);
        QTRY_VERIFY(!window.isActiveWindow());
        QCOMPARE(window.windowOpacity(), 80 / 255.0);

        window.topmostCheck()->click();
        ShowActive(window);
        QCOMPARE(window.windowOpacity(), 1.0);
        ShowActive(other);
        QCOMPARE(window.windowOpacity(), 80 / 255.0);
    }

    // The first turn anywhere over the window only focuses the list; further
    // turns step it, one item a notch, wherever the pointer is.
    void wheelFocusesTheListThenSteps()
    {
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        ShowActive(window);
        QComboBox *list = window.zoomList();
        window.field(FIELD_HEX)->setFocus();
        QVERIFY(!list->hasFocus());

        Wheel(list, -120);
        QVERIFY(list->hasFocus());
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(fixture.profile.writeCount(), 0);

        Wheel(window.field(FIELD_RED), -120); // towards the user: larger factors
        QCOMPARE(list->currentIndex(), 1);
        QCOMPARE(Stored(fixture.profile, "zom"), 1);
        Wheel(&window, -240);
        QCOMPARE(list->currentIndex(), 3);
        QCOMPARE(Stored(fixture.profile, "zom"), 3);

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
        QCOMPARE(list->currentIndex(), 0);
        Wheel(&window, -120 * 40);
        QCOMPARE(list->currentIndex(), 27);
        Wheel(&window, -120);
        QCOMPARE(list->currentIndex(), 27);
        QCOMPARE(fixture.profile.writeCount(), writes + 1);
        QCOMPARE(Stored(fixture.profile, "zom"), 27);

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
        QTest::addColumn<int>("result");
        const int accepted = QDialog::Accepted;
        const int rejected = QDialog::Rejected;
        QTest::newRow("Enter in a field") << "enter" << int(FIELD_POVRAY) << accepted;
        QTest::newRow("Return in a field") << "return" << int(FIELD_RED) << accepted;
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
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        ShowActive(window);
        SampleOutside(fixture);
        window.zoomList()->setCurrentIndex(4);
        const int writes = fixture.profile.writeCount();
        window.setResult(-1);

        QWidget *focus = nullptr;
        if (focusId == IDC_TOPMOST)
            focus = window.topmostCheck();
        else if (focusId == IDC_ZOOMLIST)
            focus = window.zoomList();
        else if (focusId != 0)
            focus = window.field(focusId) ? static_cast<QWidget *>(window.field(focusId))
                                          : window.button(focusId);
        if (focus) {
            focus->setFocus();
            QVERIFY(focus->hasFocus());
        }
        QWidget *keyTarget = focus ? focus : &window;
        if (how == "enter")
            QTest::keyClick(keyTarget, Qt::Key_Enter, Qt::KeypadModifier);
        else if (how == "return")
            QTest::keyClick(keyTarget, Qt::Key_Return);
        else if (how == "escape")
            QTest::keyClick(keyTarget, Qt::Key_Escape);
        else if (how == "exit")
            window.button(ID_CANCEL)->click();
        else
            window.close();

        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), result);
        fixture.window.reset();
        QCOMPARE(fixture.profile.writeCount(), writes); // nothing saved at close
    }

    // A push button with the focus takes Enter as a click and the window stays.
    void enterOnACopyButtonCopies_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Return") << int(Qt::Key_Return);
    }

    void enterOnACopyButtonCopies()
    {
        QFETCH(int, key);
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        ShowActive(window);
        SampleOutside(fixture);
        QGuiApplication::clipboard()->setText(UNTOUCHED);
        window.button(IDC_COPYGREEN)->setFocus();
        QTest::keyClick(window.button(IDC_COPYGREEN), Qt::Key(key));
        QVERIFY(window.isVisible());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("128"));
    }
};

QTEST_MAIN(TestSamplerWindow)
#include "test_sampler_window.moc"
