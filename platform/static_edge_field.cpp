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
    // Filled one-pixel rectangles cost far less than pen lines, and the field
    // repaints on every pointer move of a drag.
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    painter.fillRect(0, 0, right, 1, dark);
    painter.fillRect(0, 0, 1, bottom, dark);
    painter.fillRect(0, bottom, right + 1, 1, light);
    painter.fillRect(right, 0, 1, bottom + 1, light);
}
