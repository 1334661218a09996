#include "about/about_window.h"
#include "about/link_label.h"
#include "mainwindow/system_menu.h"
#include "sampler_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace
{

const QStringList OUR_ENTRIES = {"-", "&About Tintgrabber..."};

// Runs action and returns the entries ("-" for a separator) of the menu that
// popped up meanwhile, or nothing. choose may pick an entry; without it the
// menu is closed.
QStringList WatchMenu(const std::function<void()> &action,
                      const std::function<void(QMenu &)> &choose = {})
{
    QStringList entries;
    bool seen = false;
    const auto look = [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (menu == nullptr || std::exchange(seen, true))
            return;
        for (const QAction *entry : menu->actions())
            entries << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
        if (choose)
            choose(*menu);
        else
            menu->close();
    };
    QObject guard; // cancels the look when no menu ran an event loop
    QTimer::singleShot(0, &guard, look);
    action();
    look(); // a menu that pops up without a loop of its own is still open now
    return entries;
}

// What the About window looked like while it ran.
struct AboutSeen {
    bool shown = false;
    QPointer<AboutWindow> window;
    QPointer<LinkLabel> mailLink;
    QWidget *parent = nullptr;
};

// Looks for the About window while event loops run, records what it sees and
// ends the window. Destroying guard stops the look, should no window come.
void CloseAboutWhenShown(QObject &guard, AboutSeen &seen)
{
    auto *look = new QTimer(&guard);
    QObject::connect(look, &QTimer::timeout, look, [look, &seen] {
        // Only a modal window is the active modal widget.
        auto *about = dynamic_cast<AboutWindow *>(QApplication::activeModalWidget());
        if (about == nullptr)
            return;
        look->stop();
        seen = {true, about, about->mailLink(), about->parentWidget()};
        about->reject();
    });
    look->start(0);
}

} // namespace

class TestSystemMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The one handler opens the About window, whatever the system's own low
    // bits of the command, and comes back when it has closed. Each of three
    // openings builds a window and links of its own, gone once closed.
    void aboutCommandRunsAFreshAboutWindow_data()
    {
        QTest::addColumn<unsigned>("command");
        QTest::addColumn<bool>("runs");
        QTest::newRow("IDM_ABOUT") << 16u << true;
        QTest::newRow("low bits set") << 0x1Fu << true;
        QTest::newRow("the system's close") << 0xF060u << false;
        QTest::newRow("next command up") << 32u << false;
        QTest::newRow("below") << 15u << false;
    }
    void aboutCommandRunsAFreshAboutWindow()
    {
        QFETCH(unsigned, command);
        QFETCH(bool, runs);
        QDialog window;
        SystemMenu menu(window);
        window.show();
        for (int opening = 0; opening < 3; ++opening) {
            QObject guard;
            AboutSeen seen;
            CloseAboutWhenShown(guard, seen);
            QCOMPARE(menu.runCommand(command), runs);
            QCOMPARE(seen.shown, runs);
            QVERIFY(!runs || seen.parent == &window);
            QVERIFY2(seen.window.isNull() && seen.mailLink.isNull(), "outlived its closing");
            QVERIFY(window.findChildren<LinkLabel *>().isEmpty());
        }
    }

    void entryOnlyWithItsString_data()
    {
        QTest::addColumn<bool>("withString");
        QTest::newRow("string table") << true;
        QTest::newRow("empty string") << false;
    }
    void entryOnlyWithItsString()
    {
        QFETCH(bool, withString);
        QDialog window;
        window.resize(200, 100);
        SystemMenu menu(
            window, withString ? SystemMenu::StringSource(LoadResourceString)
                               : [](int) { return QString(); });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList entries = WatchMenu([&] {
            QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, {50, 50});
        });
        QCOMPARE(entries, withString ? OUR_ENTRIES : QStringList());
    }

    // On the main window the right button on a frame and Shift+F10 on a
    // control bring up the window menu, whose entry runs the About window; the
    // right button on a control is the control's.
    void samplerWindowMenu_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("opens");
        QTest::newRow("right button on the magnifier frame") << "frame" << true;
        QTest::newRow("right button on a copy button") << "button" << false;
        QTest::newRow("Shift+F10 on a copy button") << "shift+f10" << true;
    }
    void samplerWindowMenu()
    {
        QFETCH(QString, how);
        QFETCH(bool, opens);
        Fixture fixture;
        SamplerWindow &window = fixture.shown();
        QPushButton *button = window.button(IDC_COPYRED);
        QObject guard;
        AboutSeen about;
        const QStringList entries = WatchMenu(
            [&] {
                if (how == "shift+f10") {
                    button->setFocus();
                    QTest::keyClick(button, Qt::Key_F10, Qt::ShiftModifier);
                } else {
                    QWidget *target =
                        how == "frame" ? static_cast<QWidget *>(window.zoomArea()) : button;
                    QTest::mouseClick(window.windowHandle(), Qt::RightButton, {},
                                      target->geometry().center());
                }
            },
            [&](QMenu &menu) {
                CloseAboutWhenShown(guard, about);
                menu.setActiveAction(menu.actions().last());
                QTest::keyClick(&menu, Qt::Key_Return);
            });
        QCOMPARE(entries, opens ? OUR_ENTRIES : QStringList());
        QCOMPARE(about.shown, opens);
        QVERIFY(!opens || about.parent == &window);
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(TestSystemMenu)
#include "test_system_menu.moc"
