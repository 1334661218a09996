#pragma once

#include "resources/dialog_template.h"

#include <QFont>
#include <QRect>
#include <QSize>

// Dialog units to pixels, computed the way a dialog manager computes them from
// the window's font: the horizontal base unit is the average width of the 52
// letters a–z and A–Z, rounded; the vertical one is the font's height. One
// dialog unit is a quarter of the first across and an eighth of the second down.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;

    bool operator==(const DialogBaseUnits &) const = default;
};

// number × numerator / denominator through 64 bits, rounded half away from
// zero; -1 when the denominator is 0 or the result does not fit an int.
int MulDivRound(int number, int numerator, int denominator);

// Base units from the width of the string "a…zA…Z" and the font's height.
// The width is averaged as ((extent / 26) + 1) / 2, rounding the half-letter.
DialogBaseUnits BaseUnitsFromLetters(int letterExtent, int fontHeight);

// The base units of a font as the screen renders it (kerning off, as the
// dialog manager measures).
DialogBaseUnits DialogBaseUnitsOf(const QFont &font);

// Position and size are scaled separately: x and width by x / 4, y and height
// by y / 8.
QRect DialogRectToPixels(const DialogRect &rect, DialogBaseUnits units);
QSize DialogSizeToPixels(int width, int height, DialogBaseUnits units);

// The dialog font for a face and point size. A face the desktop lacks falls back
// to its sans-serif font. Points become pixels at the 96 pixels per inch that
// Qt's device-independent pixels stand for (8 points are 11 pixels); Qt scales
// those on high-density screens, so a layout never depends on the reported DPI.
QFont DialogFont(const char *face, int points);
