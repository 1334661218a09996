#include "platform/qt_pointer_service.h"

#include <QGuiApplication>

QtPointerService::~QtPointerService()
{
    releaseMouse();
    setCursor(std::nullopt);
}

void QtPointerService::captureMouse()
{
    if (window_) {
        window_->grabMouse();
        captured_ = true;
    }
}

void QtPointerService::releaseMouse()
{
    // Only our own grab is undone; a grab that another widget took since is
    // not ours to end.
    if (captured_ && window_ && QWidget::mouseGrabber() == window_)
        window_->releaseMouse();
    captured_ = false;
}

PointerCursor QtPointerService::setCursor(const PointerCursor &cursor)
{
    // Exactly one override of ours is on Qt's stack while a cursor is shown,
    // so overrides that others push and pop stay balanced.
    if (cursor) {
        if (shown_)
            QGuiApplication::changeOverrideCursor(*cursor);
        else
            QGuiApplication::setOverrideCursor(*cursor);
    } else if (shown_) {
        QGuiApplication::restoreOverrideCursor();
    }
    PointerCursor previous = std::move(shown_);
    shown_ = cursor;
    return previous;
}
