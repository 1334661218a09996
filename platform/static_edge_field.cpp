#include "platform/static_edge_field.h"

#include <QPainter>
#include <QPalette>

StaticEdgeField::StaticEdgeField(QWidget *parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setFrame(false);
    // Keeps the text clear of the edge, as a framed field would.
    setTextMargins(2, 1, 2, 1);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Window));
    setPalette(colours);
}

void StaticEdgeField::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, 0, right - 1, 0);
    painter.drawLine(0, 0, 0, bottom - 1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, bottom, right, bottom);
    painter.drawLine(right, 0, right, bottom);
}
