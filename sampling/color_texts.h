#pragma once

#include <QString>

#include <array>
#include <cstdint>

// A colour as the program passes it around: 0x00BBGGRR, red in the low byte.
// A pixel that cannot be read comes back with all bits set.
using COLORREF = std::uint32_t;

constexpr COLORREF MakeColorRef(int red, int green, int blue)
{
    return COLORREF(red & 0xFF) | COLORREF(green & 0xFF) << 8 | COLORREF(blue & 0xFF) << 16;
}

// The six renderings of one colour, in this order: decimal red, green and
// blue, "#rrggbb", "rrggbb" and the POV-Ray expression "color rgb <r, g, b>".
enum ColorTextIndex { TEXT_RED, TEXT_GREEN, TEXT_BLUE, TEXT_HASH_HEX, TEXT_HEX, TEXT_POVRAY };
using ColorTexts = std::array<QString, 6>;

// The top byte of the value is ignored.
ColorTexts FormatColorTexts(COLORREF value);
