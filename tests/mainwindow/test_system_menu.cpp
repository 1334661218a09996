#include "about/about_window.h"
#include "about/link_label.h"
#include "mainwindow/sampler_window.h"
#include "mainwindow/system_menu.h"
#include "sampler_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace
{

// What popped up while something ran: the menu's entries ("-" for a
// separator), or nothing when no menu appeared.
struct MenuSeen {
    bool appeared = false;
    QStringList entries;
};

// Runs action. A menu that pops up meanwhile is read, then handed to choose,
// which may pick an entry; without one the menu is closed.
MenuSeen WatchMenu(const std::function<void()> &action,
                   const std::function<void(QMenu &)> &choose = {})
{
    MenuSeen seen;
    const auto look = [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (menu == nullptr || seen.appeared)
            return;
        seen.appeared = true;
        for (const QAction *entry : menu->actions())
            seen.entries << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
        if (choose)
            choose(*menu);
        else
            menu->close();
    };
    QObject guard; // cancels the look when no menu ran an event loop
    QTimer::singleShot(0, &guard, look);
    action();
    // A menu that pops up without a loop of its own is still open now.
    look();
    return seen;
}

// Picks the menu's last entry with the keyboard, as a user would.
void ChooseLast(QMenu &menu)
{
    menu.setActiveAction(menu.actions().last());
    QTest::keyClick(&menu, Qt::Key_Return);
}

// What the About window looked like while it ran.
struct AboutSeen {
    bool shown = false;
    QPointer<AboutWindow> window;
    QPointer<LinkLabel> mailLink;
    QPointer<LinkLabel> webLink;
    QWidget *parent = nullptr;
    bool modal = false;
};

// Looks for the About window while event loops run, records what it sees and
// ends the window. Destroying guard stops the look, should no window come.
void CloseAboutWhenShown(QObject &guard, AboutSeen &seen)
{
    auto *look = new QTimer(&guard);
    QObject::connect(look, &QTimer::timeout, look, [look, &seen] {
        auto *about = dynamic_cast<AboutWindow *>(QApplication::activeModalWidget());
        if (about == nullptr)
            return;
        look->stop();
        seen.shown = true;
        seen.window = about;
        seen.mailLink = about->mailLink();
        seen.webLink = about->webLink();
        seen.parent = about->parentWidget();
        seen.modal = about->isModal();
        about->reject();
    });
    look->start(0);
}

QString NoString(int)
{
    return {};
}

} // namespace

class TestSystemMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Opens the About window through the one handler and comes back when it
    // has closed, whatever the system's own low bits of the command.
    void aboutCommandRunsTheAboutWindow_data()
    {
        QTest::addColumn<unsigned>("command");
        QTest::addColumn<bool>("runs");
        QTest::newRow("IDM_ABOUT") << 16u << true;
        QTest::newRow("low bits set") << 0x1Fu << true;
        QTest::newRow("the system's close") << 0xF060u << false;
        QTest::newRow("next command up") << 32u << false;
        QTest::newRow("below") << 15u << false;
    }
    void aboutCommandRunsTheAboutWindow()
    {
        QFETCH(unsigned, command);
        QFETCH(bool, runs);
        QDialog window;
        SystemMenu menu(window);
        window.show();
        QObject guard;
        AboutSeen seen;
        CloseAboutWhenShown(guard, seen);
        QCOMPARE(menu.runCommand(command), runs);
        QCOMPARE(seen.shown, runs);
        if (runs) {
            QCOMPARE(seen.parent, &window);
            QVERIFY(seen.modal);
        }
        // Closed means gone: nothing of the About window stays behind.
        QVERIFY(seen.window.isNull());
        QVERIFY(window.findChildren<AboutWindow *>().isEmpty());
    }

    void everyOpeningBuildsFreshLinks()
    {
        QDialog window;
        SystemMenu menu(window);
        window.show();
        for (int opening = 0; opening < 3; ++opening) {
            QObject guard;
            AboutSeen seen;
            CloseAboutWhenShown(guard, seen);
            QVERIFY(menu.runCommand(16));
            QVERIFY(seen.shown);
            QVERIFY(seen.parent == &window);
            QVERIFY2(seen.mailLink.isNull() && seen.webLink.isNull(),
                     "the links outlived their window");
            QVERIFY(window.findChildren<AboutWindow *>().isEmpty());
            QVERIFY(window.findChildren<LinkLabel *>().isEmpty());
        }
    }

    void entriesFollowTheString_data()
    {
        QTest::addColumn<bool>("withString");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("string table") << true << QStringList{"-", "&About Tintgrabber..."};
        QTest::newRow("empty string") << false << QStringList{};
    }
    void entriesFollowTheString()
    {
        QFETCH(bool, withString);
        QFETCH(QStringList, entries);
        QDialog window;
        window.resize(200, 100);
        SystemMenu menu(window,
                        withString ? SystemMenu::StringSource(LoadResourceString) : NoString);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(menu.hasAboutEntry(), withString);
        const MenuSeen seen = WatchMenu([&] {
            QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, {50, 50});
        });
        QCOMPARE(seen.appeared, withString);
        QCOMPARE(seen.entries, entries);
    }

    // On the main window: where the right button, the Menu key and Shift+F10
    // bring up the window menu, and where a control keeps them.
    void samplerWindowMenuOpens_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("entries");
        const QStringList ours = {"-", "&About Tintgrabber..."};
        QTest::newRow("right button on the background") << "background" << ours;
        QTest::newRow("right button on the magnifier frame") << "zoom frame" << ours;
        QTest::newRow("right button on the swatch frame") << "color frame" << ours;
        QTest::newRow("right button on a copy button") << "button" << QStringList{};
        QTest::newRow("Menu key on a copy button") << "menu key" << ours;
        QTest::newRow("Shift+F10 on a copy button") << "shift+f10" << ours;
        QTest::newRow("Shift+F10 in a text field") << "shift+f10 field" << QStringList{"field's"};
    }
    void samplerWindowMenuOpens()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, entries);
        Fixture fixture;
        SamplerWindow &window = *fixture.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPushButton *button = window.button(IDC_COPYRED);
        QLineEdit *field = window.field(IDC_REDTEXT);
        const QRect zoom = window.zoomArea()->geometry();
        const QPoint background((zoom.right() + window.button(IDC_COPYHASHHEX)->x()) / 2,
                                zoom.center().y());
        QCOMPARE(window.childAt(background), nullptr);

        const auto rightClick = [&](QPoint at) {
            QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, at);
        };
        const MenuSeen seen = WatchMenu([&] {
            if (how == "background") {
                rightClick(background);
            } else if (how == "zoom frame") {
                rightClick(zoom.center());
            } else if (how == "color frame") {
                rightClick(window.colorArea()->geometry().center());
            } else if (how == "button") {
                rightClick(button->geometry().center());
            } else if (how == "menu key") {
                // What the platform sends for the Menu key: a request to the
                // focused control.
                button->setFocus();
                const QPoint at = button->rect().center();
                QContextMenuEvent request(QContextMenuEvent::Keyboard, at, button->mapToGlobal(at));
                QApplication::sendEvent(button, &request);
            } else if (how == "shift+f10") {
                button->setFocus();
                QTest::keyClick(button, Qt::Key_F10, Qt::ShiftModifier);
            } else if (how == "shift+f10 field") {
                field->setFocus();
                QTest::keyClick(field, Qt::Key_F10, Qt::ShiftModifier);
            }
        });
        if (entries == QStringList{"field's"}) {
            // The field's own edit menu, not the window's.
            QVERIFY(seen.appeared);
            QVERIFY(!seen.entries.contains("&About Tintgrabber..."));
        } else {
            QCOMPARE(seen.appeared, !entries.isEmpty());
            QCOMPARE(seen.entries, entries);
        }
    }

    void samplerWindowEntryRunsTheAboutWindow()
    {
        Fixture fixture;
        SamplerWindow &window = *fixture.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QObject guard;
        AboutSeen about;
        const MenuSeen seen = WatchMenu(
            [&] {
                QTest::mouseClick(window.windowHandle(), Qt::RightButton, {},
                                  window.zoomArea()->geometry().center());
            },
            [&](QMenu &menu) {
                CloseAboutWhenShown(guard, about);
                ChooseLast(menu);
            });
        QVERIFY(seen.appeared);
        QVERIFY(about.shown);
        QCOMPARE(about.parent, &window);
        QVERIFY(about.window.isNull());
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(TestSystemMenu)
#include "test_system_menu.moc"
