#include "sampling/color_texts.h"

#include <charconv>
#include <string_view>

namespace
{

// Appends to a ColorText without ever overflowing it; every text we build fits
// with room to spare.
class TextWriter
{
public:
    explicit TextWriter(ColorText &text) : text_(text) { text_.length = 0; }

    TextWriter &text(std::string_view piece)
    {
        for (char c : piece) {
            if (text_.length < text_.chars.size())
                text_.chars[text_.length++] = c;
        }
        return *this;
    }

    TextWriter &decimal(int value) { return put(std::to_chars(begin(), end(), value)); }

    TextWriter &hexByte(int value)
    {
        static constexpr char digits[] = "0123456789abcdef";
        const char pair[2] = {digits[(value >> 4) & 0xF], digits[value & 0xF]};
        return text(std::string_view(pair, 2));
    }

    // Fixed notation with six decimals, like "%.6f" but independent of the
    // C locale: a POV-Ray scene always wants a decimal point, never a comma.
    TextWriter &fixed6(double value)
    {
        return put(std::to_chars(begin(), end(), value, std::chars_format::fixed, 6));
    }

private:
    char *begin() { return text_.chars.data() + text_.length; }
    char *end() { return text_.chars.data() + text_.chars.size(); }

    TextWriter &put(std::to_chars_result result)
    {
        if (result.ec == std::errc())
            text_.length = std::size_t(result.ptr - text_.chars.data());
        return *this;
    }

    ColorText &text_;
};

// The double nearest to 1/255: multiplying by it gives, after rounding to six
// decimals, the same text as dividing by 255 for every component value.
constexpr double COMPONENT_SCALE = 0.00392156862745098;

} // namespace

ColorTexts FormatColorTexts(COLORREF value)
{
    const int red = RedOf(value);
    const int green = GreenOf(value);
    const int blue = BlueOf(value);

    ColorTexts texts;
    TextWriter(texts[TEXT_RED]).decimal(red);
    TextWriter(texts[TEXT_GREEN]).decimal(green);
    TextWriter(texts[TEXT_BLUE]).decimal(blue);
    TextWriter(texts[TEXT_HASH_HEX]).text("#").hexByte(red).hexByte(green).hexByte(blue);
    TextWriter(texts[TEXT_HEX]).hexByte(red).hexByte(green).hexByte(blue);
    TextWriter(texts[TEXT_POVRAY])
        .text("color rgb <")
        .fixed6(red * COMPONENT_SCALE)
        .text(", ")
        .fixed6(green * COMPONENT_SCALE)
        .text(", ")
        .fixed6(blue * COMPONENT_SCALE)
        .text(">");
    return texts;
}
