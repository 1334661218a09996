#include "sampling/color_texts.h"

#include <QtTest>

#include <cstdio>

class TestColorTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rendersAllSix_data()
    {
        QTest::addColumn<uint>("value");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("orange") << uint(MakeColorRef(255, 128, 0))
                                << QStringList{
                                       "255",    "128",
                                       "0",      "#ff8000",
                                       "ff8000", "color rgb <1.000000, 0.501961, 0.000000>"};
        QTest::newRow("black") << 0u
                               << QStringList{"0",      "0",
                                              "0",      "#000000",
                                              "000000", "color rgb <0.000000, 0.000000, 0.000000>"};
        QTest::newRow("white") << uint(MakeColorRef(255, 255, 255))
                               << QStringList{"255",    "255",
                                              "255",    "#ffffff",
                                              "ffffff", "color rgb <1.000000, 1.000000, 1.000000>"};
        QTest::newRow("abcdef") << uint(MakeColorRef(171, 205, 239))
                                << QStringList{
                                       "171",    "205",
                                       "239",    "#abcdef",
                                       "abcdef", "color rgb <0.670588, 0.803922, 0.937255>"};
        QTest::newRow("leading zeros")
            << uint(MakeColorRef(10, 11, 12))
            << QStringList{"10",      "11",     "12",
                           "#0a0b0c", "0a0b0c", "color rgb <0.039216, 0.043137, 0.047059>"};
        // An unreadable pixel is all bits set and is not special: the top byte
        // is ignored, so it reads as white.
        QTest::newRow("all bits set")
            << uint(UNREADABLE_PIXEL)
            << QStringList{"255",     "255",    "255",
                           "#ffffff", "ffffff", "color rgb <1.000000, 1.000000, 1.000000>"};
        QTest::newRow("top byte ignored")
            << 0xAB0A0B0Cu
            << QStringList{"12",      "11",     "10",
                           "#0c0b0a", "0c0b0a", "color rgb <0.047059, 0.043137, 0.039216>"};
    }

    void rendersAllSix()
    {
        QFETCH(uint, value);
        QFETCH(QStringList, expected);
        const ColorTexts texts = FormatColorTexts(value);
        QStringList actual;
        for (const ColorText &text : texts)
            actual << QString::fromLatin1(text.view().data(), qsizetype(text.view().size()));
        QCOMPARE(actual, expected);
    }

    // Every component value, in every channel, prints as printf("%.6f", c / 255.0)
    // and as printf's "%d" and "%02x" would.
    void everyComponentMatchesDivisionBy255()
    {
        for (int c = 0; c <= 255; ++c) {
            char divided[32];
            std::snprintf(divided, sizeof divided, "%.6f", c / 255.0);
            char decimal[8];
            std::snprintf(decimal, sizeof decimal, "%d", c);
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02x", c);
            const std::string zero = "0.000000";
            const std::string z2 = "00";

            const ColorTexts red = FormatColorTexts(MakeColorRef(c, 0, 0));
            QCOMPARE(red[TEXT_RED].view(), std::string_view(decimal));
            QCOMPARE(red[TEXT_HEX].view(), std::string(hex) + "0000");
            QCOMPARE(red[TEXT_POVRAY].view(),
                     "color rgb <" + std::string(divided) + ", " + zero + ", " + zero + ">");

            const ColorTexts green = FormatColorTexts(MakeColorRef(0, c, 0));
            QCOMPARE(green[TEXT_GREEN].view(), std::string_view(decimal));
            QCOMPARE(green[TEXT_HASH_HEX].view(), "#" + z2 + hex + z2);
            QCOMPARE(green[TEXT_POVRAY].view(),
                     "color rgb <" + zero + ", " + std::string(divided) + ", " + zero + ">");

            const ColorTexts blue = FormatColorTexts(MakeColorRef(0, 0, c));
            QCOMPARE(blue[TEXT_BLUE].view(), std::string_view(decimal));
            QCOMPARE(blue[TEXT_HEX].view(), z2 + z2 + hex);
            QCOMPARE(blue[TEXT_POVRAY].view(),
                     "color rgb <" + zero + ", " + zero + ", " + std::string(divided) + ">");
        }
    }
};

QTEST_APPLESS_MAIN(TestColorTexts)
#include "test_color_texts.moc"
