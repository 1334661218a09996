#include "clipboard/clipboard_keeper.h"

#if defined(TINTGRABBER_HAVE_XLIB)

#include <QString>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace
{

// As the program hands over no more.
constexpr std::size_t MAX_TEXT_BYTES = 64 * 1024;

struct DisplayCloser {
    void operator()(Display *display) const { XCloseDisplay(display); }
};

// A requestor may destroy its window before we answer; Xlib's default would
// end the process on that BadWindow and lose the text for everyone else.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

// Reads all of standard input; false when it fails or holds too much.
bool readText(std::string &text)
{
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0)
            return got == 0;
        text.append(buffer, std::size_t(got));
        if (text.size() > MAX_TEXT_BYTES)
            return false;
    }
}

class Keeper
{
public:
    Keeper(Display *display, std::string text)
        : Dpy(display), Utf8(std::move(text)),
          Latin1(QString::fromStdString(Utf8).toLatin1().toStdString()),
          Clipboard(XInternAtom(Dpy, "CLIPBOARD", False)),
          Targets(XInternAtom(Dpy, "TARGETS", False)),
          Utf8String(XInternAtom(Dpy, "UTF8_STRING", False)), Text(XInternAtom(Dpy, "TEXT", False)),
          Window_(XCreateSimpleWindow(Dpy, DefaultRootWindow(Dpy), 0, 0, 1, 1, 0, 0, 0))
    {
        XStoreName(Dpy, Window_, CLIPBOARD_KEEPER_NAME);
        const long pid = getpid();
        XChangeProperty(Dpy, Window_, XInternAtom(Dpy, "_NET_WM_PID", False), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char *>(&pid), 1);
    }

    // Takes the clipboard only while OWNER still holds it: the server is
    // grabbed so that no other program can take it in between.
    bool Take(Window owner)
    {
        XGrabServer(Dpy);
        if (XGetSelectionOwner(Dpy, Clipboard) == owner)
            XSetSelectionOwner(Dpy, Clipboard, Window_, CurrentTime);
        XUngrabServer(Dpy);
        return XGetSelectionOwner(Dpy, Clipboard) == Window_;
    }

    // Until another program takes the clipboard; a lost connection ends the
    // process in Xlib.
    void Serve()
    {
        for (;;) {
            XEvent event;
            XNextEvent(Dpy, &event);
            if (event.type == SelectionClear)
                return;
            if (event.type == SelectionRequest)
                Answer(event.xselectionrequest);
        }
    }

private:
    void Answer(const XSelectionRequestEvent &request)
    {
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.requestor = request.requestor;
        reply.selection = request.selection;
        reply.target = request.target;
        reply.time = request.time;
        // Clients older than ICCCM 2 name no property; the target serves.
        reply.property = request.property != None ? request.property : request.target;
        const Atom targets[] = {Targets, Utf8String, XA_STRING, Text};
        if (request.target == Targets)
            XChangeProperty(Dpy, request.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(targets), 4);
        else if (request.target == Utf8String || request.target == Text)
            Put(request.requestor, reply.property, Utf8String, Utf8);
        else if (request.target == XA_STRING)
            Put(request.requestor, reply.property, XA_STRING, Latin1);
        else
            reply.property = None;
        XSendEvent(Dpy, request.requestor, False, NoEventMask, reinterpret_cast<XEvent *>(&reply));
    }

    void Put(Window requestor, Atom property, Atom type, const std::string &bytes)
    {
        XChangeProperty(Dpy, requestor, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(bytes.data()), int(bytes.size()));
    }

    Display *Dpy;
    std::string Utf8, Latin1;
    Atom Clipboard, Targets, Utf8String, Text;
    Window Window_;
};

} // namespace

int runClipboardKeeper(const char *owner)
{
    std::string text;
    if (!readText(text) || text.empty())
        return 1;
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display)
        return 1;
    XSetErrorHandler(ignoreError);
    Keeper keeper(display.get(), std::move(text));
    if (!keeper.Take(std::strtoul(owner, nullptr, 10)))
        return 1;
    // The closing program waits for this byte, or for the end of our input.
    [[maybe_unused]] const ssize_t told = write(STDIN_FILENO, "1", 1);
    close(STDIN_FILENO);
    keeper.Serve();
    return 0;
}

#else

int runClipboardKeeper(const char *)
{
    return 1;
}

#endif
