#include "app/exit_signals.h"

#include <QSocketNotifier>

#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{

constexpr int EXIT_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

// A signal ignored when the program started (nohup, a shell's background
// job) stays ignored.
void setHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Interrupted calls go on; nothing here wants to see EINTR.
    action.sa_flags = SA_RESTART;
    for (int signal : EXIT_SIGNALS) {
        struct sigaction before = {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
            sigaction(signal, &action, nullptr);
    }
}

} // namespace

ExitSignals::ExitSignals()
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    ReadEnd = ends[0];
    WriteEnd = ends[1];
    Notifier = std::make_unique<QSocketNotifier>(ReadEnd, QSocketNotifier::Read);
    // Emptied first, whoever else listens: a full pipe would drop no signal
    // that matters, since one is as good as many.
    QObject::connect(Notifier.get(), &QSocketNotifier::activated, Notifier.get(), [this] {
        char bytes[64];
        while (read(ReadEnd, bytes, sizeof bytes) > 0) {
        }
    });
    setHandler(handler);
}

ExitSignals::~ExitSignals()
{
    if (ReadEnd < 0)
        return;
    setHandler(SIG_IGN);
    Notifier.reset();
    close(std::exchange(WriteEnd, -1));
    close(ReadEnd);
}

// Only async-signal-safe calls: a write that never blocks, errno kept.
void ExitSignals::handler(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(WriteEnd, &byte, 1);
    errno = saved;
}

void ExitSignals::whenReceived(QObject *context, std::function<void()> received)
{
    if (Notifier)
        QObject::connect(Notifier.get(), &QSocketNotifier::activated, context,
                         [received = std::move(received)] { received(); });
}

#else

ExitSignals::ExitSignals() = default;
ExitSignals::~ExitSignals() = default;
void ExitSignals::handler(int) {}
void ExitSignals::whenReceived(QObject *, std::function<void()>) {}

#endif
