#include "mainwindow/sampler_window.h"

#include "platform/qt_screen_source.h"
#include "platform/static_edge_field.h"
#include "platform/surface.h"
#include "resources/dialog_template.h"
#include "resources/pictures.h"
#include "resources/zoom_items.h"
#include "sampling/magnifier.h"
#include "sampling/sampling_constants.h"
#include "settings/settings_store.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <array>

namespace
{

// Each copy button and the field it copies.
struct CopyButton {
    int button;
    FieldId field;
};

constexpr std::array<CopyButton, 6> COPY_BUTTONS = {{
    {IDC_COPYHASHHEX, FIELD_HASH_HEX},
    {IDC_COPYHEX, FIELD_HEX},
    {IDC_COPYRED, FIELD_RED},
    {IDC_COPYGREEN, FIELD_GREEN},
    {IDC_COPYBLUE, FIELD_BLUE},
    {IDC_COPYPOVRAY, FIELD_POVRAY},
}};

// One notch of an ordinary mouse wheel, in eighths of a degree.
constexpr int WHEEL_NOTCH = 120;

double OpacityOf(int alpha)
{
    return alpha / 255.0;
}

bool IsEnterKey(const QKeyEvent &event)
{
    const bool enter = event.key() == Qt::Key_Enter || event.key() == Qt::Key_Return;
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return enter && modifiers == Qt::NoModifier;
}

} // namespace

SamplerWindow::SamplerWindow(SettingsStore &settings, ScreenSource &screen,
                             const PointerServiceFactory &makePointerService, QWidget *parent)
    : QDialog(parent), Controls(DialogBuilder(SamplerWindowTemplate()).build(*this)),
      TopmostCheck(Controls.control<QCheckBox>(IDC_TOPMOST)),
      ZoomList(Controls.control<QComboBox>(IDC_ZOOMLIST)),
      ColorArea(Controls.control<QFrame>(IDC_COLORAREA)),
      ZoomArea(Controls.control<QFrame>(IDC_ZOOMAREA)), Settings(settings),
      Pointer(makePointerService(*this)),
      // The sampler starts with the button face as its colour and fills its
      // capture with it, so both areas show a plain face before any sample.
      Sampler(*this, screen, *Pointer, SamplerCursor(), palette().color(QPalette::Button)),
      SwatchIcon(IconPicture(IDI_APP).toImage())
{
    // Pressing in either area starts a drag that the window itself handles.
    ZoomArea->setAttribute(Qt::WA_TransparentForMouseEvents);
    ColorArea->setAttribute(Qt::WA_TransparentForMouseEvents);
    fillZoomList();
    // Qt would give the list the focus on a wheel turn over it and so skip the
    // turn that only focuses it.
    ZoomList->setFocusPolicy(Qt::StrongFocus);

    // A window without an icon of its own shows the application's; a copy
    // of its own would only build every size of the icon again.
    if (QApplication::windowIcon().isNull())
        setWindowIcon(AppIcon());
    applyStoredAlwaysOnTop();
    selectStoredZoom();
    setWindowOpacity(OpacityOf(ACTIVE_ALPHA));
    connectControls();
    // A wheel turn goes to whatever is under the pointer; the window wants
    // every turn over any of its controls.
    qApp->installEventFilter(this);
}

SamplerWindow::~SamplerWindow()
{
    // No wheel turn may reach a window that is half taken down.
    qApp->removeEventFilter(this);
}

StaticEdgeField *SamplerWindow::field(int id) const
{
    if (std::find(TEXT_FIELD_IDS.begin(), TEXT_FIELD_IDS.end(), id) == TEXT_FIELD_IDS.end())
        return nullptr;
    return Controls.control<StaticEdgeField>(id);
}

QPushButton *SamplerWindow::button(int id) const
{
    return Controls.control<QPushButton>(id);
}

DialogBaseUnits SamplerWindow::baseUnits() const
{
    return DialogBaseUnitsOf(font());
}

void SamplerWindow::fillZoomList()
{
    for (int index = 0; index < ZOOM_ITEM_COUNT; ++index)
        ZoomList->addItem(ZoomItemText(index));
}

void SamplerWindow::applyStoredAlwaysOnTop()
{
    const int stored = Settings.GetInt(QLatin1String(SETTINGS_SECTION_WINDOW),
                                       QLatin1String(SETTINGS_ENTRY_ALWAYS_ON_TOP), 0);
    // Not yet shown: the flag goes into the window as it is created.
    if (stored != 0)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    TopmostCheck->setChecked(stored != 0);
}

void SamplerWindow::selectStoredZoom()
{
    // An index outside the list selects nothing; the magnifier still draws at
    // the stored index, which it reads itself.
    const int stored = Settings.GetInt(QLatin1String(SETTINGS_SECTION_WINDOW),
                                       QLatin1String(SETTINGS_ENTRY_ZOOM), 0);
    ZoomList->setCurrentIndex(stored >= 0 && stored < ZoomList->count() ? stored : -1);
}

void SamplerWindow::connectControls()
{
    connect(TopmostCheck, &QCheckBox::clicked, this, &SamplerWindow::onTopmostClicked);
    connect(ZoomList, &QComboBox::currentIndexChanged, this, &SamplerWindow::onZoomSelected);
    for (const CopyButton &entry : COPY_BUTTONS) {
        const FieldId fieldId = entry.field;
        connect(button(entry.button), &QPushButton::clicked, this,
                [this, fieldId] { copyField(fieldId); });
    }
}

QRect SamplerWindow::colorAreaRect() const
{
    return ColorArea->geometry();
}

QRect SamplerWindow::zoomAreaRect() const
{
    return ZoomArea->geometry();
}

QRect SamplerWindow::magnifiedPart() const
{
    // The part shown at the smallest factor offered too, so that zooming out
    // after a drag shows the screen, not pixels no move has read. The factor
    // is the one the magnifier last drew at, which spares a move a second
    // read of the settings; one stored below x3 by another instance counts
    // from the next move on.
    const qint64 factor = std::min(DrawnZoomFactor, ZoomFactorFromIndex(0));
    return CapturePartShown(zoomAreaRect(), factor, devicePixelRatioF());
}

QPoint SamplerWindow::clientToScreen(QPointF clientPoint) const
{
    const QWindow *handle = windowHandle();
    const QPoint mapped =
        PhysicalScreenPoint(mapToGlobal(clientPoint), handle ? handle->screen() : nullptr);
    // Scaled, the event's position was rounded to a whole logical pixel.
    return PointerPixel(mapped, devicePixelRatioF(), *ExactPointer);
}

void SamplerWindow::requestRepaint(const QRect &rect)
{
    // Qt repaints the background under rect before paintEvent, never leaving
    // it blank in between.
    update(rect);
}

void SamplerWindow::setFieldText(int fieldId, std::string_view text)
{
    if (StaticEdgeField *target = field(fieldId))
        target->setText(QLatin1String(text.data(), qsizetype(text.size())));
}

void SamplerWindow::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        if (isMinimized()) {
            // Where a desktop paints minimised windows, they show the icon.
            const QPixmap icon = IconPicture(IDI_APP);
            painter.drawPixmap((width() - icon.width() + 1) / 2, (height() - icon.height() + 1) / 2,
                               icon);
            return;
        }
        // The background is already in place; the frames, painted after us,
        // draw only their two-pixel edges and leave the insides alone.
        // A field that changes repaints the window beneath it too; only an
        // area that the paint reaches is drawn again.
        const QRegion &reached = event->region();
        if (reached.intersects(colorAreaRect())) {
            Surface surface(painter);
            DrawSwatch(surface, colorAreaRect(), Sampler.CurrentColor(), SwatchIcon);
        }
        // On a scaled desktop each screen pixel is still a block of z × z
        // device pixels: drawn in logical pixels, a block would span 1.5·z
        // device pixels at a scale of 1.5, and no longer show single pixels.
        if (reached.intersects(zoomAreaRect())) {
            Surface surface(painter, SurfacePixels::Device);
            DrawnZoomFactor =
                DrawMagnifier(surface, zoomAreaRect(), Sampler.CaptureBuffer(), Settings);
        }
    }
    QDialog::paintEvent(event);
}

void SamplerWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        Sampler.OnPointerDown(event->position());
        if (Sampler.Dragging() && !ScreenNotice.allowSampling(*this))
            Sampler.OnPointerUp(event->position());
    }
    QDialog::mousePressEvent(event);
}

void SamplerWindow::mouseMoveEvent(QMouseEvent *event)
{
    Sampler.OnPointerMove(event->position());
    QDialog::mouseMoveEvent(event);
}

void SamplerWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Sampler.OnPointerUp(event->position());
    QDialog::mouseReleaseEvent(event);
}

void SamplerWindow::keyPressEvent(QKeyEvent *event)
{
    // No button is the default, so QDialog would ignore Enter. A focused push
    // button takes it as a click; anywhere else it is the OK command.
    if (IsEnterKey(*event)) {
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget()))
            focused->click();
        else
            accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SamplerWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        setWindowOpacity(OpacityOf(isActiveWindow() ? ACTIVE_ALPHA : INACTIVE_ALPHA));
}

bool SamplerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == this)
        return wheelOverWindow(static_cast<QWheelEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

bool SamplerWindow::wheelOverWindow(QWheelEvent *event)
{
    event->accept();
    // The first turn only brings the list the focus, wherever the pointer is.
    if (!ZoomList->hasFocus()) {
        WheelRemainder = 0;
        ZoomList->setFocus(Qt::MouseFocusReason);
        return true;
    }
    // Turning away from the user goes up the list, to smaller factors.
    WheelRemainder += event->angleDelta().y();
    const int notches = WheelRemainder / WHEEL_NOTCH;
    WheelRemainder %= WHEEL_NOTCH;
    if (notches != 0) {
        const int index = std::clamp(ZoomList->currentIndex() - notches, 0, ZoomList->count() - 1);
        ZoomList->setCurrentIndex(index);
    }
    return true;
}

void SamplerWindow::setAlwaysOnTop(bool on)
{
    // On a window that exists already, the handle's flag switches the window
    // manager's state in place; the widget's own setter would recreate the
    // window. The widget keeps the flag in step for whatever reads it later.
    if (QWindow *handle = windowHandle()) {
        overrideWindowFlags(on ? windowFlags() | Qt::WindowStaysOnTopHint
                               : windowFlags() & ~Qt::WindowStaysOnTopHint);
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
    } else {
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
    }
}

void SamplerWindow::onTopmostClicked(bool checked)
{
    setAlwaysOnTop(checked);
    Settings.WriteInt(QLatin1String(SETTINGS_SECTION_WINDOW),
                      QLatin1String(SETTINGS_ENTRY_ALWAYS_ON_TOP), checked ? 1 : 0);
}

void SamplerWindow::onZoomSelected(int index)
{
    if (index < 0)
        return;
    Settings.WriteInt(QLatin1String(SETTINGS_SECTION_WINDOW), QLatin1String(SETTINGS_ENTRY_ZOOM),
                      index);
    // The capture stays as it is; only its enlargement changes.
    requestRepaint(zoomAreaRect());
}

void SamplerWindow::copyField(int fieldId)
{
    StaticEdgeField *source = field(fieldId);
    // Selecting all leaves the caret at the end, which the field scrolls into
    // view. An empty field has no selection, and copy() leaves the clipboard
    // alone.
    source->selectAll();
    source->copy();
}
