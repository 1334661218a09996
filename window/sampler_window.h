#pragma once

#include "sampling/drag_sampler.h"
#include "screen/pointer_position.h"
#include "screen/qt_screens.h"
#include "screen/screen_access.h"
#include "window/window_menu.h"

#include <QDialog>
#include <QHash>

#include <array>
#include <optional>

class ColorField;
class QCheckBox;
class QComboBox;
class QPushButton;
class SettingsStore;

// Window opacity while the window is active and while another one is.
inline constexpr int ACTIVE_ALPHA = 255;
inline constexpr int INACTIVE_ALPHA = 80;

// The program's window: the magnifier and the swatch, a copy button above
// each of the six colour fields, the always-on-top box, the zoom list and
// Exit. Pressing in either area and dragging samples the screen; so does a
// click there, until the next click. While sampling, the arrow keys move the
// pointer a pixel at a time, Enter ends sampling and Escape undoes it. The two
// choices are stored the moment they change. Otherwise Exit, Escape, the close
// box and Enter outside the push buttons close it.
//
// A pointer move flows one way: the event becomes a physical screen point,
// the sampler reads the screen there and returns the colour, and the window
// asks for the two areas' repaints and sets the fields; the paint then draws
// the sampler's colour and capture at the stored zoom.
class SamplerWindow : public QDialog
{
public:
    // The settings and the screen must outlive the window.
    SamplerWindow(SettingsStore &settings, ScreenSource &screen, QWidget *parent = nullptr);
    ~SamplerWindow() override;

    // Where the screen cannot be read, the first drag says so instead of
    // showing colours that were never read.
    void setScreenAccess(ScreenAccess access) { Access = access; }

    // A control by identifier, as the window template names them.
    template <class Control> Control *control(int id) const
    {
        return static_cast<Control *>(Controls.value(id));
    }
    const DragSampler &sampler() const { return Sampler; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool nativeEvent(const QByteArray &type, void *message, qintptr *result) override
    {
        return Menu.nativeEvent(type, message, result) ||
               QDialog::nativeEvent(type, message, result);
    }

private:
    // Sampling follows the pointer while the button is held after a press in
    // either area, or, after a click there, until the next click.
    enum class Sampling { Off, Drag, Click };

    bool mayStartDrag();
    void store(const char *entry, int value);
    void startSampling(QWidget *area, QPointF global);
    void sourcePrepared(SourceReadiness readiness);
    void samplePointer(QPointF global);
    void sampleAt(QPoint sourcePixel);
    void showColor(const ColorTexts &texts);
    void stopSampling();
    void cancelSampling();
    bool keyWhileSampling(QKeyEvent *event);
    void nudge(QPoint step);
    int selectStoredZoom();
    void setAlwaysOnTop(bool on);
    bool wheelOverWindow(QWheelEvent *event);

    const QHash<int, QWidget *> Controls;
    QCheckBox *const TopmostCheck;
    QComboBox *const ZoomList;
    QWidget *const ColorArea;
    QWidget *const ZoomArea;
    // In the order of a colour's texts.
    std::array<ColorField *, 6> Fields;

    SettingsStore &Settings;
    ScreenSource &Screen;
    DragSampler Sampler;
    ScreenList Screens;
    const PointerPosition ExactPointer = systemPointerPosition();
    Sampling Mode = Sampling::Off;
    // The area the press went down in, until the pointer leaves it: a release
    // there makes the press a click.
    QWidget *PressedIn = nullptr;
    // What the window showed before sampling began, for Escape.
    DragSampler::Shown Before;
    ColorTexts TextsBefore;
    // The source pixel last sampled, where a nudge starts.
    std::optional<QPoint> LastPoint;
    // The pointer's place, to sample once the source is ready.
    QPointF LastPointer;
    // From a press until the source is ready (a desktop's screenshot may
    // take a while); the fields keep the colour before until then.
    bool AwaitingSource = false;
    bool Preparing = false;
    bool SampleWhenReady = false;
    bool CursorShown = false;
    const QImage SwatchIcon;
    // A turn of a high-resolution wheel not yet worth a whole notch.
    int WheelRemainder = 0;
    ScreenAccess Access = ScreenAccess::Readable;
    bool AccessTold = false;
    bool StoreTold = false;
    WindowMenu Menu{*this};
};
