#include "sampling/color_texts.h"

#include <QtTest>

namespace
{

QString Texts(COLORREF value)
{
    QStringList texts;
    for (const ColorText &text : FormatColorTexts(value))
        texts << QString::fromLatin1(text.view().data(), qsizetype(text.view().size()));
    return texts.join(';');
}

} // namespace

class TestColorTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rendersAllSix_data()
    {
        QTest::addColumn<uint>("value");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, uint value, const char *expected) {
            QTest::newRow(name) << value << QString(expected);
        };
        row("orange", MakeColorRef(255, 128, 0),
            "255;128;0;#ff8000;ff8000;color rgb <1.000000, 0.501961, 0.000000>");
        row("abcdef", MakeColorRef(171, 205, 239),
            "171;205;239;#abcdef;abcdef;color rgb <0.670588, 0.803922, 0.937255>");
        // An unreadable pixel is all bits set and is not special: the top byte
        // is ignored, so it reads as white.
        row("all bits set", UNREADABLE_PIXEL,
            "255;255;255;#ffffff;ffffff;color rgb <1.000000, 1.000000, 1.000000>");
        row("top byte ignored", 0xAB0A0B0Cu,
            "12;11;10;#0c0b0a;0c0b0a;color rgb <0.047059, 0.043137, 0.039216>");
    }

    void rendersAllSix()
    {
        QFETCH(uint, value);
        QFETCH(QString, expected);
        QCOMPARE(Texts(value), expected);
    }

    // Every component value, in every channel, as printf prints the components
    // and the components divided by 255.
    void everyComponentMatchesDivisionBy255()
    {
        for (int channel = 0; channel < 3; ++channel) {
            for (int c = 0; c <= 255; ++c) {
                int v[3] = {0, 0, 0};
                v[channel] = c;
                const char *format = "%d;%d;%d;#%02x%02x%02x;%02x%02x%02x;"
                                     "color rgb <%.6f, %.6f, %.6f>";
                QCOMPARE(Texts(MakeColorRef(v[0], v[1], v[2])),
                         QString::asprintf(format, v[0], v[1], v[2], v[0], v[1], v[2], v[0], v[1],
                                           v[2], v[0] / 255.0, v[1] / 255.0, v[2] / 255.0));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestColorTexts)
#include "test_color_texts.moc"
