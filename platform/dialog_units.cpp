#include "platform/dialog_units.h"

#include <QFontMetrics>
#include <QString>

#include <cstdint>
#include <limits>

int MulDivRound(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    std::int64_t product = std::int64_t(number) * numerator;
    std::int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t half = divisor / 2;
    const std::int64_t result = (product < 0 ? product - half : product + half) / divisor;
    if (result > std::numeric_limits<int>::max() || result < -std::numeric_limits<int>::max())
        return -1;
    return int(result);
}

DialogBaseUnits BaseUnitsFromLetters(int letterExtent, int fontHeight)
{
    return {(letterExtent / 26 + 1) / 2, fontHeight};
}

DialogBaseUnits DialogBaseUnitsOf(const QFont &font)
{
    QFont measured = font;
    measured.setKerning(false);
    const QFontMetrics metrics(measured);
    const int extent = metrics.horizontalAdvance(
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    return BaseUnitsFromLetters(extent, metrics.height());
}

QRect DialogRectToPixels(const DialogRect &rect, DialogBaseUnits units)
{
    return {MulDivRound(rect.x, units.x, 4), MulDivRound(rect.y, units.y, 8),
            MulDivRound(rect.width, units.x, 4), MulDivRound(rect.height, units.y, 8)};
}

QSize DialogSizeToPixels(int width, int height, DialogBaseUnits units)
{
    return {MulDivRound(width, units.x, 4), MulDivRound(height, units.y, 8)};
}

QFont DialogFont(const char *face, int points)
{
    QFont font(QString::fromLatin1(face));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(MulDivRound(points, 96, 72));
    return font;
}
