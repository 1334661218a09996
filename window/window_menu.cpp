#include "window/window_menu.h"

#include "resources/resource_ids.h"
#include "window/about_window.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

WindowMenu::WindowMenu(QWidget &window)
    : Window(window), AboutText(QCoreApplication::translate("WindowMenu", "&About Tintgrabber..."))
{
    Window.installEventFilter(this);
#ifdef Q_OS_WIN
    QCoreApplication::instance()->installNativeEventFilter(this);
#endif
}

WindowMenu::~WindowMenu()
{
#ifdef Q_OS_WIN
    QCoreApplication::instance()->removeNativeEventFilter(this);
#endif
}

bool WindowMenu::nativeEvent(const QByteArray &type, void *message, qintptr *result)
{
#ifdef Q_OS_WIN
    const MSG *msg = static_cast<const MSG *>(message);
    if (type != "windows_generic_MSG" || msg->hwnd != Attached)
        return false;
    const bool refused = Suspended && msg->message == WM_SYSKEYDOWN && msg->wParam == VK_SPACE;
    if (!refused && (msg->message != WM_SYSCOMMAND || !runCommand(unsigned(msg->wParam))))
        return false;
    // Qt's event dispatcher passes no result for messages posted to the
    // window, as the system menu's are.
    if (result)
        *result = 0;
    return true;
#else
    Q_UNUSED(type);
    Q_UNUSED(message);
    Q_UNUSED(result);
    return false;
#endif
}

bool WindowMenu::nativeEventFilter(const QByteArray &type, void *message, qintptr *result)
{
    return nativeEvent(type, message, result);
}

bool WindowMenu::runCommand(unsigned command)
{
    if ((command & 0xFFF0u) != unsigned(IDM_ABOUT))
        return false;
    AboutWindow about(&Window);
    about.exec();
    return true;
}

bool WindowMenu::eventFilter(QObject *watched, QEvent *event)
{
#ifdef Q_OS_WIN
    Q_UNUSED(watched);
    // The native handle exists once the window is shown, and may change.
    if (event->type() != QEvent::Show && event->type() != QEvent::WinIdChange)
        return false;
    const auto window = reinterpret_cast<HWND>(Window.internalWinId());
    if (window == nullptr || window == Attached)
        return false;
    Attached = window;
    if (HMENU menu = GetSystemMenu(window, FALSE)) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, IDM_ABOUT, reinterpret_cast<LPCWSTR>(AboutText.utf16()));
    }
    return false;
#else
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier)
            return false;
        // Shift+F10 is the Menu key of keyboards without one: the focused
        // control is asked first, and the window only if it has no menu.
        QWidget *target = Window.focusWidget() ? Window.focusWidget() : &Window;
        const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at),
                                  key->modifiers());
        QCoreApplication::sendEvent(target, &request);
        return true;
    }
    if (event->type() != QEvent::ContextMenu || watched != &Window)
        return false;
    auto *request = static_cast<QContextMenuEvent *>(event);
    // The right button on a control is that control's, as a system menu
    // would never open there.
    if (request->reason() == QContextMenuEvent::Mouse && Window.childAt(request->pos()))
        return false;
    QMenu menu(&Window);
    menu.addSeparator();
    menu.addAction(AboutText)->setData(IDM_ABOUT);
    if (const QAction *chosen = menu.exec(request->globalPos()))
        runCommand(chosen->data().toUInt());
    return true;
#endif
}
