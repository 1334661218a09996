#pragma once

#include "platform/pointer_service.h"

#include <QPointer>
#include <QWidget>

// Capture is the window's mouse grab; the cursor is an application override
// cursor, so that it shows outside the window too for as long as it is set.
// Whatever is still in place when the service goes is undone.
class QtPointerService : public PointerService
{
public:
    explicit QtPointerService(QWidget &window) : window_(&window) {}
    ~QtPointerService() override;

    QtPointerService(const QtPointerService &) = delete;
    QtPointerService &operator=(const QtPointerService &) = delete;

    void captureMouse() override;
    void releaseMouse() override;
    PointerCursor setCursor(const PointerCursor &cursor) override;

private:
    QPointer<QWidget> window_;
    bool captured_ = false;
    PointerCursor shown_;
};
