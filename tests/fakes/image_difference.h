#pragma once

#include <QImage>
#include <QString>
#include <QtTest>

// How two pictures differ, for a failure message that says where: empty when
// they are equal pixel for pixel.
inline QString ImageDifference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("size %1 x %2, expected %3 x %4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    QString first;
    int count = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y) && count++ == 0)
                first = QStringLiteral("(%1, %2) is %3, expected %4")
                            .arg(x)
                            .arg(y)
                            .arg(actual.pixel(x, y), 8, 16, QLatin1Char('0'))
                            .arg(expected.pixel(x, y), 8, 16, QLatin1Char('0'));
        }
    }
    return count ? QStringLiteral("%1 pixels differ, first %2").arg(count).arg(first) : QString();
}

#define COMPARE_IMAGES(actual, expected)                                                           \
    do {                                                                                           \
        const QString difference = ImageDifference(actual, expected);                              \
        QVERIFY2(difference.isEmpty(), qPrintable(difference));                                    \
    } while (false)
