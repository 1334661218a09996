#pragma once

// The picture that paint_root puts on the root window, as 0xRRGGBB: red x
// mod 256, green y mod 256, blue mixing both, so that a pixel read from the
// wrong place shows. pattern_hex in tests/desktop/lib.sh computes the same.
inline unsigned long patternRgb(long x, long y)
{
    const unsigned long blue = ((x >> 8) * 37 + (y >> 8) * 101 + x * 3 + y * 5) & 255;
    return (x & 255) << 16 | (y & 255) << 8 | blue;
}
