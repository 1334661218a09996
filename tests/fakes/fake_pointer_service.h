#pragma once

#include "fakes/call_journal.h"
#include "platform/pointer_service.h"

// Remembers whether the mouse is captured and which cursor shows, and counts
// the calls. loseCapture() stands for the system taking the capture away.
class FakePointerService : public PointerService
{
public:
    explicit FakePointerService(CallJournal *journal = nullptr) : journal_(journal) {}

    void captureMouse() override
    {
        captured = true;
        ++captureCalls;
        Record(journal_, "captureMouse");
    }

    void releaseMouse() override
    {
        captured = false;
        Record(journal_, "releaseMouse");
    }

    PointerCursor setCursor(const PointerCursor &cursor) override
    {
        ++setCursorCalls;
        Record(journal_, "setCursor");
        PointerCursor previous = shown;
        shown = cursor;
        return previous;
    }

    void loseCapture() { captured = false; }

    bool captured = false;
    PointerCursor shown;
    int captureCalls = 0;
    int setCursorCalls = 0;

private:
    CallJournal *journal_;
};
