#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QWidget;

// The window menu's own entries: a separator, then "About Tintgrabber...",
// which opens the About window.
//
// On Windows they join the window's system menu. Window managers on X11 and
// Wayland keep their window menu to themselves, so there the same entries
// make the window's context menu instead: the right button on the window's
// background (the sampling areas let the mouse through), the Menu key or
// Shift+F10.
class WindowMenu : public QObject
{
public:
    // Attaches to window, which must outlive this object.
    explicit WindowMenu(QWidget &window);
    ~WindowMenu() override;

    // Carries out a window-menu command: IDM_ABOUT runs the About window
    // modally. The low four bits belong to the system. False for a command
    // that is not ours.
    bool runCommand(unsigned command);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &Window;
    const QString AboutText;
#ifdef Q_OS_WIN
    class NativeMenu;
    std::unique_ptr<NativeMenu> Native;
#endif
};
