#pragma once

#include "platform/qt_shell.h"
#include "sampling/colorref.h"

#include <QFont>
#include <QLabel>

class QCursor;
class QMouseEvent;

// A static text that acts as a hyperlink: its own text is the address, opened
// through the desktop when the label is clicked. It keeps its own background
// (the button face) and its own font, so a parent's palette or font never
// changes how the link looks. Setters return the label so calls chain.
class LinkLabel : public QLabel
{
public:
    // shell opens the text on a click; without one the label uses the
    // desktop's own. A given shell must outlive the label.
    explicit LinkLabel(QWidget *parent = nullptr, Shell *shell = nullptr);

    // Without the link the label ignores the mouse altogether: clicks and the
    // cursor belong to whatever lies beneath it.
    LinkLabel &SetLinkEnabled(bool enabled);
    // color is 0x00BBGGRR. Shows at once.
    LinkLabel &SetColor(COLORREF color);
    // Shows at once.
    LinkLabel &SetUnderline(bool underline);
    // The cursor shown over the label while the link is enabled.
    LinkLabel &SetLinkCursor(const QCursor &cursor);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QtShell m_desktopShell;
    Shell *m_shell;
    QFont m_font;
};
