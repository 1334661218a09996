#include "fakes/fake_screen.h"
#include "resources/resource_ids.h"
#include "settings/settings_store.h"
#include "widgets/color_field.h"
#include "window/sampler_window.h"

#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

class TestWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir config;
    SettingsStore settings;
    FakeScreen screen;

    QString redText(const SamplerWindow &window) const
    {
        return window.control<ColorField>(IDC_REDTEXT)->text();
    }
    QPoint middleOf(const SamplerWindow &window, int id) const
    {
        return window.control<QWidget>(id)->geometry().center();
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        settings.SetKeyName(QStringLiteral("Tintgrabber"));
    }
    void init() { screen.reads = 0; }

    void onlyAPressInAnAreaStartsADrag()
    {
        SamplerWindow window(settings, screen);
        window.show();
        for (int id : {IDC_COPYRED, IDC_TOPMOST}) {
            QTest::mousePress(&window, Qt::LeftButton, {}, middleOf(window, id));
            QTest::mouseMove(&window, QPoint(5, 5));
            QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(5, 5));
        }
        QCOMPARE(screen.reads, 0);
        QCOMPARE(redText(window), QString());

        // Each move samples the pixel under the pointer; the release ends it.
        QTest::mousePress(&window, Qt::LeftButton, {}, middleOf(window, IDC_ZOOMAREA));
        QTest::mouseMove(&window, QPoint(7, 9));
        const QPoint global = window.mapToGlobal(QPoint(7, 9));
        QCOMPARE(redText(window),
                 QString::number(qRed(FakeScreen::PixelAt(global.x(), global.y()))));
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(7, 9));
        QTest::mouseMove(&window, QPoint(30, 9));
        QCOMPARE(screen.reads, 1);
    }

    void unreadableScreenIsSaidOnce_data()
    {
        QTest::addColumn<ScreenAccess>("access");
        QTest::addColumn<int>("readsAfterSecondPress");
        QTest::newRow("no grab at all") << ScreenAccess::NoGrab << 0;
        QTest::newRow("only X11 windows") << ScreenAccess::OnlyX11Windows << 1;
    }
    void unreadableScreenIsSaidOnce()
    {
        QFETCH(ScreenAccess, access);
        QFETCH(int, readsAfterSecondPress);
        SamplerWindow window(settings, screen);
        window.setScreenAccess(access);
        window.show();
        for (int press = 0; press < 2; ++press) {
            QTest::mousePress(&window, Qt::LeftButton, {}, middleOf(window, IDC_COLORAREA));
            QTest::mouseMove(&window, QPoint(3, 4));
            QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(3, 4));
            QCOMPARE(window.findChildren<QMessageBox *>().size(), 1);
        }
        QCOMPARE(screen.reads, readsAfterSecondPress);
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
