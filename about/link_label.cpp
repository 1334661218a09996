#include "about/link_label.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPalette>

LinkLabel::LinkLabel(QWidget *parent, Shell *shell)
    : QLabel(parent), m_shell(shell ? shell : &m_desktopShell), m_font(QApplication::font())
{
    // Both roles are set explicitly so that they no longer follow the parent's
    // palette: the label looks the same on any dialog background.
    const QPalette system = QApplication::palette();
    QPalette own = palette();
    own.setColor(QPalette::Window, system.color(QPalette::Button));
    own.setColor(QPalette::WindowText, system.color(QPalette::WindowText));
    setPalette(own);
    setAutoFillBackground(true);
    setFont(m_font);
    SetLinkEnabled(false);
}

LinkLabel &LinkLabel::SetLinkEnabled(bool enabled)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
    return *this;
}

LinkLabel &LinkLabel::SetColor(COLORREF color)
{
    QPalette own = palette();
    own.setColor(QPalette::WindowText, QColor(RedOf(color), GreenOf(color), BlueOf(color)));
    setPalette(own);
    repaint();
    return *this;
}

LinkLabel &LinkLabel::SetUnderline(bool underline)
{
    m_font.setUnderline(underline);
    setFont(m_font);
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
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    // The click is the link's: it opens the text and goes no further, so the
    // window beneath does not react to it as well.
    m_shell->open(text());
    event->accept();
}
