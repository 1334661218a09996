#pragma once

#include "platform/glyph_masks.h"

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRawFont>
#include <QStringView>
#include <QVarLengthArray>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QPainter;

// One line of text laid out in one font, with the glyphs and positions Qt's
// own text layout gives it, but cheap to lay out again: a text field that
// changes its text on every pointer move cannot afford a full shaping pass
// each time.
//
// Most texts are placed straight from the font's character map and kerned
// advances. That is only what full shaping gives where no pair of adjacent
// characters forms a ligature or is kerned by rules the kerning table does not
// hold, so each character and each adjacent pair is checked once against a
// real shaping pass and remembered. A text with a pair that differs, or with a
// character outside ASCII, is shaped in full.
class FieldTextLayout
{
public:
    explicit FieldTextLayout(const QFont &font = QFont());

    // Forgets what it knew of the old font; lay the text out again after.
    void setFont(const QFont &font);
    const QFont &font() const { return font_; }

    // Layouts in one font can share what they learnt of it: the checks are
    // the costly part of a new text.
    void shareChecksWith(const FieldTextLayout &other);

    void setText(QStringView text);

    // Draws the glyphs in the painter's pen, the line's top-left corner at
    // lineTopLeft; the baseline is at the font's ascent below it.
    void draw(QPainter &painter, QPointF lineTopLeft) const;
    // The same, leaving out glyphs whose stretch of the line lies wholly
    // outside from … to (line coordinates). Where the painter is clipped to
    // that stretch widened by how far ink strays, nothing drawn differs, and
    // the unchanged rest of a long text costs nothing.
    void draw(QPainter &painter, QPointF lineTopLeft, qreal from, qreal to) const;
    // The same glyphs blended straight into an opaque image of Format_RGB32,
    // lineTopLeft in its pixels, with the pixels QPainter would give them.
    // False where that cannot be promised (a shaped text, a font the raster
    // engine draws in colour fringes or with gamma); the image is then
    // partly drawn and should be drawn afresh with QPainter.
    bool blendInto(QImage &image, QPointF lineTopLeft, qreal from, qreal to, QRgb text,
                   QRgb background) const;

    qsizetype length() const { return now_.caretX.size() - 1; }
    // x of the caret before character position (0 … length()).
    qreal caretX(qsizetype position) const { return now_.caretX[position]; }
    qreal width() const { return now_.caretX.back(); }
    qreal lineHeight() const { return now_.lineHeight; }
    // The caret position nearest to x.
    qsizetype positionAt(qreal x) const;

    // The stretch of the line, from x to x + width, where the last setText
    // changed glyphs or moved them; empty when nothing changed. Glyphs may
    // draw a little beyond their own stretch.
    struct Span {
        qreal x = 0;
        qreal width = 0;
    };
    Span changed() const { return changed_; }

private:
    enum class Check : std::uint8_t { Unknown, Plain, Shaped };
    static constexpr int TABLE_SIZE = 128;

    // What the checks found, for one font, with what a plain text is placed
    // from: each plain character's glyph and advance as the last of a line,
    // and each plain pair's advance of its first glyph, kerned for the
    // second. Kerning goes by pairs alone, so these add up to exactly what
    // the font gives a whole text.
    struct Checks {
        QFont font;
        std::array<Check, TABLE_SIZE> chars{};
        std::array<quint32, TABLE_SIZE> glyphs{};
        std::array<qreal, TABLE_SIZE> advances{};
        std::vector<Check> pairs; // TABLE_SIZE × TABLE_SIZE once needed
        std::vector<qreal> pairAdvances;
        std::unique_ptr<GlyphMasks> masks; // once text is drawn
        Check &pair(char16_t first, char16_t second);
        qreal &pairAdvance(char16_t first, char16_t second);
    };

    struct Placement {
        QList<QGlyphRun> runs; // a shaped text's only
        QList<quint32> glyphs;
        QList<QPointF> positions;
        QVarLengthArray<qreal, 64> caretX{0};
        qreal lineHeight = 0;
        bool shaped = false;
    };

    // Sizes out for count characters placed one glyph each on one line.
    void startPlainPlacement(qsizetype count, Placement &out) const;
    // A plain text, placed from what its checks remembered.
    void placeFromTables(QStringView text, Placement &out) const;
    // The same from the font itself, with the advances it gave each glyph.
    bool placeFromFont(QStringView text, Placement &out,
                       QVarLengthArray<QPointF, 64> &advances) const;
    void remember(QStringView sample, const Placement &placed,
                  const QVarLengthArray<QPointF, 64> &advances);
    void shapeInFull(QStringView text, Placement &out) const;
    bool isPlain(QStringView text);
    void checkCharacter(char16_t c);
    // Remembers what a plain sample was placed from.
    Check check(QStringView sample);
    Span difference(const Placement &before, const Placement &after) const;
    // The plain text's glyphs standing on the stretch from … to, as first
    // and one past the last.
    std::pair<qsizetype, qsizetype> glyphsBetween(qreal from, qreal to) const;

    QFont font_;
    QRawFont rawFont_;
    qreal ascent_ = 0;
    qreal plainLineHeight_ = 0;
    std::shared_ptr<Checks> checks_;

    // The layout shown and the one before it, whose lists are refilled in
    // turn rather than made anew.
    Placement now_;
    Placement before_;
    Span changed_;
    // Points into now_'s lists while drawing part of a placed text, so that
    // drawing allocates nothing.
    mutable QGlyphRun partRun_;
};
