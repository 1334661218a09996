#pragma once

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QRgb>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// Each glyph's coverage at each sub-pixel offset, taken from Qt's raster
// engine itself, so that a line of text can be blended straight into an
// opaque picture with the very pixels QPainter would give it, at a fraction
// of the cost: the engine's general glyph path does far more work per glyph
// than the few pixels of a small font need.
//
// Each glyph's first mask is checked: the glyph drawn by QPainter in the
// colours asked for must match the blend of its coverage pixel for pixel.
// Where it does not (sub-pixel antialiasing, gamma-corrected text), the masks
// refuse from then on; a glyph too large for a tile is refused alone. The
// caller then draws with QPainter as before.
class GlyphMasks
{
public:
    explicit GlyphMasks(const QRawFont &font);
    GlyphMasks(const GlyphMasks &) = delete;
    GlyphMasks &operator=(const GlyphMasks &) = delete;

    // Blends a run of glyphs, left to right, in text over an image of
    // Format_RGB32 filled with background: each glyph's origin at its
    // position plus offset, in image pixels with the top-left pixel's corner
    // at 0,0, and clipped to the image. False where the result could differ
    // from QPainter's; the image is then partly drawn.
    bool blend(QImage &image, std::span<const quint32> glyphs, std::span<const QPointF> positions,
               QPointF offset, QRgb text, QRgb background);

private:
    // Positions are kept in 1/64 pixel, as Qt's text engine keeps them.
    static constexpr int STEPS = 64;

    static constexpr std::int32_t UNMADE = -1;
    static constexpr std::int32_t UNUSABLE = -2;

    struct Mask {
        qint16 left = 0; // from the origin's pixel to the mask's top-left
        qint16 top = 0;
        qint16 width = 0;
        qint16 height = 0;
        std::int32_t offset = UNMADE; // into coverage_
    };

    const Mask *find(quint32 glyph, int stepX, QRgb text, QRgb background);
    void make(quint32 glyph, int stepX, bool check, QRgb text, QRgb background, Mask &out);
    // Draws glyph on the tile in pen, the tile first filled with fill.
    void drawOnTile(quint32 glyph, int stepX, QRgb pen, QRgb fill);
    bool matchesPainter(quint32 glyph, int stepX, QRgb text, QRgb background) const;
    QGlyphRun tileRun(quint32 glyph, int stepX) const;
    void setColours(QRgb text, QRgb background);

    QRawFont font_;
    bool exact_ = true;
    // One tile, big enough for any glyph of the font, and its painter, kept
    // for making every mask: a painter costs more to start than a glyph to
    // draw.
    QImage tile_;
    QPoint tileOrigin_;
    QPainter tilePainter_;
    // text over background at each coverage, for pixels of plain background.
    QRgb text_ = 0;
    QRgb background_ = 0;
    std::array<quint32, 256> blended_{};
    // The fraction of a pixel below the origin's pixel top that baselines sit
    // at; every mask is made for one, so another is refused.
    int stepY_ = -1;
    // slots_[glyph] picks glyph's run of STEPS masks in masks_.
    std::vector<std::int32_t> slots_;
    std::vector<Mask> masks_;
    std::vector<uchar> coverage_;
    // coverage_ made into text over background.
    std::vector<quint32> blendedGlyphs_;
};
