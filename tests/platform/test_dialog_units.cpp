#include "platform/dialog_units.h"

#include <QtTest>

class TestDialogUnits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mulDivRounds_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("numerator");
        QTest::addColumn<int>("denominator");
        QTest::addColumn<int>("expected");
        QTest::newRow("exact") << 8 << 6 << 4 << 12;
        QTest::newRow("below half") << 2 << 13 << 8 << 3;      // 3.25
        QTest::newRow("half rounds up") << 61 << 6 << 4 << 92; // 91.5
        QTest::newRow("above half") << 11 << 13 << 8 << 18;    // 17.875
        QTest::newRow("negative half rounds away") << -61 << 6 << 4 << -92;
        QTest::newRow("negative denominator") << 61 << 6 << -4 << -92;
        QTest::newRow("zero denominator") << 5 << 6 << 0 << -1;
        QTest::newRow("product beyond 32 bits") << 2000000000 << 3 << 4 << 1500000000;
        QTest::newRow("result beyond int") << 2000000000 << 4 << 3 << -1;
    }

    void mulDivRounds()
    {
        QFETCH(int, number);
        QFETCH(int, numerator);
        QFETCH(int, denominator);
        QFETCH(int, expected);
        QCOMPARE(MulDivRound(number, numerator, denominator), expected);
    }

    void baseUnitsAverageTheLetters_data()
    {
        QTest::addColumn<int>("extent");
        QTest::addColumn<int>("expectedX");
        QTest::newRow("six exactly") << 312 << 6;
        QTest::newRow("just under six and a half") << 337 << 6; // 6.48
        QTest::newRow("six and a half rounds up") << 338 << 7;
        QTest::newRow("empty font") << 0 << 0;
    }

    void baseUnitsAverageTheLetters()
    {
        QFETCH(int, extent);
        QFETCH(int, expectedX);
        QCOMPARE(BaseUnitsFromLetters(extent, 13), (DialogBaseUnits{expectedX, 13}));
    }

    // Position and size are scaled apart, never the right edge; pixels worked
    // out by hand.
    void rectanglesScalePositionAndSizeSeparately()
    {
        QCOMPARE(DialogRectToPixels({149, 16, 18, 12}, {6, 13}), QRect(224, 26, 27, 20));
        QCOMPARE(DialogRectToPixels({1, 2, 57, 55}, {7, 16}), QRect(2, 4, 100, 110));
    }

    // Eight points at 96 pixels per inch, whatever the screen reports.
    void dialogFontHasAFixedPixelSize()
    {
        const QFont font = DialogFont("MS Sans Serif", 8);
        QCOMPARE(font.pixelSize(), 11);
        QCOMPARE(DialogBaseUnitsOf(font).y, QFontMetrics(font).height());
    }
};

QTEST_MAIN(TestDialogUnits)
#include "test_dialog_units.moc"
