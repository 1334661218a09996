#include "platform/qt_integer_profile.h"

#include <QtTest>

class TestQtIntegerProfile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsOnlyThirtyTwoBitIntegers_data();
    void readsOnlyThirtyTwoBitIntegers();
};

void TestQtIntegerProfile::readsOnlyThirtyTwoBitIntegers_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<int>("expected");

    QTest::newRow("decimal text") << QVariant(QStringLiteral("7")) << true << 7;
    QTest::newRow("negative text") << QVariant(QStringLiteral("-12")) << true << -12;
    QTest::newRow("spaces around") << QVariant(QStringLiteral(" 42 ")) << true << 42;
    QTest::newRow("largest") << QVariant(QStringLiteral("2147483647")) << true << 2147483647;
    QTest::newRow("smallest") << QVariant(QStringLiteral("-2147483648")) << true
                              << std::numeric_limits<int>::min();
    QTest::newRow("one past largest") << QVariant(QStringLiteral("2147483648")) << false << 0;
    QTest::newRow("one past smallest") << QVariant(QStringLiteral("-2147483649")) << false << 0;
    QTest::newRow("far out of range")
        << QVariant(QStringLiteral("99999999999999999999")) << false << 0;
    QTest::newRow("word") << QVariant(QStringLiteral("ten")) << false << 0;
    QTest::newRow("number and word") << QVariant(QStringLiteral("10x")) << false << 0;
    QTest::newRow("hex") << QVariant(QStringLiteral("0x10")) << false << 0;
    QTest::newRow("fraction") << QVariant(QStringLiteral("1.5")) << false << 0;
    QTest::newRow("empty") << QVariant(QString()) << false << 0;
    QTest::newRow("list") << QVariant(QStringList{QStringLiteral("1"), QStringLiteral("2")})
                          << false << 0;
    QTest::newRow("absent") << QVariant() << false << 0;
    QTest::newRow("int") << QVariant(int(-5)) << true << -5;
    QTest::newRow("registry dword") << QVariant(uint(9)) << true << 9;
    QTest::newRow("unsigned above range") << QVariant(uint(0x80000000u)) << false << 0;
    QTest::newRow("64-bit in range") << QVariant(qlonglong(-3)) << true << -3;
    QTest::newRow("64-bit out of range") << QVariant(qlonglong(1) << 40) << false << 0;
    QTest::newRow("double") << QVariant(2.0) << false << 0;
    QTest::newRow("bool") << QVariant(true) << false << 0;
}

void TestQtIntegerProfile::readsOnlyThirtyTwoBitIntegers()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, readable);
    QFETCH(int, expected);

    const std::optional<std::int32_t> value = ProfileIntFromVariant(stored);
    QCOMPARE(value.has_value(), readable);
    if (readable)
        QCOMPARE(*value, expected);
}

QTEST_GUILESS_MAIN(TestQtIntegerProfile)
#include "test_qt_integer_profile.moc"
