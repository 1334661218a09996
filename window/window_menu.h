#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QString>

class QWidget;

// The window menu's own entries: a separator, then "About Tintgrabber...",
// which opens the About window.
//
// On Windows they join the window's system menu. Window managers on X11 and
// Wayland keep their window menu to themselves, so there the same entries
// make the window's context menu instead: the right button on the window's
// background (the sampling areas let the mouse through), the Menu key or
// Shift+F10.
class WindowMenu : public QObject, public QAbstractNativeEventFilter
{
public:
    // Attaches to window, which must outlive this object.
    explicit WindowMenu(QWidget &window);
    ~WindowMenu() override;

    // Carries out a window-menu command: IDM_ABOUT runs the About window
    // modally. The low four bits belong to the system. False for a command
    // that is not ours.
    bool runCommand(unsigned command);

    // The window's nativeEvent hands its messages here. Every way into the
    // system menu (its button, a right click on the caption, Alt+Space, which
    // Qt handles itself) ends in the window's own message handling, so the
    // commands are read there. False for a message that is not ours.
    bool nativeEvent(const QByteArray &type, void *message, qintptr *result);

    // While the window holds the pointer for sampling, a menu would open
    // under its grab. The context menu is the window's to refuse; Qt opens
    // the system menu from the Alt+Space key message itself, which only the
    // application's filters see first, so this filter refuses it.
    void setSuspended(bool suspended) { Suspended = suspended; }
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &Window;
    const QString AboutText;
    bool Suspended = false;
#ifdef Q_OS_WIN
    // The native window that has the entries; a change of some window flags
    // gives the window a new one with the system's plain menu again.
    void *Attached = nullptr;
#endif
};
