#include "sampling/color_texts.h"

namespace
{

// The double nearest to 1/255: multiplied by it and rounded to six decimals,
// every component gives the same text as divided by 255.
constexpr double COMPONENT_SCALE = 0.00392156862745098;

QString Hex(int red, int green, int blue)
{
    return QStringLiteral("%1%2%3")
        .arg(red, 2, 16, QLatin1Char('0'))
        .arg(green, 2, 16, QLatin1Char('0'))
        .arg(blue, 2, 16, QLatin1Char('0'));
}

// Qt's number formatting ignores the locale: a POV-Ray scene always wants a
// decimal point, never a comma.
QString Fixed6(int component)
{
    return QString::number(component * COMPONENT_SCALE, 'f', 6);
}

} // namespace

ColorTexts FormatColorTexts(COLORREF value)
{
    const int red = int(value & 0xFF);
    const int green = int(value >> 8 & 0xFF);
    const int blue = int(value >> 16 & 0xFF);
    const QString hex = Hex(red, green, blue);
    return {QString::number(red),
            QString::number(green),
            QString::number(blue),
            QLatin1Char('#') + hex,
            hex,
            QStringLiteral("color rgb <%1, %2, %3>").arg(Fixed6(red), Fixed6(green), Fixed6(blue))};
}
