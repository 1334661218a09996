#pragma once

#include "resources/strings.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QPoint;
class QWidget;

// The window menu's own entries: a separator, then "About Tintgrabber...",
// which opens the About window. Without a text for the entry there are none.
//
// On Windows they join the window's system menu. Window managers on X11 and
// Wayland keep their window menu to themselves, so there the same entries
// make the window's context menu instead: the right button on the window's
// background (the sampling areas let the mouse through), the Menu key or
// Shift+F10.
class SystemMenu : public QObject
{
public:
    // A string by identifier, empty when there is none.
    using StringSource = std::function<QString(int id)>;

    // Attaches to window, which must outlive this object.
    explicit SystemMenu(QWidget &window, StringSource strings = LoadResourceString);
    ~SystemMenu() override;

    bool hasAboutEntry() const { return !m_aboutText.isEmpty(); }

    // Carries out a window-menu command. IDM_ABOUT runs the About window
    // modally and returns once it has closed. The low four bits belong to
    // the system and are ignored. Returns false for a command that is not
    // ours, which then gets the system's own handling.
    bool runCommand(unsigned command);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void popUp(const QPoint &globalPos);

    QWidget &m_window;
    QString m_aboutText;

#ifdef Q_OS_WIN
    class NativeMenu;
    std::unique_ptr<NativeMenu> m_native;
#endif
};
