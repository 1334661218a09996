#pragma once

#include <QCoreApplication>
#include <QLabel>

#include <functional>

// A static text that acts as a hyperlink: its own text is the address, opened
// through the desktop when the label is clicked (xdg-open on Linux, the
// shell's open verb on Windows), or when it has the focus and Enter or Space
// is pressed. It keeps its own background, the button
// face, so a parent's palette never changes how the link looks. Setters return
// the label so that calls chain.
class LinkLabel : public QLabel
{
    Q_DECLARE_TR_FUNCTIONS(LinkLabel)

public:
    explicit LinkLabel(QWidget *parent = nullptr);

    // Without the link the label ignores the mouse altogether: clicks and the
    // cursor belong to whatever lies beneath it, and Tab passes it by. With
    // it, Tab stops at the label, which then shows a focus frame.
    LinkLabel &SetLinkEnabled(bool enabled);
    LinkLabel &SetColor(const QColor &color);
    LinkLabel &SetUnderline(bool underline);
    LinkLabel &SetLinkCursor(const QCursor &cursor);
    // Called with the link when no program on the desktop opened it.
    LinkLabel &whenNotOpened(std::function<void(const QString &link)> notOpened);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void open();

    std::function<void(const QString &link)> NotOpened = [](const QString &) {};
};
