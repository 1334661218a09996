#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a kill, Ctrl+C, a logout) reach the program
// through its event loop: the handler only writes a byte into a pipe, which a
// socket notifier reads. From construction to destruction none of them ends
// the process by itself; afterwards they are ignored, so that one arriving
// while the program winds up changes nothing. One ignored at start (nohup)
// stays ignored. Elsewhere than on Unix this does nothing.
class ExitSignals
{
public:
    ExitSignals();
    ~ExitSignals();
    ExitSignals(const ExitSignals &) = delete;
    ExitSignals &operator=(const ExitSignals &) = delete;

    // Calls received from the event loop after each signal, while context
    // lives.
    void whenReceived(QObject *context, std::function<void()> received);

private:
    static void handler(int signal);
    // The one thing the handler may reach: the pipe's writing end.
    static inline int WriteEnd = -1;
    int ReadEnd = -1;
    std::unique_ptr<QSocketNotifier> Notifier;
};
