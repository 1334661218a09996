#pragma once

// The argument that makes the program keep copied text instead of opening its
// window: PROGRAM --keep-clipboard OWNER, the text on its standard input.
inline constexpr char CLIPBOARD_KEEPER_ARGUMENT[] = "--keep-clipboard";

// The name of the keeper's window, so that tools can find which process keeps
// the clipboard.
inline constexpr char CLIPBOARD_KEEPER_NAME[] = "tintgrabber clipboard";

// X11 forgets a selection when its owner ends. Call when the window has closed,
// while the application object still exists: when we own the clipboard's
// text and no clipboard manager runs to take it, starts a keeper process and
// returns once it owns the clipboard, or after a short wait. Elsewhere (or on
// Windows, which keeps clipboard data itself) does nothing.
void handOverClipboard();

// The keeper: takes the clipboard from OWNER (a window id, in decimal) if
// OWNER still holds it, serves the text read from standard input until
// another program takes the clipboard or the X connection ends, and returns
// the process's exit status.
int runClipboardKeeper(const char *owner);
