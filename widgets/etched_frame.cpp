#include "widgets/etched_frame.h"

#include <QPaintEvent>
#include <QPainter>

EtchedFrame::EtchedFrame(QWidget *parent) : QFrame(parent)
{
    // Keeps the frame's width, and so its contents rectangle, that of a
    // sunken box.
    setFrameStyle(QFrame::Box | QFrame::Sunken);
}

void EtchedFrame::paintEvent(QPaintEvent *event)
{
    if (contentsRect().contains(event->region().boundingRect()))
        return;
    QPainter painter(this);
    const int w = width();
    const int h = height();
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    // A light box one pixel down and to the right, under a dark one: the
    // groove of a sunken box.
    painter.fillRect(0, h - 1, w, 1, light);
    painter.fillRect(w - 1, 0, 1, h, light);
    painter.fillRect(1, 1, w - 2, 1, light);
    painter.fillRect(1, 1, 1, h - 2, light);
    painter.fillRect(0, 0, w - 1, 1, dark);
    painter.fillRect(0, 0, 1, h - 1, dark);
    painter.fillRect(0, h - 2, w - 1, 1, dark);
    painter.fillRect(w - 2, 0, 1, h - 1, dark);
}
