#include "window/sampler_window.h"

#include "resources/dialog_template.h"
#include "resources/pictures.h"
#include "resources/resource_ids.h"
#include "resources/zoom_items.h"
#include "sampling/magnifier.h"
#include "screen/picture_source.h"
#include "settings/settings_store.h"
#include "widgets/dialog_builder.h"
#include "widgets/read_only_ascii_field.h"
#include "window/picture_overlay.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWindow>

#include <algorithm>

namespace
{

// One notch of an ordinary mouse wheel, in eighths of a degree.
constexpr int WHEEL_NOTCH = 120;

} // namespace

SamplerWindow::SamplerWindow(SettingsStore &settings, ScreenSource &screen, QWidget *parent)
    : QDialog(parent), Controls(buildDialog(*this, samplerWindowTemplate())),
      TopmostCheck(control<QCheckBox>(IDC_TOPMOST)), ZoomList(control<QComboBox>(IDC_ZOOMLIST)),
      ColorArea(control<QWidget>(IDC_COLORAREA)), ZoomArea(control<QWidget>(IDC_ZOOMAREA)),
      Settings(settings),
      Session(screen, palette().color(QPalette::Button).rgb(),
              {[this](QPointF global) { return desktopPixel(global); },
               [this] {
                   return captureRadiusShown(
                       innerDeviceRect(ZoomArea->geometry(), devicePixelRatioF()).size());
               },
               ExactPointer, warpPointer, [this] { sessionChanged(); }}),
      Picture(dynamic_cast<const PictureSource *>(&screen)),
      SwatchIcon(iconPicture(IDI_APP).toImage())
{
    // Over the magnifier and the fields, whose colour is a while old then.
    QRect noteArea = ZoomArea->geometry();
    for (std::size_t i = 0; i < COLOR_FORMAT_COUNT; ++i) {
        const ColorFormat &format = COLOR_FORMATS[i];
        ReadOnlyAsciiField *field = Fields[i] = control<ReadOnlyAsciiField>(format.fieldId);
        auto *button = control<QPushButton>(format.buttonId);
        button->setText(QCoreApplication::translate(COLOR_FORMAT_CONTEXT, format.caption));
        // Selecting all leaves the caret at the end, scrolled into view; an
        // empty field has no selection and leaves the clipboard alone.
        connect(button, &QPushButton::clicked, field, [field] {
            field->selectAll();
            field->copy();
        });
        noteArea |= field->geometry() | button->geometry();
    }
    Note.place(noteArea);
    // A press over either area reaches the window, which starts sampling.
    ColorArea->setAttribute(Qt::WA_TransparentForMouseEvents);
    ZoomArea->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (int index = 0; index < ZOOM_ITEM_COUNT; ++index)
        ZoomList->addItem(zoomItemText(index));
    // Qt would focus the list on a wheel turn over it, and so skip the turn
    // that only focuses it.
    ZoomList->setFocusPolicy(Qt::StrongFocus);

    // Not shown yet, so the flag goes into the window as it is created.
    const int onTop = Settings.GetInt(QLatin1String(SETTINGS_SECTION_WINDOW),
                                      QLatin1String(SETTINGS_ENTRY_ALWAYS_ON_TOP), 0);
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop != 0);
    TopmostCheck->setChecked(onTop != 0);
    syncZoom();
    setWindowOpacity(ACTIVE_ALPHA / 255.0);

    connect(TopmostCheck, &QCheckBox::clicked, this, [this](bool checked) {
        setAlwaysOnTop(checked);
        store(SETTINGS_ENTRY_ALWAYS_ON_TOP, checked ? 1 : 0);
    });
    connect(ZoomList, &QComboBox::currentIndexChanged, this, [this](int index) {
        UnstoredZoom.reset();
        if (!store(SETTINGS_ENTRY_ZOOM, index))
            UnstoredZoom = index;
        // The capture stays; only its enlargement changes.
        update(ZoomArea->geometry());
    });
    // A wheel turn goes to whatever is under the pointer; the window wants
    // every turn over any of its controls.
    qApp->installEventFilter(this);
}

SamplerWindow::~SamplerWindow()
{
    qApp->removeEventFilter(this);
    if (PointerHeld)
        QGuiApplication::restoreOverrideCursor();
}

// The zoom is read before every paint, so that another instance's choice
// shows in the magnifier and in the list without being stored again, and the
// list is never changed while the window paints.
bool SamplerWindow::event(QEvent *event)
{
    if (event->type() == QEvent::UpdateRequest)
        syncZoom();
    return QDialog::event(event);
}

// A choice that could not be stored rules this run; the file stays as it is.
// An index outside the list reads as the default, as anything unreadable does.
void SamplerWindow::syncZoom()
{
    ZoomIndex = UnstoredZoom.value_or(Settings.GetInt(QLatin1String(SETTINGS_SECTION_WINDOW),
                                                      QLatin1String(SETTINGS_ENTRY_ZOOM), 0));
    if (ZoomIndex < 0 || ZoomIndex >= ZOOM_ITEM_COUNT)
        ZoomIndex = 0;
    if (ZoomIndex != ZoomList->currentIndex()) {
        const QSignalBlocker quiet(ZoomList);
        ZoomList->setCurrentIndex(ZoomIndex);
    }
}

void SamplerWindow::paintEvent(QPaintEvent *event)
{
    // The background is already in place; the frames draw only their edges.
    QPainter painter(this);
    const DragSampler &sampler = Session.sampler();
    if (event->region().intersects(ColorArea->geometry()))
        DrawSwatch(painter, ColorArea->geometry(), sampler.currentColor(), SwatchIcon);
    if (event->region().intersects(ZoomArea->geometry()))
        DrawMagnifier(painter, ZoomArea->geometry(), sampler.captureBuffer(), ZoomIndex);
}

QPoint SamplerWindow::desktopPixel(QPointF global)
{
    const QPoint mapped =
        physicalFromLogical(Screens.infos(), global, Screens.indexOf(windowHandle()->screen()));
    return pointerPixel(mapped, devicePixelRatioF(), ExactPointer);
}

// The session changed: the window takes the pointer while sampling holds it,
// shows a new colour, and says what kept the source from getting ready.
void SamplerWindow::sessionChanged()
{
    // Tracking gives click-sampling its moves with no button held; while a
    // drag holds the button it would only add events.
    setMouseTracking(Session.gesture() == SamplingSession::State::Click);
    if (Session.holdsPointer() != PointerHeld) {
        PointerHeld = Session.holdsPointer();
        Menu.setSuspended(PointerHeld);
        if (PointerHeld) {
            grabMouse();
            QGuiApplication::setOverrideCursor(samplerCursor());
        } else {
            PressedIn = nullptr;
            if (mouseGrabber() == this)
                releaseMouse();
            QGuiApplication::restoreOverrideCursor();
        }
    }
    if (Session.shownCount() != ShownCount) {
        ShownCount = Session.shownCount();
        update(insideFrame(ColorArea->geometry()));
        update(insideFrame(ZoomArea->geometry()));
        const ColorTexts &texts = Session.texts();
        for (std::size_t i = 0; i < COLOR_FORMAT_COUNT; ++i)
            Fields[i]->setText(texts[i]);
        if (Overlay)
            Overlay->ownerChanged();
    }
    Note.setWaiting(Session.state() == SamplingSession::State::Waiting);
    showOverlay(Picture && Session.state() == SamplingSession::State::Click);
    if (const std::optional<SourceReadiness> problem = Session.takeProblem())
        tell(sourceProblemNotice(*problem), sourceProblemButton(*problem, Session.source()));
}

// Through XWayland no move over another program's Wayland window reaches us
// while no button is held, and a click there goes to that program: while
// click-sampling from a picture, the picture covers the desktop in a window of
// ours, which every move and the ending click reach, through our grab.
void SamplerWindow::showOverlay(bool on)
{
    if (on == (Overlay && Overlay->isVisible()))
        return;
    if (!on)
        return Overlay->hide();
    if (!Overlay)
        Overlay = new PictureOverlay(this);
    Overlay->showPicture(Picture->picture(), Screens.infos());
}

// No window of ours opens while sampling holds the pointer: nothing could be
// clicked in it, nor anywhere else. Sampling ends first, keeping its colour.
void SamplerWindow::tell(const QString &notice, const NoticeButton &button)
{
    if (Session.holdsPointer())
        Session.keep();
    showNotice(this, notice, button);
}

// However the window closes (also on a signal), sampling ends first and gives
// back the pointer and the cursor.
void SamplerWindow::done(int result)
{
    if (Session.holdsPointer())
        Session.keep();
    QDialog::done(result);
}

bool SamplerWindow::mayStartSampling()
{
    if (Access == ScreenAccess::Readable)
        return true;
    // Said once, without waiting for the message to be closed; after that,
    // drags go on through XWayland, where other X11 windows read true.
    if (!AccessTold) {
        AccessTold = true;
        tell(unreadableScreenNotice(Access));
        return false;
    }
    return Access == ScreenAccess::OnlyX11Windows;
}

// Said once a run: every later change fails alike.
bool SamplerWindow::store(const char *entry, int value)
{
    const QString problem =
        Settings.WriteInt(QLatin1String(SETTINGS_SECTION_WINDOW), QLatin1String(entry), value);
    if (!problem.isEmpty() && !std::exchange(StoreTold, true))
        tell(settingsNotStoredNotice(QDir::toNativeSeparators(Settings.location()), problem));
    return problem.isEmpty();
}

void SamplerWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        QWidget *area = ColorArea->geometry().contains(at)  ? ColorArea
                        : ZoomArea->geometry().contains(at) ? ZoomArea
                                                            : nullptr;
        const bool starts = area && Session.state() == SamplingSession::State::Off;
        if (!starts || mayStartSampling()) {
            Session.press(mapToGlobal(event->position()), area != nullptr);
            if (Session.holdsPointer()) {
                PressedIn = area;
                // Again after a release that went elsewhere.
                grabMouse();
            }
        }
    }
    QDialog::mousePressEvent(event);
}

void SamplerWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (PressedIn && !PressedIn->geometry().contains(event->position().toPoint()))
        PressedIn = nullptr;
    Session.move(mapToGlobal(event->position()));
    QDialog::mouseMoveEvent(event);
}

void SamplerWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Session.release(PressedIn && PressedIn->geometry().contains(event->position().toPoint()));
    QDialog::mouseReleaseEvent(event);
}

void SamplerWindow::keyPressEvent(QKeyEvent *event)
{
    // No button is the default, so QDialog would ignore Enter. A focused push
    // button takes it as a click; anywhere else it is the OK command.
    const bool enter = event->key() == Qt::Key_Enter || event->key() == Qt::Key_Return;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget()))
            focused->click();
        else
            accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// While sampling the keys belong to sampling, whichever control has the focus:
// Escape and Enter must not close the window, nor the arrows step the list.
bool SamplerWindow::keyWhileSampling(QKeyEvent *event)
{
    event->accept();
    if (event->type() == QEvent::ShortcutOverride)
        return true;
    const int steps = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    QPoint step;
    switch (event->key()) {
    case Qt::Key_Escape:
        Session.undo();
        break;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        Session.keep();
        break;
    case Qt::Key_Left:
        step = {-steps, 0};
        break;
    case Qt::Key_Right:
        step = {steps, 0};
        break;
    case Qt::Key_Up:
        step = {0, -steps};
        break;
    case Qt::Key_Down:
        step = {0, steps};
        break;
    default:
        break;
    }
    if (!step.isNull() && !Session.nudge(step))
        QCursor::setPos(QCursor::pos() + step);
    return true;
}

void SamplerWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        setWindowOpacity((isActiveWindow() ? ACTIVE_ALPHA : INACTIVE_ALPHA) / 255.0);
}

bool SamplerWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QWidget *window =
        watched->isWidgetType() ? static_cast<QWidget *>(watched)->window() : nullptr;
    const bool ours = window && (window == this || window == Overlay);
    if (ours && Session.holdsPointer() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride))
        return keyWhileSampling(static_cast<QKeyEvent *>(event));
    // A menu would open under our grab: the right button, the Menu key and
    // Shift+F10 do nothing while sampling.
    if (ours && Session.holdsPointer() && event->type() == QEvent::ContextMenu)
        return true;
    if (ours && event->type() == QEvent::Wheel)
        return wheelOverWindow(static_cast<QWheelEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

bool SamplerWindow::wheelOverWindow(QWheelEvent *event)
{
    event->accept();
    // The first turn only gives the list the focus, wherever the pointer is.
    if (!ZoomList->hasFocus()) {
        WheelRemainder = 0;
        ZoomList->setFocus(Qt::MouseFocusReason);
        return true;
    }
    // Turning away from the user goes up the list, to smaller factors.
    WheelRemainder += event->angleDelta().y();
    const int notches = WheelRemainder / WHEEL_NOTCH;
    WheelRemainder %= WHEEL_NOTCH;
    if (notches != 0)
        ZoomList->setCurrentIndex(
            std::clamp(ZoomList->currentIndex() - notches, 0, ZoomList->count() - 1));
    return true;
}

void SamplerWindow::setAlwaysOnTop(bool on)
{
    // On a window that exists, the handle's flag switches the window
    // manager's state in place; the widget's own setter would recreate the
    // window. The widget keeps the flag in step for whatever reads it later.
    overrideWindowFlags(on ? windowFlags() | Qt::WindowStaysOnTopHint
                           : windowFlags() & ~Qt::WindowStaysOnTopHint);
    if (QWindow *handle = windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
}
