#include "platform/font_config_preloader.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QtTest>

#include <memory>

// No QTEST_MAIN: the preloader, as in the program, starts before the
// application exists, and Qt's fonts must then work as without it.
class TestFontConfigPreloader : public QObject
{
    Q_OBJECT

public:
    explicit TestFontConfigPreloader(FontConfigPreloader &preloader) : Preloader(preloader) {}

private Q_SLOTS:
    void qtFindsFontsAfterTheLoad()
    {
        Preloader.wait();
        QVERIFY(!QFontDatabase::families().isEmpty());
        QVERIFY(QFontMetrics(QGuiApplication::font()).horizontalAdvance(QStringLiteral("W")) > 0);
    }

    // Waiting again, or ending a preloader nobody waited for, must neither
    // block nor throw.
    void waitsAnyNumberOfTimes()
    {
        Preloader.wait();
        Preloader.wait();
        auto unwaited = std::make_unique<FontConfigPreloader>();
        unwaited.reset();
        FontConfigPreloader waited;
        waited.wait();
        QVERIFY(!QFontDatabase::families().isEmpty());
    }

private:
    FontConfigPreloader &Preloader;
};

int main(int argc, char *argv[])
{
    FontConfigPreloader preloader;
    QGuiApplication app(argc, argv);
    TestFontConfigPreloader test(preloader);
    return QTest::qExec(&test, argc, argv);
}

#include "test_font_config_preloader.moc"
