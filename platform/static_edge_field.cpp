#include "platform/static_edge_field.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

// Room between the edge and the text, as a frameless line edit with text
// margins of 2, 1, 2, 1 leaves it: the margins, then 2 more pixels across.
constexpr int MARGIN_X = 2;
constexpr int MARGIN_Y = 1;
constexpr int TEXT_INSET_X = 2;

// The menu's captions are the line edit's own, so they come translated.
QString MenuCaption(const char *caption, QKeySequence::StandardKey key)
{
    const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
    const QString text = QCoreApplication::translate("QLineEdit", caption);
    return shortcut.isEmpty() ? text : text + QLatin1Char('\t') + shortcut;
}

// How far a glyph's ink may reach past its advance, either side, with one
// more pixel for the antialiased edge.
int InkMargin(const QFontMetrics &metrics)
{
    return 1 + std::max({0, -metrics.minLeftBearing(), -metrics.minRightBearing()});
}

bool IsWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

StaticEdgeField::StaticEdgeField(QWidget *parent) : QWidget(parent), layout_(font())
{
    // Every pixel is painted here, so nothing beneath repaints when the text
    // changes.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    text_.reserve(64);
    inkMargin_ = InkMargin(fontMetrics());
    lineHeight_ = fontMetrics().height();
}

void StaticEdgeField::shareTextChecksWith(const StaticEdgeField &other)
{
    layout_.shareChecksWith(other.layout_);
}

void StaticEdgeField::fontChanged()
{
    inkMargin_ = InkMargin(fontMetrics());
    lineHeight_ = fontMetrics().height();
    layout_.setFont(font());
    layout_.setText(text_);
    updateScroll();
}

void StaticEdgeField::setText(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    textChanged();
}

void StaticEdgeField::setText(QLatin1String text)
{
    if (text == text_)
        return;
    // Refilled in place: its room was reserved when the field was made.
    text_.resize(text.size());
    QChar *out = text_.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = QLatin1Char(text[i]);
    textChanged();
}

void StaticEdgeField::textChanged()
{
    const bool hadSelection = hasSelectedText();
    const int oldScroll = scroll_;
    layout_.setText(text_);
    // As after a line edit's setText: nothing selected, the caret at the end.
    cursor_ = anchor_ = int(text_.size());
    updateScroll();
    if (hadSelection || scroll_ != oldScroll) {
        update();
        return;
    }
    // Only where glyphs changed: digits keep their places as numbers change,
    // and most of a colour's texts stays as it was from one move to the next.
    const FieldTextLayout::Span changed = layout_.changed();
    if (changed.width <= 0)
        return;
    const qreal start = lineRect().x() - scroll_ + changed.x;
    const int left = int(std::floor(start)) - inkMargin_;
    const int right = int(std::ceil(start + changed.width)) + inkMargin_;
    update(QRect(left, 0, right - left, height()) & textArea());
}

QString StaticEdgeField::selectedText() const
{
    return text_.mid(selectionStart(), selectionEnd() - selectionStart());
}

void StaticEdgeField::setSelection(int start, int length)
{
    const int size = int(text_.size());
    start = std::clamp(start, 0, size);
    const int end = std::clamp(start + length, 0, size);
    anchor_ = start;
    cursor_ = end;
    updateScroll();
    update();
}

void StaticEdgeField::selectAll()
{
    setSelection(0, int(text_.size()));
}

void StaticEdgeField::deselect()
{
    if (!hasSelectedText())
        return;
    anchor_ = cursor_;
    update();
}

void StaticEdgeField::copy() const
{
    if (hasSelectedText())
        QGuiApplication::clipboard()->setText(selectedText());
}

void StaticEdgeField::copySelectionToPrimary() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (hasSelectedText() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void StaticEdgeField::moveCursor(int position, bool extendSelection)
{
    cursor_ = std::clamp(position, 0, int(text_.size()));
    if (!extendSelection)
        anchor_ = cursor_;
    updateScroll();
    update();
}

QSize StaticEdgeField::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return QSize(metrics.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * (MARGIN_X + TEXT_INSET_X),
                 metrics.height() + 2 * MARGIN_Y + 2);
}

QRect StaticEdgeField::textArea() const
{
    return rect().adjusted(MARGIN_X, MARGIN_Y, -MARGIN_X, -MARGIN_Y);
}

// The text's line, centred in the text area as a line edit centres it.
QRect StaticEdgeField::lineRect() const
{
    const QRect area = textArea();
    const int top = area.y() + (area.height() - lineHeight_ + 1) / 2;
    return QRect(area.x() + TEXT_INSET_X, top, area.width() - 2 * TEXT_INSET_X, lineHeight_);
}

// Keeps the caret in view as a line edit does: a text that fits sits at the
// left; a wider one scrolls only as far as the caret needs, and never leaves
// blank room after its end.
void StaticEdgeField::updateScroll()
{
    const int visible = lineRect().width();
    const int caret = qRound(layout_.caretX(cursor_));
    const int used = qRound(layout_.width()) + 1;
    if (used <= visible)
        scroll_ = 0;
    else if (caret - scroll_ >= visible)
        scroll_ = caret - visible + 1;
    else if (caret - scroll_ < 0 && scroll_ < used)
        scroll_ = caret;
    else if (used - scroll_ < visible)
        scroll_ = used - visible + 1;
    else
        scroll_ = std::max(0, scroll_);
}

int StaticEdgeField::positionAt(int x) const
{
    return int(layout_.positionAt(x - lineRect().x() + scroll_));
}

void StaticEdgeField::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    const QRect dirty = event->rect();
    const QRect clip = textArea();
    // A change of text repaints inside the text area only, where neither the
    // edge lies nor a glyph can stray out of.
    if (!clip.contains(dirty)) {
        painter.fillRect(dirty, colours.color(QPalette::Window));
        const int right = width() - 1;
        const int bottom = height() - 1;
        // Filled one-pixel rectangles cost far less than pen lines.
        const QColor dark = colours.color(QPalette::Dark);
        const QColor light = colours.color(QPalette::Light);
        painter.fillRect(0, 0, right, 1, dark);
        painter.fillRect(0, 0, 1, bottom, dark);
        painter.fillRect(0, bottom, right + 1, 1, light);
        painter.fillRect(right, 0, 1, bottom + 1, light);
        painter.setClipRect(clip);
    }
    const QRect line = lineRect();
    const QPointF origin(line.x() - scroll_, line.y());
    if (!hasSelectedText() && blendText(painter, dirty & clip, origin))
        return;
    if (clip.contains(dirty))
        painter.fillRect(dirty, colours.color(QPalette::Window));
    if (text_.isEmpty())
        return;
    if (!hasSelectedText()) {
        painter.setPen(colours.color(QPalette::Text));
        // Glyphs wholly outside the repainted stretch would leave no ink in
        // it; one more pixel each side allows for rounding.
        const int reach = inkMargin_ + 1;
        layout_.draw(painter, origin, dirty.left() - origin.x() - reach,
                     dirty.right() + 1 - origin.x() + reach);
        return;
    }
    drawText(painter, origin, clip);
}

// Text without a selection, made in an image of our own and copied in one
// piece: far cheaper than QPainter's way with glyphs, and the same pixels.
// Only at one device pixel a pixel, where positions carry over unchanged.
bool StaticEdgeField::blendText(QPainter &painter, const QRect &area, QPointF origin)
{
    const QTransform toDevice = painter.deviceTransform();
    if (area.isEmpty() || toDevice.type() > QTransform::TxTranslate ||
        toDevice.dx() != std::floor(toDevice.dx()) || toDevice.dy() != std::floor(toDevice.dy()))
        return false;
    const QRgb text = palette().color(QPalette::Text).rgba();
    const QRgb background = palette().color(QPalette::Window).rgba();
    if (qAlpha(text) != 255 || qAlpha(background) != 255)
        return false;
    if (strip_.width() < area.width() || strip_.height() < area.height())
        strip_ = QImage(textArea().size().expandedTo(area.size()), QImage::Format_RGB32);
    uchar *const pixels = strip_.bits();
    const qsizetype stride = strip_.bytesPerLine();
    std::fill_n(reinterpret_cast<QRgb *>(pixels), area.width(), background);
    for (int y = 1; y < area.height(); ++y)
        std::memcpy(pixels + y * stride, pixels, area.width() * sizeof(QRgb));
    const int reach = inkMargin_ + 1;
    const QPointF lineTopLeft = origin - QPointF(area.topLeft());
    if (!text_.isEmpty() &&
        !layout_.blendInto(strip_, lineTopLeft, area.left() - origin.x() - reach,
                           area.right() + 1 - origin.x() + reach, text, background))
        return false;
    painter.drawImage(area.topLeft(), strip_, QRect(QPoint(), area.size()));
    return true;
}

// Text with a selection, drawn as Qt's text layout draws it: the selection's
// band filled, the selected glyphs in the highlighted text colour inside it
// and the rest in the text colour outside it.
void StaticEdgeField::drawText(QPainter &painter, QPointF origin, const QRect &clip) const
{
    const QPalette &colours = palette();
    const QRectF textLine = QRectF(origin, QSizeF(layout_.width(), layout_.lineHeight())) & clip;
    const qreal from = origin.x() + layout_.caretX(selectionStart());
    const qreal to = origin.x() + layout_.caretX(selectionEnd());
    QPainterPath band;
    band.setFillRule(Qt::WindingFill);
    band.addRect(
        (textLine & QRectF(from, origin.y(), to - from, layout_.lineHeight())).toAlignedRect());

    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.brush(QPalette::Highlight));
    painter.drawPath(band);

    painter.save();
    painter.setClipPath(band, Qt::IntersectClip);
    painter.setPen(colours.color(QPalette::HighlightedText));
    layout_.draw(painter, origin);
    painter.restore();

    QPainterPath rest;
    QRectF outside(origin, QSizeF(1e6, layout_.lineHeight()));
    rest.addRect(outside & clip);
    rest -= band;
    painter.setClipPath(rest, Qt::IntersectClip);
    painter.setPen(colours.color(QPalette::Text));
    layout_.draw(painter, origin);
}

void StaticEdgeField::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    selectingWithMouse_ = true;
    moveCursor(positionAt(qRound(event->position().x())), event->modifiers() & Qt::ShiftModifier);
}

void StaticEdgeField::mouseMoveEvent(QMouseEvent *event)
{
    if (selectingWithMouse_ && (event->buttons() & Qt::LeftButton))
        moveCursor(positionAt(qRound(event->position().x())), true);
    else
        QWidget::mouseMoveEvent(event);
}

void StaticEdgeField::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && selectingWithMouse_) {
        selectingWithMouse_ = false;
        copySelectionToPrimary();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void StaticEdgeField::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    // The word under the pointer, or the run of other characters there.
    const int at = std::min(positionAt(qRound(event->position().x())), int(text_.size()) - 1);
    if (at < 0)
        return;
    const bool word = IsWordCharacter(text_[at]);
    int start = at;
    while (start > 0 && IsWordCharacter(text_[start - 1]) == word)
        --start;
    int end = at + 1;
    while (end < text_.size() && IsWordCharacter(text_[end]) == word)
        ++end;
    setSelection(start, end - start);
    selectingWithMouse_ = false;
    copySelectionToPrimary();
}

void StaticEdgeField::keyPressEvent(QKeyEvent *event)
{
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::SelectAll) {
        selectAll();
    } else if (event->key() == Qt::Key_Home && !(event->modifiers() & ~Qt::ShiftModifier)) {
        moveCursor(0, extend);
    } else if (event->key() == Qt::Key_End && !(event->modifiers() & ~Qt::ShiftModifier)) {
        moveCursor(int(text_.size()), extend);
    } else if ((event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) &&
               !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        // Without Shift an arrow first collapses a selection to its side.
        if (!extend && hasSelectedText())
            moveCursor(step < 0 ? selectionStart() : selectionEnd(), false);
        else
            moveCursor(cursor_ + step, extend);
    } else {
        // Enter, Escape and the rest belong to the window.
        event->ignore();
    }
}

void StaticEdgeField::focusInEvent(QFocusEvent *event)
{
    // Reached by the keyboard, a field offers its whole text for copying.
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
         reason == Qt::ShortcutFocusReason) &&
        !hasSelectedText())
        selectAll();
    QWidget::focusInEvent(event);
}

void StaticEdgeField::focusOutEvent(QFocusEvent *event)
{
    // The selection outlives a switch of window or a context menu only.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        deselect();
    QWidget::focusOutEvent(event);
}

void StaticEdgeField::contextMenuEvent(QContextMenuEvent *event)
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *copyAction =
        menu->addAction(MenuCaption("&Copy", QKeySequence::Copy), this, [this] { copy(); });
    copyAction->setEnabled(hasSelectedText());
    menu->addSeparator();
    QAction *selectAllAction = menu->addAction(MenuCaption("Select All", QKeySequence::SelectAll),
                                               this, [this] { selectAll(); });
    selectAllAction->setEnabled(!text_.isEmpty() &&
                                selectionEnd() - selectionStart() != text_.size());
    menu->popup(event->globalPos());
}

void StaticEdgeField::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        fontChanged();
    QWidget::changeEvent(event);
}

void StaticEdgeField::resizeEvent(QResizeEvent *event)
{
    updateScroll();
    QWidget::resizeEvent(event);
}
