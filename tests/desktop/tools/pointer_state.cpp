// pointer_state
// Prints whether a program holds the pointer grabbed ("grabbed" or "free") and
// the cursor shown, as WIDTHxHEIGHT+HOTX+HOTY: what a user sees of sampling.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "pointer_state: cannot open the display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    const int grab = XGrabPointer(display, root, False, 0, GrabModeAsync, GrabModeAsync, None, None,
                                  CurrentTime);
    if (grab == GrabSuccess)
        XUngrabPointer(display, CurrentTime);
    XFixesCursorImage *cursor = XFixesGetCursorImage(display);
    std::printf("%s %ux%u+%u+%u\n", grab == AlreadyGrabbed ? "grabbed" : "free",
                cursor ? cursor->width : 0, cursor ? cursor->height : 0, cursor ? cursor->xhot : 0,
                cursor ? cursor->yhot : 0);
    if (cursor)
        XFree(cursor);
    XCloseDisplay(display);
    return 0;
}
