#include "clipboard/clipboard_keeper.h"

#if defined(TINTGRABBER_HAVE_XLIB)

#include <QString>

// Xlib after Qt: its macros would break Qt's headers.
#include "clipboard/x11_connection.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace
{

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
        if (text.size() > std::size_t(MAX_KEPT_TEXT_BYTES))
            return false;
    }
}

class Keeper
{
public:
    Keeper(Display *display, std::string text)
        : Server(display), Utf8(std::move(text)),
          Latin1(QString::fromStdString(Utf8).toLatin1().toStdString()),
          Clipboard(XInternAtom(Server, "CLIPBOARD", False)),
          Targets(XInternAtom(Server, "TARGETS", False)),
          Utf8String(XInternAtom(Server, "UTF8_STRING", False)),
          Text(XInternAtom(Server, "TEXT", False)),
          OwnWindow(XCreateSimpleWindow(Server, DefaultRootWindow(Server), 0, 0, 1, 1, 0, 0, 0))
    {
        XStoreName(Server, OwnWindow, CLIPBOARD_KEEPER_NAME);
        const long pid = getpid();
        XChangeProperty(Server, OwnWindow, XInternAtom(Server, "_NET_WM_PID", False), XA_CARDINAL,
                        32, PropModeReplace, reinterpret_cast<const unsigned char *>(&pid), 1);
    }

    // Takes the clipboard only while OWNER still holds it: the server is
    // grabbed so that no other program can take it in between.
    bool take(Window owner)
    {
        XGrabServer(Server);
        if (XGetSelectionOwner(Server, Clipboard) == owner)
            XSetSelectionOwner(Server, Clipboard, OwnWindow, CurrentTime);
        XUngrabServer(Server);
        return XGetSelectionOwner(Server, Clipboard) == OwnWindow;
    }

    // Until another program takes the clipboard; a lost connection ends the
    // process in Xlib.
    void serve()
    {
        for (;;) {
            XEvent event;
            XNextEvent(Server, &event);
            if (event.type == SelectionClear)
                return;
            if (event.type == SelectionRequest)
                answer(event.xselectionrequest);
        }
    }

private:
    void answer(const XSelectionRequestEvent &request)
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
            XChangeProperty(Server, request.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(targets), 4);
        else if (request.target == Utf8String || request.target == Text)
            put(request.requestor, reply.property, Utf8String, Utf8);
        else if (request.target == XA_STRING)
            put(request.requestor, reply.property, XA_STRING, Latin1);
        else
            reply.property = None;
        XSendEvent(Server, request.requestor, False, NoEventMask,
                   reinterpret_cast<XEvent *>(&reply));
    }

    void put(Window requestor, Atom property, Atom type, const std::string &bytes)
    {
        XChangeProperty(Server, requestor, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(bytes.data()), int(bytes.size()));
    }

    Display *Server;
    std::string Utf8, Latin1;
    Atom Clipboard, Targets, Utf8String, Text;
    Window OwnWindow;
};

} // namespace

int runClipboardKeeper(const char *owner)
{
    std::string text;
    if (!readText(text) || text.empty())
        return 1;
    const X11Connection display(XOpenDisplay(nullptr));
    if (!display)
        return 1;
    XSetErrorHandler(ignoreError);
    Keeper keeper(display.get(), std::move(text));
    if (!keeper.take(std::strtoul(owner, nullptr, 10)))
        return 1;
    // The closing program waits for this byte, or for the end of our input.
    [[maybe_unused]] const ssize_t told = write(STDIN_FILENO, "1", 1);
    close(STDIN_FILENO);
    keeper.serve();
    return 0;
}

#else

int runClipboardKeeper(const char *)
{
    return 1;
}

#endif
