#include "platform/field_text_layout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace
{

// A single-line QTextLayout of text, unbounded in width, as a line edit lays
// its text out.
QTextLine LayOutLine(QTextLayout &layout)
{
    QTextOption option = layout.textOption();
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    return line;
}

} // namespace

FieldTextLayout::Check &FieldTextLayout::Checks::pair(char16_t first, char16_t second)
{
    if (pairs.empty())
        pairs.assign(TABLE_SIZE * TABLE_SIZE, Check::Unknown);
    return pairs[first * TABLE_SIZE + second];
}

qreal &FieldTextLayout::Checks::pairAdvance(char16_t first, char16_t second)
{
    if (pairAdvances.empty())
        pairAdvances.assign(TABLE_SIZE * TABLE_SIZE, 0);
    return pairAdvances[first * TABLE_SIZE + second];
}

FieldTextLayout::FieldTextLayout(const QFont &font)
{
    setFont(font);
}

void FieldTextLayout::setFont(const QFont &font)
{
    font_ = font;
    rawFont_ = QRawFont::fromFont(font_);
    const QFontMetricsF metrics(font_);
    ascent_ = metrics.ascent();
    plainLineHeight_ = metrics.ascent() + metrics.descent();
    checks_ = std::make_shared<Checks>();
    checks_->font = font_;
    now_ = Placement();
    now_.lineHeight = plainLineHeight_;
    before_ = Placement();
    changed_ = Span();
}

void FieldTextLayout::shareChecksWith(const FieldTextLayout &other)
{
    if (other.checks_->font == font_)
        checks_ = other.checks_;
}

void FieldTextLayout::setText(QStringView text)
{
    const bool plain = isPlain(text);
    std::swap(now_, before_);
    if (plain)
        placeFromTables(text, now_);
    else
        shapeInFull(text, now_);
    changed_ = difference(before_, now_);
}

void FieldTextLayout::draw(QPainter &painter, QPointF lineTopLeft) const
{
    if (!now_.shaped) {
        draw(painter, lineTopLeft, -1e9, 1e9);
        return;
    }
    for (const QGlyphRun &run : now_.runs)
        painter.drawGlyphRun(lineTopLeft, run);
}

void FieldTextLayout::draw(QPainter &painter, QPointF lineTopLeft, qreal from, qreal to) const
{
    // A shaped text's glyphs need not follow its characters.
    if (now_.shaped) {
        draw(painter, lineTopLeft);
        return;
    }
    const auto [first, end] = glyphsBetween(from, to);
    if (first >= end)
        return;
    if (partRun_.rawFont() != rawFont_)
        partRun_.setRawFont(rawFont_);
    partRun_.setRawData(now_.glyphs.constData() + first, now_.positions.constData() + first,
                        int(end - first));
    painter.drawGlyphRun(lineTopLeft, partRun_);
}

bool FieldTextLayout::blendInto(QImage &image, QPointF lineTopLeft, qreal from, qreal to, QRgb text,
                                QRgb background) const
{
    if (now_.shaped || !rawFont_.isValid())
        return false;
    const auto [first, end] = glyphsBetween(from, to);
    if (first >= end)
        return true;
    // Made at the first text drawn, not with every field at start-up.
    if (!checks_->masks)
        checks_->masks = std::make_unique<GlyphMasks>(rawFont_);
    const auto count = std::size_t(end - first);
    return checks_->masks->blend(
        image, std::span<const quint32>(now_.glyphs.constData() + first, count),
        std::span<const QPointF>(now_.positions.constData() + first, count), lineTopLeft, text,
        background);
}

std::pair<qsizetype, qsizetype> FieldTextLayout::glyphsBetween(qreal from, qreal to) const
{
    const auto &carets = now_.caretX;
    // Glyph i stands on carets i … i + 1.
    const qsizetype first = std::max<qsizetype>(
        std::lower_bound(carets.begin(), carets.end(), from) - carets.begin() - 1, 0);
    const qsizetype end = std::min<qsizetype>(
        std::upper_bound(carets.begin(), carets.end(), to) - carets.begin(), now_.glyphs.size());
    return {first, end};
}

qsizetype FieldTextLayout::positionAt(qreal x) const
{
    // Carets run left to right; the nearest one wins, the earlier on a tie.
    const auto &carets = now_.caretX;
    const auto after = std::lower_bound(carets.begin(), carets.end(), x);
    if (after == carets.begin())
        return 0;
    if (after == carets.end())
        return length();
    const auto before = after - 1;
    return (x - *before <= *after - x ? before : after) - carets.begin();
}

bool FieldTextLayout::isPlain(QStringView text)
{
    if (!rawFont_.isValid())
        return false;
    Checks &checks = *checks_;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= TABLE_SIZE)
            return false;
        if (checks.chars[c] == Check::Unknown)
            checkCharacter(c);
        if (checks.chars[c] != Check::Plain)
            return false;
        if (i == 0)
            continue;
        Check &pair = checks.pair(text[i - 1].unicode(), c);
        if (pair == Check::Unknown)
            pair = check(text.sliced(i - 1, 2));
        if (pair != Check::Plain)
            return false;
    }
    return true;
}

// A new character is checked together with its pairs with itself and every
// character known to be plain, in one shaping pass: c x1 c x2 c … c c. Only
// where that differs are its pairs checked one by one, as they come.
void FieldTextLayout::checkCharacter(char16_t c)
{
    Checks &checks = *checks_;
    const QChar character(c);
    QString sample(character);
    for (char16_t other = 0; other < TABLE_SIZE; ++other) {
        if (checks.chars[other] == Check::Plain)
            sample.append(QChar(other)).append(character);
    }
    sample.append(character);
    if (check(sample) == Check::Plain) {
        checks.chars[c] = Check::Plain;
        for (char16_t other = 0; other < TABLE_SIZE; ++other) {
            if (checks.chars[other] == Check::Plain) {
                checks.pair(c, other) = Check::Plain;
                checks.pair(other, c) = Check::Plain;
            }
        }
    } else {
        checks.chars[c] = check(QStringView(&character, 1));
    }
}

// Plain when full shaping gives the sample exactly the glyphs and places that
// the font's own tables give it.
FieldTextLayout::Check FieldTextLayout::check(QStringView sample)
{
    Placement placed;
    QVarLengthArray<QPointF, 64> advances;
    if (!placeFromFont(sample, placed, advances))
        return Check::Shaped;
    Placement shaped;
    shapeInFull(sample, shaped);
    if (shaped.runs.size() != 1)
        return Check::Shaped;
    const QGlyphRun &shapedRun = shaped.runs.front();
    const bool same = shapedRun.rawFont() == rawFont_ &&
                      shapedRun.glyphIndexes() == placed.glyphs &&
                      shapedRun.positions() == placed.positions && shaped.caretX == placed.caretX;
    if (!same)
        return Check::Shaped;
    remember(sample, placed, advances);
    return Check::Plain;
}

void FieldTextLayout::remember(QStringView sample, const Placement &placed,
                               const QVarLengthArray<QPointF, 64> &advances)
{
    Checks &checks = *checks_;
    const qsizetype last = sample.size() - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        const char16_t c = sample[i].unicode();
        checks.glyphs[c] = placed.glyphs[i];
        if (i < last)
            checks.pairAdvance(c, sample[i + 1].unicode()) = advances[i].x();
    }
    checks.advances[sample[last].unicode()] = advances[last].x();
}

void FieldTextLayout::startPlainPlacement(qsizetype count, Placement &out) const
{
    out.runs.clear();
    out.glyphs.resize(count);
    out.positions.resize(count);
    out.caretX.resize(count + 1);
    out.lineHeight = plainLineHeight_;
    out.shaped = false;
}

void FieldTextLayout::placeFromTables(QStringView text, Placement &out) const
{
    const Checks &checks = *checks_;
    const qsizetype count = text.size();
    startPlainPlacement(count, out);
    qreal x = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t c = text[i].unicode();
        out.glyphs[i] = checks.glyphs[c];
        out.caretX[i] = x;
        out.positions[i] = QPointF(x, ascent_);
        x += i + 1 < count ? checks.pairAdvances[c * TABLE_SIZE + text[i + 1].unicode()]
                           : checks.advances[c];
    }
    out.caretX[count] = x;
}

bool FieldTextLayout::placeFromFont(QStringView text, Placement &out,
                                    QVarLengthArray<QPointF, 64> &advances) const
{
    const int count = int(text.size());
    startPlainPlacement(count, out);
    advances.resize(count);
    int glyphCount = count;
    if (count > 0 && (!rawFont_.glyphIndexesForChars(reinterpret_cast<const QChar *>(text.data()),
                                                     count, out.glyphs.data(), &glyphCount) ||
                      glyphCount != count || out.glyphs.contains(0u)))
        return false;
    rawFont_.advancesForGlyphIndexes(out.glyphs.constData(), advances.data(), count,
                                     QRawFont::KernedAdvances);
    qreal x = 0;
    for (int i = 0; i < count; ++i) {
        out.caretX[i] = x;
        out.positions[i] = QPointF(x, ascent_);
        x += advances[i].x();
    }
    out.caretX[count] = x;
    return true;
}

void FieldTextLayout::shapeInFull(QStringView text, Placement &out) const
{
    QTextLayout layout(text.toString(), font_);
    const QTextLine line = LayOutLine(layout);
    out.runs = layout.glyphRuns();
    out.glyphs.clear();
    out.positions.clear();
    out.caretX.resize(text.size() + 1);
    for (qsizetype i = 0; i <= text.size(); ++i)
        out.caretX[i] = line.cursorToX(int(i));
    out.lineHeight = line.height();
    out.shaped = true;
}

// Placed texts are compared glyph by glyph; glyph i stands on character i's
// stretch. A shaped text on either side counts as changed all along.
FieldTextLayout::Span FieldTextLayout::difference(const Placement &before,
                                                  const Placement &after) const
{
    const qreal widest = std::max(before.caretX.back(), after.caretX.back());
    if (before.shaped || after.shaped || before.lineHeight != after.lineHeight)
        return Span{0, widest};
    const qsizetype count = std::max(before.glyphs.size(), after.glyphs.size());
    qreal from = widest;
    qreal to = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const bool inBefore = i < before.glyphs.size();
        const bool inAfter = i < after.glyphs.size();
        if (inBefore && inAfter && before.glyphs[i] == after.glyphs[i] &&
            before.caretX[i] == after.caretX[i] && before.caretX[i + 1] == after.caretX[i + 1])
            continue;
        if (inBefore) {
            from = std::min(from, before.caretX[i]);
            to = std::max(to, before.caretX[i + 1]);
        }
        if (inAfter) {
            from = std::min(from, after.caretX[i]);
            to = std::max(to, after.caretX[i + 1]);
        }
    }
    return from < to ? Span{from, to - from} : Span{};
}
