#pragma once

#include <QGlyphRun>
#include <QRawFont>
#include <QWidget>

#include <array>
#include <utility>
#include <vector>

// A read-only single-line text field with a thin sunken edge, on the window's
// background colour like any read-only field. The colour fields change on
// every pointer move of a drag, so this one is light: it paints every pixel
// itself (nothing beneath it repaints), lays a text out only when it changes,
// without a shaping pass, and repaints only then. Otherwise it behaves as a read-only line edit:
// it starts empty, keeps the caret in view when the text is wider than it,
// and the user selects with the mouse or keyboard and copies with the usual
// keys or its context menu. Its caret and selection show only while it has
// the focus; the selection stays for when it gets the focus back.
class ColorField : public QWidget
{
public:
    explicit ColorField(QWidget *parent = nullptr);

    QString text() const { return Text; }
    // As a line edit's: nothing selected after, the caret at the end.
    void setText(const QString &text);

    bool hasSelectedText() const { return Anchor != Cursor; }
    QString selectedText() const;
    // Selects everything, leaving the caret at the end, scrolled into view.
    void selectAll();
    // Puts the selection on the clipboard; without one the clipboard stays.
    void copy() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void layOut();
    QRect textArea() const;
    QRect lineRect() const;
    int caretX(int position) const;
    int positionAt(int x) const;
    void select(int anchor, int cursor);
    void copyToPrimary() const;

    QString Text;
    QRawFont RawFont;
    // Each ASCII character's glyph and advance, once looked up; an advance
    // of 0 marks one not looked up yet.
    std::array<std::pair<quint32, qreal>, 128> Ascii{};
    // The text's glyphs and where they stand on the line.
    QList<quint32> Glyphs;
    QList<QPointF> Positions;
    // Where the caret stands before each character and after the last.
    std::vector<qreal> CaretX{0};
    int Cursor = 0;
    int Anchor = 0;
    // Pixels the text is scrolled left by, to keep the caret in view.
    int Scroll = 0;
    bool Selecting = false;
};
