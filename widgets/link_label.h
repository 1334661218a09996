#pragma once

#include <QLabel>

// A static text that acts as a hyperlink: its own text is the address, opened
// through the desktop when the label is clicked (xdg-open on Linux, the
// shell's open verb on Windows). It keeps its own background, the button
// face, so a parent's palette never changes how the link looks. Setters return
// the label so that calls chain.
class LinkLabel : public QLabel
{
public:
    explicit LinkLabel(QWidget *parent = nullptr);

    // Without the link the label ignores the mouse altogether: clicks and the
    // cursor belong to whatever lies beneath it.
    LinkLabel &SetLinkEnabled(bool enabled);
    LinkLabel &SetColor(const QColor &color);
    LinkLabel &SetUnderline(bool underline);
    LinkLabel &SetLinkCursor(const QCursor &cursor);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
