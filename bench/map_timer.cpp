// map_timer [--keep] COMMAND [ARG]...
// Starts COMMAND and prints "MS PID WINDOW CPU": the milliseconds from the
// start until the first window that names the new process in _NET_WM_PID is
// mapped, the process id, that window's id, and the CPU milliseconds the
// process had used by then (all its threads; a figure that a busy machine
// disturbs less than the first). Then ends the process (SIGTERM) and
// waits for it, unless --keep is given, in which case it leaves the process
// running for the caller. Exits with 1, having ended the process, when no
// window maps within 20 seconds. The program's own output goes to stderr.
//
// It listens for the X server's events rather than polling, so it neither
// misses the moment by a polling interval nor takes CPU from the program
// being timed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

double nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Windows come and go between an event and our question about them.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

long pidOf(Display *display, Window window, Atom pidAtom)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 32 && count == 1)
        pid = long(*reinterpret_cast<unsigned long *>(data));
    if (data)
        XFree(data);
    return pid;
}

bool isShown(Display *display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// The scheduler's exact count of the CPU time of every thread of process
// pid, in milliseconds: the first field of each thread's schedstat.
double cpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double total = 0;
    std::error_code error;
    for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream stat(task.path() / "schedstat");
        double ns = 0;
        if (stat >> ns)
            total += ns;
    }
    return total / 1e6;
}

// Asks the process to end, and makes it after two seconds.
void endChild(pid_t child)
{
    kill(child, SIGTERM);
    for (int tenths = 0; tenths < 20; ++tenths) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return;
        usleep(100000);
    }
    kill(child, SIGKILL);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

int main(int argc, char **argv)
{
    const bool keep = argc > 1 && std::strcmp(argv[1], "--keep") == 0;
    const int first = keep ? 2 : 1;
    Display *display = first < argc ? XOpenDisplay(nullptr) : nullptr;
    if (!display) {
        std::fprintf(stderr, "usage: map_timer [--keep] COMMAND [ARG]... on an X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    // New top-level windows are created as children of the root.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("map_timer: fork");
        return 2;
    }
    if (child == 0) {
        // Our output is the result alone; what the program says goes to
        // stderr. With --keep it would otherwise hold a caller's pipe open.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        close(ConnectionNumber(display));
        execvp(argv[first], argv + first);
        std::perror("map_timer: exec");
        _exit(127);
    }

    Window mapped = 0;
    double mappedAt = 0;
    const double deadline = start + 20000;
    while (!mapped && nowMs() < deadline) {
        if (!XPending(display)) {
            pollfd fd{ConnectionNumber(display), POLLIN, 0};
            poll(&fd, 1, 50);
            if (waitpid(child, nullptr, WNOHANG) == child) {
                std::fprintf(stderr, "map_timer: %s ended before mapping a window\n", argv[first]);
                return 1;
            }
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        const double at = nowMs();
        if (event.type == CreateNotify) {
            // Its own map events reach us wherever the window manager puts
            // it. It may have been mapped before we asked.
            const Window window = event.xcreatewindow.window;
            XSelectInput(display, window, StructureNotifyMask);
            if (isShown(display, window) && pidOf(display, window, pidAtom) == child) {
                mapped = window;
                mappedAt = nowMs();
            }
        } else if (event.type == MapNotify && !event.xmap.override_redirect &&
                   pidOf(display, event.xmap.window, pidAtom) == child) {
            mapped = event.xmap.window;
            mappedAt = at;
        }
    }
    if (!mapped) {
        std::fprintf(stderr, "map_timer: no window of %s mapped\n", argv[first]);
        endChild(child);
        return 1;
    }
    std::printf("%.1f %ld 0x%lx %.1f\n", mappedAt - start, long(child), mapped, cpuMs(child));
    std::fflush(stdout);
    XCloseDisplay(display);
    if (!keep)
        endChild(child);
    return 0;
}
