#pragma once

#include <cstdint>

// A colour as the rest of the program passes it around: 0x00BBGGRR, red in the
// low byte. The top byte is zero for a real colour; a pixel that cannot be read
// comes back as all bits set.
using COLORREF = std::uint32_t;

constexpr COLORREF UNREADABLE_PIXEL = 0xFFFFFFFFu;

constexpr COLORREF MakeColorRef(int red, int green, int blue)
{
    return COLORREF(red & 0xFF) | COLORREF(green & 0xFF) << 8 | COLORREF(blue & 0xFF) << 16;
}

constexpr int RedOf(COLORREF value)
{
    return int(value & 0xFF);
}
constexpr int GreenOf(COLORREF value)
{
    return int((value >> 8) & 0xFF);
}
constexpr int BlueOf(COLORREF value)
{
    return int((value >> 16) & 0xFF);
}
