#pragma once

#include <QCursor>

#include <optional>

// A cursor the program shows over the whole desktop, or none, in which case
// each widget shows its own.
using PointerCursor = std::optional<QCursor>;

// Mouse capture and the program's cursor for one window.
class PointerService
{
public:
    virtual ~PointerService() = default;

    // While captured, every pointer move and the button release reach the
    // window, wherever the pointer is.
    virtual void captureMouse() = 0;
    virtual void releaseMouse() = 0;

    // Shows cursor and returns what showed before, so that passing that back
    // restores it.
    virtual PointerCursor setCursor(const PointerCursor &cursor) = 0;
};
