#include "fakes/fake_screen.h"
#include "resources/resource_ids.h"
#include "settings/settings_store.h"
#include "window/sampler_window.h"

#include <QMessageBox>
#include <QtTest>

// What the real desktop here cannot show: a screen that cannot be read.
class TestWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unreadableScreenIsSaidOnce_data()
    {
        QTest::addColumn<ScreenAccess>("access");
        QTest::addColumn<int>("readsAfterTwoDrags");
        QTest::newRow("no grab at all") << ScreenAccess::NoGrab << 0;
        QTest::newRow("only X11 windows") << ScreenAccess::OnlyX11Windows << 1;
    }
    void unreadableScreenIsSaidOnce()
    {
        QFETCH(ScreenAccess, access);
        QFETCH(int, readsAfterTwoDrags);
        SettingsStore settings; // unnamed: reads the defaults, stores nothing
        FakeScreen screen;
        SamplerWindow window(settings, screen);
        window.setScreenAccess(access);
        window.show();
        for (int drag = 0; drag < 2; ++drag) {
            QTest::mousePress(&window, Qt::LeftButton, {},
                              window.control<QWidget>(IDC_COLORAREA)->geometry().center());
            QTest::mouseMove(&window, QPoint(3, 4));
            QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(3, 4));
        }
        QCOMPARE(window.findChildren<QMessageBox *>().size(), 1);
        QCOMPARE(screen.reads, readsAfterTwoDrags);
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
