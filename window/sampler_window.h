#pragma once

#include "sampling/sampling_session.h"
#include "screen/pointer_position.h"
#include "screen/qt_screens.h"
#include "screen/screen_access.h"
#include "window/notices.h"
#include "window/window_menu.h"

#include <QDialog>
#include <QHash>

#include <array>
#include <optional>

class PictureOverlay;
class PictureSource;
class ReadOnlyAsciiField;
class QCheckBox;
class QComboBox;
class SettingsStore;

// Window opacity while the window is active and while another one is.
inline constexpr int ACTIVE_ALPHA = 255;
inline constexpr int INACTIVE_ALPHA = 80;

// The program's window: the magnifier and the swatch, a field with a copy
// button for each colour format, the always-on-top box, the zoom list and
// Exit. The two choices are stored the moment they change. Outside sampling,
// Exit, Escape, the close box and Enter outside the push buttons close it.
//
// A pointer move flows one way: the window hands the event's position to the
// sampling session, which reads the screen there; the window then asks for
// the two areas' repaints and sets the fields, and the paint draws the
// session's colour and capture at the stored zoom.
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
    const DragSampler &sampler() const { return Session.sampler(); }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;
    bool nativeEvent(const QByteArray &type, void *message, qintptr *result) override
    {
        return Menu.nativeEvent(type, message, result) ||
               QDialog::nativeEvent(type, message, result);
    }

private:
    QPoint desktopPixel(QPointF global);
    void sessionChanged();
    void showOverlay(bool on);
    bool mayStartSampling();
    void tell(const QString &notice, const NoticeButton &button = {});
    bool store(const char *entry, int value);
    bool keyWhileSampling(QKeyEvent *event);
    void syncZoom();
    void setAlwaysOnTop(bool on);
    bool wheelOverWindow(QWheelEvent *event);

    const QHash<int, QWidget *> Controls;
    QCheckBox *const TopmostCheck;
    QComboBox *const ZoomList;
    QWidget *const ColorArea;
    QWidget *const ZoomArea;
    // One per colour format, in the table's order.
    std::array<ReadOnlyAsciiField *, COLOR_FORMAT_COUNT> Fields;

    SettingsStore &Settings;
    ScreenList Screens;
    const PointerPosition ExactPointer = systemPointerPosition();
    SamplingSession Session;
    // Where the screen is read from a picture: shown over the desktop while
    // click-sampling, in an overlay made at the first such sampling.
    const PictureSource *const Picture;
    PictureOverlay *Overlay = nullptr;
    // What the window last took from the session.
    bool PointerHeld = false;
    quint64 ShownCount = 0;
    // The area the press went down in, until the pointer leaves it: a release
    // there makes the press a click.
    QWidget *PressedIn = nullptr;
    // The stored zoom index, read before each paint.
    int ZoomIndex = 0;
    // The zoom chosen when it could not be stored, which rules for the run.
    std::optional<int> UnstoredZoom;
    const QImage SwatchIcon;
    // A turn of a high-resolution wheel not yet worth a whole notch.
    int WheelRemainder = 0;
    ScreenAccess Access = ScreenAccess::Readable;
    bool AccessTold = false;
    bool StoreTold = false;
    WindowMenu Menu{*this};
    WaitingNote Note{this};
};
