#include "app/translations.h"
#include "fakes/fake_screen.h"
#include "resources/dialog_template.h"
#include "resources/resource_ids.h"
#include "settings/settings_store.h"
#include "window/about_window.h"
#include "window/picture_overlay.h"
#include "window/sampler_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// What the real desktop here cannot show: a screen that cannot be read, drags
// that start off the two areas, and the words of the notices.
class TestWindow : public QObject
{
    Q_OBJECT

    SettingsStore settings; // unnamed: reads the defaults, stores nothing
    FakeScreen screen;

    static void dragFrom(SamplerWindow &window, int control)
    {
        const QPoint from = control == IDC_STATIC
                                ? QPoint(1, 1) // the window's own background
                                : window.control<QWidget>(control)->geometry().center();
        QTest::mousePress(&window, Qt::LeftButton, {}, from);
        QTest::mouseMove(&window, QPoint(3, 4));
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(3, 4));
    }

private Q_SLOTS:
    void init() { screen.reads = 0; }

    void onlyAPressInAnAreaSamples_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("reads");
        QTest::newRow("magnifier") << IDC_ZOOMAREA << 1;
        QTest::newRow("swatch") << IDC_COLORAREA << 1;
        QTest::newRow("background") << IDC_STATIC << 0;
        QTest::newRow("copy button") << IDC_COPYRED << 0;
        QTest::newRow("field") << IDC_REDTEXT << 0;
        QTest::newRow("zoom list") << IDC_ZOOMLIST << 0;
    }
    void onlyAPressInAnAreaSamples()
    {
        QFETCH(int, control);
        QFETCH(int, reads);
        SamplerWindow window(settings, screen);
        window.show();
        dragFrom(window, control);
        QCOMPARE(screen.reads, reads);
    }

    // The About window names the windowing system that its run names in
    // WINDOWING_SYSTEM (Qt's own name where none is given).
    void aboutNamesTheWindowingSystem()
    {
        SamplerWindow window(settings, screen);
        const QString system =
            qEnvironmentVariable("WINDOWING_SYSTEM", QGuiApplication::platformName());
        const AboutWindow about(&window);
        QStringList lines;
        for (const QLabel *label : about.findChildren<QLabel *>())
            lines << label->text();
        QVERIFY2(lines.contains("Tintgrabber 2.2 (" + system + ")"), qPrintable(lines.join('|')));
    }

    // As test_window_de, under LANG=de_DE.UTF-8: both windows' captions and
    // titles, the copy buttons' and the window menu's entry come from the
    // German translation built into the program.
    void germanCaptions()
    {
        Translations texts;
        if (QLocale().language() != QLocale::German)
            QSKIP("runs as test_window_de");
        texts.install();
        SamplerWindow window(settings, screen);
        QCOMPARE(window.windowTitle(), "Tintgrabber");
        QCOMPARE(window.control<QCheckBox>(IDC_TOPMOST)->text(), "Immer oben");
        QCOMPARE(window.control<QPushButton>(ID_CANCEL)->text(), "&Ende");
        QCOMPARE(window.control<QPushButton>(IDC_COPYPOVRAY)->text(), "Im POV-Ray-Format kopieren");
        QCOMPARE(QCoreApplication::translate("WindowMenu", "&About Tintgrabber..."),
                 QStringLiteral("Ü&ber Tintgrabber..."));
        const AboutWindow about(&window);
        QCOMPARE(about.windowTitle(), QStringLiteral("Über Tintgrabber"));
        QStringList shown;
        for (const QLabel *label : about.findChildren<QLabel *>())
            shown << label->text();
        for (const QGroupBox *box : about.findChildren<QGroupBox *>())
            shown << box->title();
        QVERIFY2(shown.contains("Hilfe") && shown.contains("Von den Tintgrabber-Entwicklern"),
                 qPrintable(shown.join('|')));
    }

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
        SamplerWindow window(settings, screen);
        window.setScreenAccess(access);
        window.show();
        dragFrom(window, IDC_COLORAREA);
        dragFrom(window, IDC_COLORAREA);
        QCOMPARE(window.findChildren<QMessageBox *>().size(), 1);
        QCOMPARE(screen.reads, readsAfterTwoDrags);
    }

    // However many changes fail, one notice, naming the file and the reason.
    void aSettingNotStoredIsSaidOnce()
    {
#ifdef Q_OS_WIN
        QSKIP("the registry holds the settings on Windows: there is no file to garble");
#endif
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        SettingsStore named;
        named.SetKeyName(SETTINGS_KEY_NAME);
        QVERIFY(QDir().mkpath(QFileInfo(named.location()).path()));
        QFile garbled(named.location());
        QVERIFY(garbled.open(QIODevice::WriteOnly) && garbled.write("\377[[[\n") == 5);
        garbled.close();
        SamplerWindow window(named, screen);
        window.show();
        auto *onTop = window.control<QCheckBox>(IDC_TOPMOST);
        onTop->click();
        onTop->click();
        const auto notices = window.findChildren<QMessageBox *>();
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices[0]->text().contains(named.location() + "\nbecause it cannot be parsed."));
    }

    // The picture spans the box around all screens in physical pixels; each
    // screen's part lands on that screen's logical place in a window over all
    // of them, also left of the origin and on a scaled screen.
    void overlayPutsEachScreensPartInItsPlace()
    {
        const std::vector<ScreenInfo> screens{{QRect(-1280, 0, 1280, 800), 1.0, QSize(1280, 800)},
                                              {QRect(0, 0, 640, 512), 2.0, QSize(1280, 1024)}};
        const std::optional<OverlayPlan> plan = planOverlay(QSize(2560, 1024), screens);
        QVERIFY(plan);
        QCOMPARE(plan->geometry, QRect(-1280, 0, 1920, 800));
        QCOMPARE(plan->parts.size(), 2u);
        QCOMPARE(plan->parts[0].source, QRect(0, 0, 1280, 800));
        QCOMPARE(plan->parts[0].target, QRect(0, 0, 1280, 800));
        QCOMPARE(plan->parts[1].source, QRect(1280, 0, 1280, 1024));
        QCOMPARE(plan->parts[1].target, QRect(1280, 0, 640, 512));
        QVERIFY(!planOverlay(QSize(2560, 1000), screens));
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
