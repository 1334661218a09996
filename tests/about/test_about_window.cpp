#include "about/about_window.h"
#include "about/link_label.h"
#include "resources/pictures.h"

#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <functional>

namespace
{

enum Kind { Icon, Text, Link, Button, Group };

struct Expected {
    Kind kind;
    int id; // 0 for controls no code refers to
    const char *text;
    int x, y, width, height;
    int iconId = 0;
};

// The window as it should look, written out here rather than read from the
// program's own table, so a slip in either shows. The links' texts are the
// program's to choose and are checked by their form instead.
constexpr Expected LAYOUT[] = {
    {Icon, 0, nullptr, 12, 45, 20, 20, 131},
    {Text, 0, "Tintgrabber 2.2 (WinXP)", 40, 10, 119, 8},
    {Text, 0, nullptr, 40, 25, 170, 8},
    {Link, 1005, nullptr, 40, 41, 149, 8},
    {Link, 1006, nullptr, 40, 58, 63, 8},
    {Text, 0, "To use the tint grabber click the color or zoom areas and drag over your screen.",
     14, 88, 191, 18},
    {Text, 0,
     "While dragging color area's background will be showing the selected color. The zoom "
     "window will display a detailed view of the selected area.",
     14, 113, 191, 25},
    {Text, 0, "When you select your color copy it by clicking the desired button.", 14, 146, 191,
     18},
    {Button, 1, "OK", 178, 7, 32, 14},
    {Group, 0, "", 7, 104, 203, 38},
    {Group, 0, "", 7, 137, 203, 32},
    {Icon, 0, nullptr, 11, 5, 20, 20, 128},
    {Group, 0, "Help", 7, 77, 203, 32},
};

int Scale(int units, int base, int divisor)
{
    return int(std::floor(double(units) * base / divisor + 0.5));
}

QRect Pixels(const Expected &expected, DialogBaseUnits units)
{
    return QRect(Scale(expected.x, units.x, 4), Scale(expected.y, units.y, 8),
                 Scale(expected.width, units.x, 4), Scale(expected.height, units.y, 8));
}

// The window's control whose top-left corner is at, or nullptr.
QWidget *ControlAt(const AboutWindow &window, QPoint at)
{
    for (QWidget *control : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (control->pos() == at)
            return control;
    }
    return nullptr;
}

QString TextOf(QWidget *control)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<QPushButton *>(control))
        return button->text();
    if (auto *group = qobject_cast<QGroupBox *>(control))
        return group->title();
    return {};
}

// Collects what the desktop would have opened, in place of the real opener.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QStringList opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url.toString()); }
};

// Runs window modally; inside its run, act on it. Returns exec()'s result.
int RunWhile(AboutWindow &window, const std::function<void(AboutWindow &)> &act)
{
    QObject guard;
    QTimer::singleShot(0, &guard, [&] { act(window); });
    return window.exec();
}

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT

private:
    UrlRecorder m_recorder;

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *scheme : {"mailto", "http", "https"})
            QDesktopServices::setUrlHandler(scheme, &m_recorder, "open");
    }
    void cleanupTestCase()
    {
        for (const char *scheme : {"mailto", "http", "https"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
    void init() { m_recorder.opened.clear(); }

    void windowIsTitledFixedAndOwned()
    {
        QWidget owner;
        const AboutWindow window(&owner);
        const DialogBaseUnits units = DialogBaseUnitsOf(window.font());
        const QSize size(Scale(217, units.x, 4), Scale(175, units.y, 8));
        QCOMPARE(window.windowTitle(), QString("About Tintgrabber"));
        QCOMPARE(window.minimumSize(), size);
        QCOMPARE(window.maximumSize(), size);
        QCOMPARE(window.windowType(), Qt::Dialog);
        QCOMPARE(window.parentWidget(), &owner);
    }

    void controlShowsItsContentInPlace_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(LAYOUT)); ++i)
            QTest::newRow(QByteArray::number(i)) << i;
    }
    void controlShowsItsContentInPlace()
    {
        QFETCH(int, index);
        const Expected &expected = LAYOUT[index];
        const AboutWindow window;
        const DialogBaseUnits units = DialogBaseUnitsOf(window.font());
        const QRect at = Pixels(expected, units);
        QWidget *control = ControlAt(window, at.topLeft());
        QVERIFY(control != nullptr);

        switch (expected.kind) {
        case Icon: {
            auto *icon = qobject_cast<QLabel *>(control);
            QVERIFY(icon != nullptr);
            QCOMPARE(icon->pixmap().toImage(), IconPicture(expected.iconId).toImage());
            QCOMPARE(icon->size(), QSize(32, 32)); // an icon keeps its own size
            return;
        }
        case Text:
            QVERIFY(qobject_cast<QLabel *>(control) != nullptr);
            QVERIFY(dynamic_cast<LinkLabel *>(control) == nullptr);
            break;
        case Link: {
            auto *link = dynamic_cast<LinkLabel *>(control);
            QVERIFY(link != nullptr);
            QCOMPARE(link, expected.id == 1005 ? window.mailLink() : window.webLink());
            break;
        }
        case Button: {
            auto *button = qobject_cast<QPushButton *>(control);
            QVERIFY(button != nullptr);
            QVERIFY(button->isDefault());
            break;
        }
        case Group:
            QVERIFY(qobject_cast<QGroupBox *>(control) != nullptr);
            break;
        }
        if (expected.kind == Link) {
            // A link may grow to show its whole address.
            QVERIFY(control->width() >= at.width() && control->height() >= at.height());
        } else {
            QCOMPARE(control->geometry(), at);
        }
        if (expected.text != nullptr)
            QCOMPARE(TextOf(control), QString(expected.text));
        else
            QVERIFY(!TextOf(control).isEmpty());
    }

    void nothingButTheTemplatesControls()
    {
        const AboutWindow window;
        QCOMPARE(window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(),
                 qsizetype(std::size(LAYOUT)));
    }

    void linksHaveTheirForm()
    {
        const AboutWindow window;
        static const QRegularExpression mail(
            QStringLiteral("^mailto:[^@?\\s]+@[^@?\\s]+\\.[a-z]+\\?subject=tintgrabber$"));
        static const QRegularExpression web(QStringLiteral("^https?://[^\\s]+$"));
        QVERIFY2(mail.match(window.mailLink()->text()).hasMatch(),
                 qPrintable(window.mailLink()->text()));
        QVERIFY2(web.match(window.webLink()->text()).hasMatch(),
                 qPrintable(window.webLink()->text()));
    }

    void linkLooksAndActsAsOne_data()
    {
        QTest::addColumn<int>("id");
        QTest::newRow("mail") << 1005;
        QTest::newRow("home page") << 1006;
    }
    void linkLooksAndActsAsOne()
    {
        QFETCH(int, id);
        AboutWindow window;
        LinkLabel *link = id == 1005 ? window.mailLink() : window.webLink();
        QVERIFY(!link->testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(link->font().underline());
        // The whole address shows, inside the window's margin: a clipped link
        // would hide where it leads.
        QCOMPARE_LE(link->geometry().right(),
                    window.width() - Scale(7, DialogBaseUnitsOf(window.font()).x, 4));
        QVERIFY(!link->wordWrap());
        QCOMPARE_LE(link->sizeHint().width(), link->width());
        QCOMPARE_LE(link->sizeHint().height(), link->height());
        // The offscreen platform draws no pointer of its own, so the links
        // carry the program's hand.
        const QCursor hand = LinkHandCursor();
        QCOMPARE(link->cursor().hotSpot(), hand.hotSpot());
        QCOMPARE(link->cursor().pixmap().toImage(), hand.pixmap().toImage());

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, link->height() / 2));
        QCOMPARE(m_recorder.opened, QStringList{link->text()});
        QVERIFY(window.isVisible());
    }

    void windowEnds_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<int>("result");
        QTest::newRow("OK") << 0 << int(QDialog::Accepted);
        QTest::newRow("Enter, OK being the default") << 1 << int(QDialog::Accepted);
        QTest::newRow("Escape") << 2 << int(QDialog::Rejected);
        QTest::newRow("close box") << 3 << int(QDialog::Rejected);
    }
    void windowEnds()
    {
        QFETCH(int, way);
        QFETCH(int, result);
        AboutWindow window;
        const int ended = RunWhile(window, [way](AboutWindow &running) {
            switch (way) {
            case 0:
                QTest::mouseClick(running.findChild<QPushButton *>(), Qt::LeftButton);
                break;
            case 1:
                QTest::keyClick(&running, Qt::Key_Return);
                break;
            case 2:
                QTest::keyClick(&running, Qt::Key_Escape);
                break;
            case 3:
                running.close();
                break;
            }
        });
        QCOMPARE(ended, result);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestAboutWindow)
#include "test_about_window.moc"
