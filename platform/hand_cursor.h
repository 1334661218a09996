#pragma once

// Whether the windowing system has a pointing-hand cursor of its own for
// links. Where it has none, the program shows its own picture instead.
//
// Windows is asked (systems before 2000 lack IDC_HAND). An X11 display always
// has one: Qt takes the hand from the cursor theme and, without a theme, from
// the core cursor font every X server carries. Wayland and macOS show their
// theme's hand. Any other Qt platform (offscreen, minimal, the bare frame
// buffers) is taken to have none, so the program's own picture is used there.
bool SystemHasHandCursor();
