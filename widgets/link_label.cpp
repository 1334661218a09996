#include "widgets/link_label.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

LinkLabel::LinkLabel(QWidget *parent) : QLabel(parent)
{
    QPalette own = palette();
    own.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    own.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    setPalette(own);
    setAutoFillBackground(true);
    // The desktop's interface font, not the window's.
    setFont(QApplication::font());
    SetLinkEnabled(false);
}

LinkLabel &LinkLabel::SetLinkEnabled(bool enabled)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
    return *this;
}

LinkLabel &LinkLabel::SetColor(const QColor &color)
{
    QPalette own = palette();
    own.setColor(QPalette::WindowText, color);
    setPalette(own);
    repaint();
    return *this;
}

LinkLabel &LinkLabel::SetUnderline(bool underline)
{
    QFont underlined = font();
    underlined.setUnderline(underline);
    setFont(underlined);
    repaint();
    return *this;
}

LinkLabel &LinkLabel::SetLinkCursor(const QCursor &cursor)
{
    setCursor(cursor);
    return *this;
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QLabel::mousePressEvent(event);
    // A text without a scheme (www.example.org) opens as a typed address. The
    // desktop's opener reports its own failures.
    QDesktopServices::openUrl(QUrl::fromUserInput(text()));
}
