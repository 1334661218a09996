#pragma once

#include "platform/field_text_layout.h"

#include <QImage>
#include <QLatin1String>
#include <QString>
#include <QWidget>

// A read-only single-line text field with a thin sunken edge: one pixel of
// shadow along the top and left, one of light along the bottom and right, on
// the window's background colour like any read-only field.
//
// It is set on every pointer move of a drag, so it is made to be cheap: its
// text is laid out only when it changes, mostly without shaping, and it paints
// every one of its pixels itself, so nothing beneath it repaints. Otherwise it
// behaves like a read-only line edit: it starts empty, scrolls to keep the
// caret in view when the text is wider than it, and the user selects with the
// mouse or the keyboard and copies with the usual keys or its context menu.
class StaticEdgeField : public QWidget
{
public:
    explicit StaticEdgeField(QWidget *parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString &text);
    // The same from Latin-1 without making a QString first.
    void setText(QLatin1String text);

    int cursorPosition() const { return cursor_; }
    bool hasSelectedText() const { return anchor_ != cursor_; }
    QString selectedText() const;
    // Selects length characters from start, leaving the caret at the far end.
    void setSelection(int start, int length);
    void selectAll();

    // Puts the selection on the clipboard as text; without a selection the
    // clipboard is left alone.
    void copy() const;

    // Fields in one font share what they learn of it while laying out text.
    void shareTextChecksWith(const StaticEdgeField &other);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void deselect();
    void textChanged();
    void fontChanged();
    void moveCursor(int position, bool extendSelection);
    void updateScroll();
    void copySelectionToPrimary() const;
    QRect textArea() const;
    QRect lineRect() const;
    int positionAt(int x) const;
    int selectionStart() const { return std::min(anchor_, cursor_); }
    int selectionEnd() const { return std::max(anchor_, cursor_); }
    void drawText(QPainter &painter, QPointF origin, const QRect &clip) const;
    bool blendText(QPainter &painter, const QRect &area, QPointF origin);

    QString text_;
    FieldTextLayout layout_;
    int cursor_ = 0;
    int anchor_ = 0;
    // Pixels the text is scrolled to the left by, to keep the caret in view.
    int scroll_ = 0;
    // How far a glyph's ink may reach past its own stretch of the line.
    int inkMargin_ = 0;
    // The font's line height, asked for on every paint and change of text.
    int lineHeight_ = 0;
    bool selectingWithMouse_ = false;
    // Where text is made before it is copied to the window, kept from one
    // paint to the next.
    QImage strip_;
};
