#include "platform/glyph_masks.h"

#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{

// x·a/255 in each of a pixel's four bytes, rounded as the raster engine
// rounds it.
inline quint32 ByteMul(quint32 x, quint32 a)
{
    quint64 t = ((quint64(x) | (quint64(x) << 24)) & 0x00ff00ff00ff00ffULL) * a;
    t = (t + ((t >> 8) & 0x00ff00ff00ff00ffULL) + 0x0080008000800080ULL) >> 8;
    t &= 0x00ff00ff00ff00ffULL;
    return quint32(t) | quint32(t >> 24);
}

// text over dst with coverage, as the raster engine blends a glyph's alpha
// map in a solid pen.
inline quint32 Blend(quint32 dst, quint32 text, quint32 coverage)
{
    if (coverage == 0)
        return dst;
    if (coverage == 255)
        return text;
    const quint32 source = ByteMul(text, coverage);
    return source + ByteMul(dst, qAlpha(~source));
}

// The step of a position's fraction, or -1 where it is not a whole step.
int Step(qreal position, int steps)
{
    const qreal scaled = (position - std::floor(position)) * steps;
    const int step = int(scaled);
    return step == scaled ? step : -1;
}

} // namespace

GlyphMasks::GlyphMasks(const QRawFont &font) : font_(font)
{
    constexpr int ROOM = 3;
    const int advance = int(std::ceil(font.maxCharWidth()));
    const int ascent = int(std::ceil(font.ascent()));
    const int descent = int(std::ceil(font.descent()));
    tileOrigin_ = QPoint(ROOM + advance, ROOM + ascent + 1);
    tile_ = QImage(tileOrigin_.x() + 2 * advance + ROOM, tileOrigin_.y() + descent + 1 + ROOM,
                   QImage::Format_ARGB32_Premultiplied);
    tilePainter_.begin(&tile_);
}

bool GlyphMasks::blend(QImage &image, std::span<const quint32> glyphs,
                       std::span<const QPointF> positions, QPointF offset, QRgb text,
                       QRgb background)
{
    if (text != text_ || background != background_)
        setColours(text, background);
    const quint32 plain = background | 0xff000000u;
    const quint32 pen = text | 0xff000000u;
    uchar *const pixels = image.bits();
    const qsizetype stride = image.bytesPerLine();
    // Columns from here on hold nothing but background so far.
    int untouched = std::numeric_limits<int>::min();
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const QPointF position = positions[i] + offset;
        const int stepX = Step(position.x(), STEPS);
        const int stepY = Step(position.y(), STEPS);
        if (stepX < 0 || stepY < 0 || (stepY_ >= 0 && stepY != stepY_))
            return false;
        stepY_ = stepY;
        const Mask *mask = find(glyphs[i], stepX, text, background);
        if (!mask)
            return false;

        const int left = int(std::floor(position.x())) + mask->left;
        const int top = int(std::floor(position.y())) + mask->top;
        const int fromX = std::max(0, -left);
        const int toX = std::min<int>(mask->width, image.width() - left);
        const int fromY = std::max(0, -top);
        const int toY = std::min<int>(mask->height, image.height() - top);
        if (fromX >= toX || fromY >= toY)
            continue;
        // On untouched background the blended glyph is copied as it is;
        // where glyphs meet, each pixel is blended over what is there.
        const bool onPlain = left + fromX >= untouched;
        untouched = std::max(untouched, left + toX);
        for (int y = fromY; y < toY; ++y) {
            const std::size_t at = std::size_t(mask->offset) + std::size_t(y) * mask->width;
            auto *row = reinterpret_cast<quint32 *>(pixels + (top + y) * stride) + left;
            if (onPlain) {
                std::memcpy(row + fromX, blendedGlyphs_.data() + at + fromX,
                            std::size_t(toX - fromX) * sizeof(quint32));
                continue;
            }
            const uchar *coverage = coverage_.data() + at;
            for (int x = fromX; x < toX; ++x) {
                const quint32 alpha = coverage[x];
                if (alpha != 0)
                    row[x] = row[x] == plain ? blended_[alpha] : Blend(row[x], pen, alpha);
            }
        }
    }
    return true;
}

void GlyphMasks::setColours(QRgb text, QRgb background)
{
    text_ = text;
    background_ = background;
    for (quint32 alpha = 0; alpha < 256; ++alpha)
        blended_[alpha] = Blend(background | 0xff000000u, text | 0xff000000u, alpha);
    for (std::size_t i = 0; i < coverage_.size(); ++i)
        blendedGlyphs_[i] = blended_[coverage_[i]];
}

const GlyphMasks::Mask *GlyphMasks::find(quint32 glyph, int stepX, QRgb text, QRgb background)
{
    if (!exact_)
        return nullptr;
    bool firstOfGlyph = false;
    if (glyph >= slots_.size())
        slots_.resize(glyph + 1, -1);
    if (slots_[glyph] < 0) {
        slots_[glyph] = std::int32_t(masks_.size() / STEPS);
        masks_.resize(masks_.size() + STEPS);
        firstOfGlyph = true;
    }
    Mask &mask = masks_[std::size_t(slots_[glyph]) * STEPS + stepX];
    if (mask.offset == UNMADE)
        make(glyph, stepX, firstOfGlyph, text, background, mask);
    return exact_ && mask.offset >= 0 ? &mask : nullptr;
}

void GlyphMasks::drawOnTile(quint32 glyph, int stepX, QRgb pen, QRgb fill)
{
    tilePainter_.setCompositionMode(QPainter::CompositionMode_Source);
    tilePainter_.fillRect(tile_.rect(), QColor::fromRgba(fill));
    tilePainter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    tilePainter_.setPen(QColor::fromRgba(pen));
    tilePainter_.drawGlyphRun(QPointF(), tileRun(glyph, stepX));
}

QGlyphRun GlyphMasks::tileRun(quint32 glyph, int stepX) const
{
    QGlyphRun run;
    run.setRawFont(font_);
    run.setGlyphIndexes({glyph});
    run.setPositions({QPointF(tileOrigin_) + QPointF(qreal(stepX) / STEPS, qreal(stepY_) / STEPS)});
    return run;
}

// The glyph drawn in black on a transparent tile leaves its coverage in the
// alpha channel. A glyph's first mask is also held against the glyph drawn in
// the text colour on the background, on an opaque image as a window's own.
void GlyphMasks::make(quint32 glyph, int stepX, bool check, QRgb text, QRgb background, Mask &out)
{
    drawOnTile(glyph, stepX, qRgba(0, 0, 0, 255), qRgba(0, 0, 0, 0));
    const int width = tile_.width();
    const int height = tile_.height();
    int left = width;
    int right = -1;
    int top = height;
    int bottom = -1;
    for (int y = 0; y < height; ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(tile_.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(pixels[x]) == 0)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    // Ink on the tile's border may have been cut off.
    if (right >= 0 && (left == 0 || top == 0 || right == width - 1 || bottom == height - 1)) {
        out.offset = UNUSABLE;
        return;
    }
    if (check && !matchesPainter(glyph, stepX, text, background)) {
        exact_ = false;
        out.offset = UNUSABLE;
        return;
    }
    out.offset = std::int32_t(coverage_.size());
    if (right < 0)
        return;
    out.left = qint16(left - tileOrigin_.x());
    out.top = qint16(top - tileOrigin_.y());
    out.width = qint16(right - left + 1);
    out.height = qint16(bottom - top + 1);
    for (int y = top; y <= bottom; ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(tile_.constScanLine(y));
        for (int x = left; x <= right; ++x) {
            coverage_.push_back(uchar(qAlpha(pixels[x])));
            blendedGlyphs_.push_back(blended_[coverage_.back()]);
        }
    }
}

// Whether QPainter draws the glyph on an opaque image exactly as the tile's
// coverage blends it.
bool GlyphMasks::matchesPainter(quint32 glyph, int stepX, QRgb text, QRgb background) const
{
    if (qAlpha(text) != 255 || qAlpha(background) != 255)
        return false;
    QImage drawn(tile_.size(), QImage::Format_RGB32);
    drawn.fill(background);
    {
        QPainter painter(&drawn);
        painter.setPen(QColor::fromRgb(text));
        painter.drawGlyphRun(QPointF(), tileRun(glyph, stepX));
    }
    for (int y = 0; y < tile_.height(); ++y) {
        const auto *coverage = reinterpret_cast<const QRgb *>(tile_.constScanLine(y));
        const auto *pixels = reinterpret_cast<const QRgb *>(drawn.constScanLine(y));
        for (int x = 0; x < tile_.width(); ++x) {
            if (Blend(background | 0xff000000u, text | 0xff000000u, quint32(qAlpha(coverage[x]))) !=
                (pixels[x] | 0xff000000u))
                return false;
        }
    }
    return true;
}
