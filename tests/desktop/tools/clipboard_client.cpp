// clipboard_client manager | vanish
// manager: a stand-in clipboard manager. Owns CLIPBOARD_MANAGER, prints
//   "ready", then the name of each target asked of it, refusing each, until
//   killed.
// vanish: asks the CLIPBOARD owner for UTF8_STRING and destroys the window the
//   answer should go to before the owner can answer.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display || argc != 2)
        return 2;
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    if (std::strcmp(argv[1], "vanish") == 0) {
        XConvertSelection(display, XInternAtom(display, "CLIPBOARD", False),
                          XInternAtom(display, "UTF8_STRING", False),
                          XInternAtom(display, "VANISHED", False), window, CurrentTime);
        XDestroyWindow(display, window);
        XCloseDisplay(display);
        return 0;
    }
    XSetSelectionOwner(display, XInternAtom(display, "CLIPBOARD_MANAGER", False), window,
                       CurrentTime);
    std::printf("ready\n");
    for (std::fflush(stdout);; std::fflush(stdout)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != SelectionRequest)
            continue;
        const XSelectionRequestEvent &request = event.xselectionrequest;
        char *name = XGetAtomName(display, request.target);
        std::printf("%s\n", name);
        XFree(name);
        XSelectionEvent reply{
            SelectionNotify, 0,    True,        display, request.requestor, request.selection,
            request.target,  None, request.time};
        XSendEvent(display, request.requestor, False, NoEventMask,
                   reinterpret_cast<XEvent *>(&reply));
    }
}
