#include "mainwindow/system_menu.h"

#include "about/about_window.h"
#include "resources/resource_ids.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#ifdef Q_OS_WIN
#include <QAbstractNativeEventFilter>
#include <windows.h>
#endif

namespace
{

// The bits of a window-menu command that name it; the system keeps the low
// four for itself.
constexpr unsigned COMMAND_MASK = 0xFFF0;

} // namespace

#ifdef Q_OS_WIN

// The window's real system menu: the entries are appended to it, and its
// commands are read from the window's messages before Qt handles them.
class SystemMenu::NativeMenu final : public QAbstractNativeEventFilter
{
public:
    explicit NativeMenu(SystemMenu &owner) : m_owner(owner)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~NativeMenu() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    NativeMenu(const NativeMenu &) = delete;
    NativeMenu &operator=(const NativeMenu &) = delete;

    // Qt gives a window a new handle when some of its flags change, and a new
    // handle has the system's plain menu again, so every handle gets the
    // entries once.
    void attach(HWND window, const QString &text)
    {
        if (window == nullptr || window == m_attached)
            return;
        m_attached = window;
        HMENU menu = GetSystemMenu(window, FALSE);
        if (menu == nullptr) // a window without a system menu
            return;
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, IDM_ABOUT, reinterpret_cast<LPCWSTR>(text.utf16()));
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override
    {
        if (eventType != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (m_attached == nullptr || msg->hwnd != m_attached || msg->message != WM_SYSCOMMAND)
            return false;
        if (!m_owner.runCommand(static_cast<unsigned>(msg->wParam)))
            return false;
        *result = 0;
        return true;
    }

private:
    SystemMenu &m_owner;
    HWND m_attached = nullptr;
};

#endif

SystemMenu::SystemMenu(QWidget &window, StringSource strings)
    : QObject(nullptr), m_window(window), m_aboutText(strings(IDS_ABOUTMENU))
{
    if (!hasAboutEntry())
        return;
#ifdef Q_OS_WIN
    m_native = std::make_unique<NativeMenu>(*this);
#endif
    m_window.installEventFilter(this);
}

SystemMenu::~SystemMenu() = default;

bool SystemMenu::runCommand(unsigned command)
{
    if ((command & COMMAND_MASK) != unsigned(IDM_ABOUT))
        return false;
    AboutWindow about(&m_window);
    about.exec();
    return true;
}

#ifdef Q_OS_WIN

bool SystemMenu::eventFilter(QObject *watched, QEvent *event)
{
    // The native handle exists once the window is shown, and may change with
    // its flags.
    if (watched == &m_window &&
        (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange)) {
        m_native->attach(reinterpret_cast<HWND>(m_window.internalWinId()), m_aboutText);
    }
    return false;
}

#else

bool SystemMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window)
        return false;
    if (event->type() == QEvent::ContextMenu) {
        auto *request = static_cast<QContextMenuEvent *>(event);
        // The right button on a control belongs to that control, as a system
        // menu would never open there; on the background (and the frames,
        // which let the mouse through) it is the window's.
        if (request->reason() == QContextMenuEvent::Mouse && m_window.childAt(request->pos()))
            return false;
        popUp(request->globalPos());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier)
            return false;
        // Shift+F10 is the Menu key of keyboards without one: it asks the
        // focused control first, just as the platform does for that key, and
        // reaches the window only when the control has no menu of its own.
        QWidget *target = m_window.focusWidget() ? m_window.focusWidget() : &m_window;
        const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at),
                                  key->modifiers());
        QCoreApplication::sendEvent(target, &request);
        return true;
    }
    return false;
}

#endif

void SystemMenu::popUp(const QPoint &globalPos)
{
    QMenu menu(&m_window);
    menu.addSeparator();
    QAction *about = menu.addAction(m_aboutText);
    about->setData(IDM_ABOUT);
    const QAction *chosen = menu.exec(globalPos);
    if (chosen != nullptr)
        runCommand(chosen->data().toUInt());
}
