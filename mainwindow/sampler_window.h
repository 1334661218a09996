#pragma once

#include "mainwindow/system_menu.h"
#include "mainwindow/unreadable_screen_notice.h"
#include "platform/dialog_builder.h"
#include "platform/pointer_position.h"
#include "platform/pointer_service.h"
#include "platform/screen_source.h"
#include "resources/resource_ids.h"
#include "sampling/drag_sampler.h"
#include "sampling/magnifier.h"
#include "sampling/sampler_view.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QPushButton;
class SettingsStore;
class StaticEdgeField;

// Window opacity while the window is active and while another one is.
inline constexpr int ACTIVE_ALPHA = 255;
inline constexpr int INACTIVE_ALPHA = 80;

// Makes the mouse capture and cursor service for the window it is given.
using PointerServiceFactory = std::function<std::unique_ptr<PointerService>(QWidget &window)>;

// The program's window: the magnifier and swatch areas, a copy button above
// each of the six colour fields, the always-on-top box, the zoom list and Exit.
// Pressing in either area and dragging samples the screen; the two choices
// are stored the moment they change. Exit, Escape, the close box and Enter
// outside the push buttons end it.
class SamplerWindow : public QDialog, public SamplerView
{
public:
    // The settings and the screen must outlive the window.
    SamplerWindow(SettingsStore &settings, ScreenSource &screen,
                  const PointerServiceFactory &makePointerService, QWidget *parent = nullptr);
    ~SamplerWindow() override;

    QCheckBox *topmostCheck() const { return TopmostCheck; }
    QComboBox *zoomList() const { return ZoomList; }
    QFrame *colorArea() const { return ColorArea; }
    QFrame *zoomArea() const { return ZoomArea; }

    // A text field (IDC_REDTEXT … IDC_HEXTEXT) or push button by identifier;
    // nullptr for any other.
    StaticEdgeField *field(int id) const;
    QPushButton *button(int id) const;

    // The base units of the window's font, which place every control.
    DialogBaseUnits baseUnits() const;

    const DragSampler &sampler() const { return Sampler; }

    // Where the screen cannot be read, the first drag says so instead of
    // showing colours that were never read.
    void setScreenAccess(ScreenAccess access) { ScreenNotice = UnreadableScreenNotice(access); }

    // SamplerView
    QRect colorAreaRect() const override;
    QRect zoomAreaRect() const override;
    QRect magnifiedPart() const override;
    // Takes the client positions of pointer events: scaled, the pixel under
    // the pointer wins over one beside it.
    QPoint clientToScreen(QPointF clientPoint) const override;
    void requestRepaint(const QRect &rect) override;
    void setFieldText(int fieldId, std::string_view text) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillZoomList();
    void applyStoredAlwaysOnTop();
    void selectStoredZoom();
    void connectControls();

    void setAlwaysOnTop(bool on);
    void onTopmostClicked(bool checked);
    void onZoomSelected(int index);
    void copyField(int fieldId);
    bool wheelOverWindow(QWheelEvent *event);

    DialogControls Controls;
    QCheckBox *TopmostCheck;
    QComboBox *ZoomList;
    QFrame *ColorArea;
    QFrame *ZoomArea;

    SettingsStore &Settings;
    std::unique_ptr<PointerService> Pointer;
    // Where the pointer is exactly, which scaled screens need.
    std::unique_ptr<PointerPosition> ExactPointer = CreatePointerPosition();
    DragSampler Sampler;
    // The factor the magnifier last drew at; x3 until it first draws.
    qint64 DrawnZoomFactor = ZoomFactorFromIndex(0);
    const QImage SwatchIcon;
    // Wheel turn not yet worth a whole notch, from high-resolution wheels.
    int WheelRemainder = 0;
    SystemMenu WindowMenu{*this};
    UnreadableScreenNotice ScreenNotice;
};
