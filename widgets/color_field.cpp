#include "widgets/color_field.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QRawFont>

#include <algorithm>

namespace
{

// Room between the edge and the text, as a frameless line edit leaves it.
constexpr int MARGIN_X = 4;
constexpr int MARGIN_Y = 1;

} // namespace

ColorField::ColorField(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
}

void ColorField::setText(const QString &text)
{
    if (text == Text)
        return;
    Text = text;
    layOut();
    select(int(Text.size()), int(Text.size()));
}

// Glyphs are placed by their advances, from the font's character map, each
// character looked up once: a shaping pass costs more than the rest of a
// pointer move, and the colour texts need none (plain ASCII, no ligatures).
void ColorField::layOut()
{
    if (!RawFont.isValid())
        RawFont = QRawFont::fromFont(font());
    Glyphs.resize(Text.size());
    Positions.resize(Text.size());
    CaretX.resize(std::size_t(Text.size()) + 1);
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const char16_t c = Text[i].unicode() < Ascii.size() ? Text[i].unicode() : u'?';
        if (Ascii[c].second == 0) {
            const QList<quint32> glyph = RawFont.glyphIndexesForString(QString(QChar(c)));
            Ascii[c] = {glyph.value(0), RawFont.advancesForGlyphIndexes(glyph).value(0).x()};
        }
        Glyphs[i] = Ascii[c].first;
        Positions[i] = QPointF(CaretX[std::size_t(i)], RawFont.ascent());
        CaretX[std::size_t(i) + 1] = CaretX[std::size_t(i)] + Ascii[c].second;
    }
}

QString ColorField::selectedText() const
{
    const int start = std::min(Anchor, Cursor);
    return Text.mid(start, std::abs(Cursor - Anchor));
}

void ColorField::selectAll()
{
    select(0, int(Text.size()));
}

void ColorField::copy() const
{
    if (hasSelectedText())
        QGuiApplication::clipboard()->setText(selectedText());
}

// Where X11 has a primary selection, selecting with the mouse offers it there
// too, as every text field on that desktop does.
void ColorField::copyToPrimary() const
{
    if (hasSelectedText() && QGuiApplication::clipboard()->supportsSelection())
        QGuiApplication::clipboard()->setText(selectedText(), QClipboard::Selection);
}

QSize ColorField::sizeHint() const
{
    return QSize(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 17 + 2 * MARGIN_X,
                 fontMetrics().height() + 2 * MARGIN_Y + 2);
}

// The text's line, centred in the field as a line edit centres it.
QRect ColorField::lineRect() const
{
    const int lineHeight = fontMetrics().height();
    return QRect(MARGIN_X, (height() - lineHeight + 1) / 2, width() - 2 * MARGIN_X, lineHeight);
}

int ColorField::caretX(int position) const
{
    return qRound(CaretX[std::size_t(position)]);
}

int ColorField::positionAt(int x) const
{
    // The caret position nearest to x.
    const int lineX = x - lineRect().x() + Scroll;
    int best = 0;
    for (int position = 1; position <= Text.size(); ++position) {
        if (std::abs(caretX(position) - lineX) < std::abs(caretX(best) - lineX))
            best = position;
    }
    return best;
}

// Moves the selection and keeps the caret in view as a line edit does: a text
// that fits sits at the left; a wider one scrolls only as far as the caret
// needs, and never leaves blank room after its end.
void ColorField::select(int anchor, int cursor)
{
    Anchor = std::clamp(anchor, 0, int(Text.size()));
    Cursor = std::clamp(cursor, 0, int(Text.size()));
    const int visible = lineRect().width();
    const int used = caretX(int(Text.size())) + 1;
    const int caret = caretX(Cursor);
    if (used <= visible)
        Scroll = 0;
    else if (caret - Scroll >= visible)
        Scroll = caret - visible + 1;
    else if (caret < Scroll)
        Scroll = caret;
    else
        Scroll = std::min(Scroll, used - visible);
    update(textArea());
}

// Where text may stand, clear of the edge.
QRect ColorField::textArea() const
{
    return rect().adjusted(2, 1, -2, -1);
}

void ColorField::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    const QRect inside = textArea();
    painter.fillRect(event->rect(), colours.color(QPalette::Window));
    // A change of text or selection repaints inside the edge only.
    if (!inside.contains(event->rect())) {
        const int right = width() - 1;
        const int bottom = height() - 1;
        painter.fillRect(0, 0, right, 1, colours.color(QPalette::Dark));
        painter.fillRect(0, 0, 1, bottom, colours.color(QPalette::Dark));
        painter.fillRect(0, bottom, right + 1, 1, colours.color(QPalette::Light));
        painter.fillRect(right, 0, 1, bottom + 1, colours.color(QPalette::Light));
    }
    // As a native read-only field: the caret and the selection show only
    // while the field has the focus, so at most one field looks selected and
    // a keyboard user sees which one. The caret does not blink.
    const QPoint origin = lineRect().topLeft() - QPoint(Scroll, 0);
    if (hasFocus())
        painter.fillRect(QRect(origin.x() + caretX(Cursor), origin.y(), 1, lineRect().height()) &
                             inside,
                         colours.color(QPalette::Text));
    if (Text.isEmpty())
        return;

    // As a line edit draws a selection: its band in the highlight, its
    // glyphs in the highlighted text colour, the rest as ever.
    const QRect band(origin.x() + caretX(std::min(Anchor, Cursor)), origin.y(),
                     hasFocus() ? std::abs(caretX(Cursor) - caretX(Anchor)) : 0,
                     lineRect().height());
    QGlyphRun run;
    run.setRawFont(RawFont);
    run.setGlyphIndexes(Glyphs);
    run.setPositions(Positions);
    if (band.isEmpty())
        painter.setClipRect(inside);
    else
        painter.setClipRegion(QRegion(inside) - band);
    painter.setPen(colours.color(QPalette::Text));
    painter.drawGlyphRun(origin, run);
    if (band.isEmpty())
        return;
    painter.setClipRect(inside & band);
    painter.fillRect(band, colours.color(QPalette::Highlight));
    painter.setPen(colours.color(QPalette::HighlightedText));
    painter.drawGlyphRun(origin, run);
}

void ColorField::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    Selecting = true;
    const int at = positionAt(qRound(event->position().x()));
    select(event->modifiers() & Qt::ShiftModifier ? Anchor : at, at);
}

void ColorField::mouseMoveEvent(QMouseEvent *event)
{
    if (Selecting && (event->buttons() & Qt::LeftButton))
        select(Anchor, positionAt(qRound(event->position().x())));
}

void ColorField::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && Selecting) {
        Selecting = false;
        copyToPrimary();
    }
}

void ColorField::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The colour texts are short: a double click takes the whole of one.
    if (event->button() == Qt::LeftButton) {
        selectAll();
        copyToPrimary();
    }
}

void ColorField::keyPressEvent(QKeyEvent *event)
{
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const int end = int(Text.size());
    if (event == QKeySequence::Copy)
        copy();
    else if (event == QKeySequence::SelectAll)
        selectAll();
    else if (event->key() == Qt::Key_Home)
        select(extend ? Anchor : 0, 0);
    else if (event->key() == Qt::Key_End)
        select(extend ? Anchor : end, end);
    else if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        // Without Shift an arrow first collapses a selection to its side.
        const int to = !extend && hasSelectedText()
                           ? (step < 0 ? std::min(Anchor, Cursor) : std::max(Anchor, Cursor))
                           : Cursor + step;
        select(extend ? Anchor : to, to);
    } else
        event->ignore(); // Enter, Escape and the rest belong to the window
}

void ColorField::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        RawFont = QRawFont();
        Ascii = {};
        layOut();
        select(Anchor, Cursor);
    }
    QWidget::changeEvent(event);
}

void ColorField::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    // The line edit's own captions, so that they come translated.
    const auto caption = [](const char *text) {
        return QCoreApplication::translate("QLineEdit", text);
    };
    menu.addAction(caption("&Copy"), this, [this] { copy(); })->setEnabled(hasSelectedText());
    menu.addAction(caption("Select All"), this, [this] { selectAll(); })
        ->setEnabled(!Text.isEmpty());
    menu.exec(event->globalPos());
}
