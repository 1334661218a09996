#include "clipboard/clipboard_keeper.h"

#if defined(TINTGRABBER_HAVE_XLIB)

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

namespace
{

// Our texts are a few dozen bytes; this bound keeps the hand-over within one
// socket buffer and one property change, so neither side can block on it.
constexpr qsizetype MAX_TEXT_BYTES = 64 * 1024;
// How long the program's exit may wait for the keeper to own the clipboard.
constexpr int KEEPER_READY_MS = 2000;

struct DisplayCloser {
    void operator()(Display *display) const { XCloseDisplay(display); }
};

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : Fd(fd) {}
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() { reset(); }
    int get() const { return Fd; }
    void reset()
    {
        if (Fd >= 0)
            close(Fd);
        Fd = -1;
    }

private:
    int Fd;
};

// The window that owns CLIPBOARD, or None when a clipboard manager runs: it
// keeps the text itself, through Qt's hand-over at exit.
Window clipboardOwnerWithoutManager()
{
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display)
        return None;
    if (XGetSelectionOwner(display.get(), XInternAtom(display.get(), "CLIPBOARD_MANAGER", False)))
        return None;
    return XGetSelectionOwner(display.get(), XInternAtom(display.get(), "CLIPBOARD", False));
}

// Starts the keeper in a session of its own, holding none of our descriptors
// (a caller reading our output would wait for it otherwise), and returns once
// it says it owns the clipboard, or after KEEPER_READY_MS.
void startKeeper(const QByteArray &text, Window owner)
{
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    FileDescriptor ours(ends[0]), theirs(ends[1]);
    // Everything the child needs is made before the fork: in a process with
    // threads only async-signal-safe calls may follow it.
    QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
    QByteArray argument(CLIPBOARD_KEEPER_ARGUMENT);
    QByteArray ownerId = QByteArray::number(qulonglong(owner));
    char *const argv[] = {program.data(), argument.data(), ownerId.data(), nullptr};
    const int maxFd = int(sysconf(_SC_OPEN_MAX));
    const pid_t child = fork();
    if (child == 0) {
        // The grandchild is nobody's child: it needs no reaping and outlives us.
        if (setsid() < 0 || fork() != 0)
            _exit(0);
        const int null = open("/dev/null", O_RDWR);
        if (dup2(theirs.get(), 0) < 0 || dup2(null, 1) < 0 || dup2(null, 2) < 0)
            _exit(1);
        if (close_range(3, ~0U, 0) != 0)
            for (int fd = 3; fd < maxFd; ++fd)
                close(fd);
        execv(program.constData(), argv);
        _exit(127);
    }
    if (child < 0)
        return;
    waitpid(child, nullptr, 0);
    theirs.reset();
    if (send(ours.get(), text.constData(), size_t(text.size()), MSG_NOSIGNAL) != text.size())
        return;
    shutdown(ours.get(), SHUT_WR);
    // The keeper writes a byte once it owns the clipboard, or ends without.
    pollfd ready{ours.get(), POLLIN, 0};
    poll(&ready, 1, KEEPER_READY_MS);
}

} // namespace

void handOverClipboard()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    // A SelectionClear still queued would have us hand over what another
    // program has taken since.
    QCoreApplication::processEvents();
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard())
        return;
    const QByteArray text = clipboard->text().toUtf8();
    if (text.isEmpty() || text.size() > MAX_TEXT_BYTES)
        return;
    if (const Window owner = clipboardOwnerWithoutManager())
        startKeeper(text, owner);
}

#else

void handOverClipboard() {}

#endif
