#pragma once

#include "sampling/colorref.h"

#include <array>
#include <cstddef>
#include <string_view>

// One rendering of a colour. Fixed storage, so formatting a colour on every
// pointer move never touches the heap.
struct ColorText {
    std::array<char, 48> chars{};
    std::size_t length = 0;

    std::string_view view() const { return {chars.data(), length}; }
};

// The six renderings of one colour, always in this order.
enum ColorTextIndex : std::size_t {
    TEXT_RED,
    TEXT_GREEN,
    TEXT_BLUE,
    TEXT_HASH_HEX,
    TEXT_HEX,
    TEXT_POVRAY,
    COLOR_TEXT_COUNT
};

using ColorTexts = std::array<ColorText, COLOR_TEXT_COUNT>;

// Decimal red, green and blue; "#rrggbb"; "rrggbb"; and the POV-Ray expression
// "color rgb <r, g, b>" with six decimals. The top byte of the value is ignored.
ColorTexts FormatColorTexts(COLORREF value);
