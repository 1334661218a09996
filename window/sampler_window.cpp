#include "window/sampler_window.h"

#include "resources/dialog_template.h"
#include "resources/pictures.h"
#include "resources/resource_ids.h"
#include "resources/zoom_items.h"
#include "sampling/magnifier.h"
#include "settings/settings_store.h"
#include "widgets/color_field.h"
#include "widgets/dialog_builder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWindow>

#include <algorithm>

namespace
{

// The fields that show a colour's texts, in the texts' order.
constexpr std::array<int, 6> TEXT_FIELD_IDS = {IDC_REDTEXT,     IDC_GREENTEXT, IDC_BLUETEXT,
                                               IDC_HASHHEXTEXT, IDC_HEXTEXT,   IDC_POVRAYTEXT};

// Each copy button and the field it copies.
constexpr std::pair<int, int> COPY_BUTTONS[] = {
    {IDC_COPYHASHHEX, IDC_HASHHEXTEXT}, {IDC_COPYHEX, IDC_HEXTEXT},
    {IDC_COPYRED, IDC_REDTEXT},         {IDC_COPYGREEN, IDC_GREENTEXT},
    {IDC_COPYBLUE, IDC_BLUETEXT},       {IDC_COPYPOVRAY, IDC_POVRAYTEXT},
};

// One notch of an ordinary mouse wheel, in eighths of a degree.
constexpr int WHEEL_NOTCH = 120;

QRect Inside(const QWidget *area)
{
    return area->geometry().adjusted(AREA_INSET, AREA_INSET, -AREA_INSET, -AREA_INSET);
}

QString UnreadableScreenMessage(ScreenAccess access)
{
    if (access == ScreenAccess::NoGrab)
        return QStringLiteral(
            "Tintgrabber cannot read the screen on this desktop, so it cannot show the colour "
            "under the pointer.\n\nIt reads the screen on X11 desktops. In a Wayland session, "
            "choose an X11 (Xorg) session when you log in.");
    return QStringLiteral(
        "Tintgrabber runs through XWayland here, which lets it read only the windows of other "
        "X11 programs. Everywhere else on the screen it would read black, not the colour you "
        "see.\n\nTo read the whole screen, choose an X11 (Xorg) session when you log in.");
}

// A message the window goes on without waiting for.
void Notice(QWidget *parent, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("Tintgrabber"), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// What stopped a drag before its first sample; a cancel by the user needs no
// word.
QString SourceProblemMessage(SourceReadiness readiness)
{
    switch (readiness) {
    case SourceReadiness::Refused:
        return QStringLiteral(
            "The desktop refused Tintgrabber a screenshot, so it cannot show the colour under "
            "the pointer.\n\nAllow it where your desktop grants screenshot permission: on "
            "GNOME in Settings, Apps, Tintgrabber (\"Take Screenshots\"); on KDE Plasma in "
            "System Settings, Application Permissions. Then press again.");
    case SourceReadiness::NoPortal:
        return UnreadableScreenMessage(ScreenAccess::OnlyX11Windows);
    case SourceReadiness::TimedOut:
        return QStringLiteral(
            "The desktop did not hand over a screenshot within 5 seconds, so Tintgrabber cannot "
            "show the colour under the pointer. Press again to try once more.");
    case SourceReadiness::Unreadable:
        return QStringLiteral(
            "The desktop's screenshot could not be read, so Tintgrabber cannot show the colour "
            "under the pointer. Press again to try once more.");
    case SourceReadiness::ScaleMismatch:
        return QStringLiteral(
            "The desktop's screenshot is scaled differently across than down, so Tintgrabber "
            "cannot tell which of its pixels lies under the pointer. This happens where the "
            "desktop arranges its screens other than X11 programs see them.");
    default:
        return {};
    }
}

} // namespace

SamplerWindow::SamplerWindow(SettingsStore &settings, ScreenSource &screen, QWidget *parent)
    : QDialog(parent), Controls(buildDialog(*this, samplerWindowTemplate())),
      TopmostCheck(control<QCheckBox>(IDC_TOPMOST)), ZoomList(control<QComboBox>(IDC_ZOOMLIST)),
      ColorArea(control<QWidget>(IDC_COLORAREA)), ZoomArea(control<QWidget>(IDC_ZOOMAREA)),
      Settings(settings), Screen(screen), Sampler(screen, palette().color(QPalette::Button).rgb()),
      SwatchIcon(iconPicture(IDI_APP).toImage())
{
    for (std::size_t i = 0; i < Fields.size(); ++i)
        Fields[i] = control<ColorField>(TEXT_FIELD_IDS[i]);
    // A press over either area reaches the window, which starts the drag.
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
    selectStoredZoom();
    setWindowOpacity(ACTIVE_ALPHA / 255.0);

    connect(TopmostCheck, &QCheckBox::clicked, this, [this](bool checked) {
        setAlwaysOnTop(checked);
        store(SETTINGS_ENTRY_ALWAYS_ON_TOP, checked ? 1 : 0);
    });
    connect(ZoomList, &QComboBox::currentIndexChanged, this, [this](int index) {
        store(SETTINGS_ENTRY_ZOOM, index);
        // The capture stays; only its enlargement changes.
        update(ZoomArea->geometry());
    });
    for (const auto &[buttonId, fieldId] : COPY_BUTTONS) {
        ColorField *field = control<ColorField>(fieldId);
        // Selecting all leaves the caret at the end, scrolled into view; an
        // empty field has no selection and leaves the clipboard alone.
        connect(control<QPushButton>(buttonId), &QPushButton::clicked, field, [field] {
            field->selectAll();
            field->copy();
        });
    }
    // A wheel turn goes to whatever is under the pointer; the window wants
    // every turn over any of its controls.
    qApp->installEventFilter(this);
}

SamplerWindow::~SamplerWindow()
{
    qApp->removeEventFilter(this);
    if (CursorShown)
        QGuiApplication::restoreOverrideCursor();
}

void SamplerWindow::paintEvent(QPaintEvent *event)
{
    // The background is already in place; the frames draw only their edges.
    QPainter painter(this);
    if (event->region().intersects(ColorArea->geometry()))
        DrawSwatch(painter, ColorArea->geometry(), Sampler.currentColor(), SwatchIcon);
    if (event->region().intersects(ZoomArea->geometry()))
        DrawMagnifier(painter, ZoomArea->geometry(), Sampler.captureBuffer(), selectStoredZoom());
}

// The zoom is read from the settings at every paint, so that another
// instance's choice shows at once, in the magnifier and in the list, without
// being stored again. An index outside the list selects nothing; the
// magnifier still draws at it.
int SamplerWindow::selectStoredZoom()
{
    const int zoom = Settings.GetInt(QLatin1String(SETTINGS_SECTION_WINDOW),
                                     QLatin1String(SETTINGS_ENTRY_ZOOM), 0);
    const int item = zoom >= 0 && zoom < ZOOM_ITEM_COUNT ? zoom : -1;
    if (item != ZoomList->currentIndex()) {
        const QSignalBlocker quiet(ZoomList);
        ZoomList->setCurrentIndex(item);
    }
    return zoom;
}

bool SamplerWindow::mayStartDrag()
{
    if (Access == ScreenAccess::Readable)
        return true;
    // Said once, without waiting for the message to be closed; after that,
    // drags go on through XWayland, where other X11 windows read true.
    if (!AccessTold) {
        AccessTold = true;
        Notice(this, UnreadableScreenMessage(Access));
        return false;
    }
    return Access == ScreenAccess::OnlyX11Windows;
}

void SamplerWindow::startSampling(QWidget *area, QPointF global)
{
    const bool starting = Mode == Sampling::Off;
    if (starting) {
        Before = Sampler.shown();
        for (std::size_t i = 0; i < Fields.size(); ++i)
            TextsBefore[i] = Fields[i]->text();
        LastPoint.reset();
    }
    Mode = Sampling::Drag;
    PressedIn = area;
    LastPointer = global;
    grabMouse();
    // A press during a drag whose release went elsewhere keeps the one cursor
    // shown, so the end puts back the cursor from before.
    if (!CursorShown)
        QGuiApplication::setOverrideCursor(samplerCursor());
    CursorShown = true;
    if (starting) {
        SampleWhenReady = true;
        AwaitingSource = Preparing = true;
        Screen.prepare(this, [this](SourceReadiness readiness) { sourcePrepared(readiness); });
        Preparing = false;
    }
}

// A live source is ready at once, and the first sample comes with the first
// move; a desktop's screenshot may take a while, and then the pointer's place
// is sampled at once, also where sampling ended meanwhile (not where Escape
// undid it).
void SamplerWindow::sourcePrepared(SourceReadiness readiness)
{
    AwaitingSource = false;
    if (readiness == SourceReadiness::Ready) {
        if (!Preparing && SampleWhenReady)
            samplePointer(LastPointer);
        return;
    }
    stopSampling();
    if (readiness != SourceReadiness::Cancelled)
        Notice(this, SourceProblemMessage(readiness));
}

void SamplerWindow::samplePointer(QPointF global)
{
    const QPoint mapped =
        physicalFromLogical(Screens.infos(), global, Screens.indexOf(windowHandle()->screen()));
    sampleAt(Screen.sourcePixel(pointerPixel(mapped, devicePixelRatioF(), ExactPointer)));
}

void SamplerWindow::sampleAt(QPoint sourcePixel)
{
    LastPoint = sourcePixel;
    const int radius =
        captureRadiusShown(innerDeviceRect(ZoomArea->geometry(), devicePixelRatioF()).size());
    showColor(FormatColorTexts(Sampler.sample(sourcePixel, radius)));
}

void SamplerWindow::showColor(const ColorTexts &texts)
{
    update(Inside(ColorArea));
    update(Inside(ZoomArea));
    for (std::size_t i = 0; i < texts.size(); ++i)
        Fields[i]->setText(texts[i]);
}

void SamplerWindow::stopSampling()
{
    Mode = Sampling::Off;
    PressedIn = nullptr;
    setMouseTracking(false);
    if (mouseGrabber() == this)
        releaseMouse();
    if (CursorShown)
        QGuiApplication::restoreOverrideCursor();
    CursorShown = false;
}

void SamplerWindow::cancelSampling()
{
    SampleWhenReady = false;
    Sampler.restore(Before);
    showColor(TextsBefore);
    stopSampling();
}

// Said once a run: every later change fails alike.
void SamplerWindow::store(const char *entry, int value)
{
    const QString problem =
        Settings.WriteInt(QLatin1String(SETTINGS_SECTION_WINDOW), QLatin1String(entry), value);
    if (problem.isEmpty() || StoreTold)
        return;
    StoreTold = true;
    Notice(this, QStringLiteral("Tintgrabber cannot store your settings in\n%1\nbecause %2.\n\n"
                                "The file is left as it is. Until it can be stored, the zoom "
                                "stays as stored and always on top lasts until Tintgrabber "
                                "closes.")
                     .arg(QDir::toNativeSeparators(Settings.location()), problem));
}

void SamplerWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (Mode == Sampling::Click) {
            // The click that ends sampling keeps the colour under it, wherever
            // it lands (once the source is ready, if it is not yet).
            LastPointer = mapToGlobal(event->position());
            if (!AwaitingSource)
                samplePointer(LastPointer);
            stopSampling();
            return;
        }
        const QPoint at = event->position().toPoint();
        QWidget *area = ColorArea->geometry().contains(at)  ? ColorArea
                        : ZoomArea->geometry().contains(at) ? ZoomArea
                                                            : nullptr;
        if (area && (Mode == Sampling::Drag || mayStartDrag()))
            startSampling(area, mapToGlobal(event->position()));
    }
    QDialog::mousePressEvent(event);
}

void SamplerWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (Mode != Sampling::Off) {
        if (PressedIn && !PressedIn->geometry().contains(event->position().toPoint()))
            PressedIn = nullptr;
        LastPointer = mapToGlobal(event->position());
        if (!AwaitingSource)
            samplePointer(LastPointer);
    }
    QDialog::mouseMoveEvent(event);
}

void SamplerWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && Mode == Sampling::Drag) {
        // A press and release in one area is a click: sampling follows the
        // pointer, no button held, until the next click.
        if (PressedIn && PressedIn->geometry().contains(event->position().toPoint())) {
            Mode = Sampling::Click;
            setMouseTracking(true);
        } else {
            stopSampling();
        }
    }
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
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    const int steps = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Escape:
        cancelSampling();
        break;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        stopSampling();
        break;
    case Qt::Key_Left:
        nudge({-steps, 0});
        break;
    case Qt::Key_Right:
        nudge({steps, 0});
        break;
    case Qt::Key_Up:
        nudge({0, -steps});
        break;
    case Qt::Key_Down:
        nudge({0, steps});
        break;
    default:
        break;
    }
    return true;
}

// By whole pixels of the source, from the one last sampled: physical pixels
// on a live screen, so that a scaled one reaches pixels no logical pointer
// position lands on. A picture's pointer may lie on windows the X server
// cannot warp it over, so there only the sample point moves.
void SamplerWindow::nudge(QPoint step)
{
    if (AwaitingSource)
        return;
    std::optional<QPoint> from = LastPoint;
    if (!from)
        if (const std::optional<QPoint> pointer = ExactPointer())
            from = Screen.sourcePixel(*pointer);
    if (from && (Screen.isPicture() || warpPointer(*from + step)))
        sampleAt(*from + step);
    else // the move that follows samples
        QCursor::setPos(QCursor::pos() + step);
}

void SamplerWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        setWindowOpacity((isActiveWindow() ? ACTIVE_ALPHA : INACTIVE_ALPHA) / 255.0);
}

bool SamplerWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool ours = watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == this;
    if (ours && Mode != Sampling::Off &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride))
        return keyWhileSampling(static_cast<QKeyEvent *>(event));
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
