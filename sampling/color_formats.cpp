#include "sampling/color_formats.h"

namespace
{

// The double nearest to 1/255: multiplied by it and rounded to six decimals,
// every component gives the same text as divided by 255.
constexpr double COMPONENT_SCALE = 0.00392156862745098;

// Qt's number formatting ignores the locale: a POV-Ray scene always wants a
// decimal point, never a comma.
QString fixed6(int component)
{
    return QString::number(component * COMPONENT_SCALE, 'f', 6);
}

} // namespace

QString hexTriplet(QRgb color)
{
    return QStringLiteral("%1").arg(color & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

QString povRayColor(QRgb color)
{
    return QStringLiteral("color rgb <%1, %2, %3>")
        .arg(fixed6(qRed(color)), fixed6(qGreen(color)), fixed6(qBlue(color)));
}

ColorTexts FormatColorTexts(QRgb color)
{
    ColorTexts texts;
    for (std::size_t i = 0; i < COLOR_FORMAT_COUNT; ++i)
        texts[i] = COLOR_FORMATS[i].text(color);
    return texts;
}
