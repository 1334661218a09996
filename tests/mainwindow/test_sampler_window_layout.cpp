#include "platform/static_edge_field.h"
#include "sampler_window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cmath>

namespace
{

struct Expected {
    int id;
    const char *caption; // nullptr for controls without one
    int x, y, width, height;
};

// The window as it should look, written out here rather than read from the
// program's own table, so a slip in either shows.
constexpr Expected LAYOUT[] = {
    {1014, nullptr, 1, 2, 57, 55},
    {1009, "#HTML", 61, 2, 41, 11},
    {1004, nullptr, 61, 16, 41, 12},
    {1015, "HTML", 105, 2, 41, 11},
    {1006, nullptr, 105, 16, 41, 12},
    {1010, "R", 149, 2, 18, 11},
    {1001, nullptr, 149, 16, 18, 12},
    {1011, "G", 170, 2, 18, 11},
    {1002, nullptr, 170, 16, 18, 12},
    {1012, "B", 191, 2, 18, 11},
    {1003, nullptr, 191, 16, 18, 12},
    {1013, "Copy to clipboard in POV-Ray fortmat", 61, 31, 148, 11},
    {1005, nullptr, 61, 44, 148, 12},
    {1007, "Always on top", 213, 2, 60, 10},
    {1008, nullptr, 212, 12, 59, 30},
    {1000, nullptr, 212, 44, 39, 99},
    {2, "E&xit", 253, 44, 17, 13},
};

// Dialog units to pixels, rounding halves up, worked out independently of the
// program's own conversion.
int Scale(int units, int base, int divisor)
{
    return int(std::floor(double(units) * base / divisor + 0.5));
}

QWidget *ControlById(const SamplerWindow &window, int id)
{
    if (QWidget *field = window.field(id))
        return field;
    if (QWidget *button = window.button(id))
        return button;
    switch (id) {
    case 1000:
        return window.zoomList();
    case 1007:
        return window.topmostCheck();
    case 1008:
        return window.colorArea();
    case 1014:
        return window.zoomArea();
    default:
        return nullptr;
    }
}

} // namespace

class TestSamplerWindowLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowIsFixedAndTitled()
    {
        SamplerWindowFixture fixture;
        const SamplerWindow &window = fixture.create();
        const DialogBaseUnits units = window.baseUnits();
        const QSize size(Scale(273, units.x, 4), Scale(58, units.y, 8));
        QCOMPARE(window.windowTitle(), QString("Tintgrabber"));
        QCOMPARE(window.minimumSize(), size);
        QCOMPARE(window.maximumSize(), size);
        QCOMPARE(window.windowType(), Qt::Window); // listed on the task bar
        QVERIFY(!(window.windowFlags() & Qt::WindowMinMaxButtonsHint));
    }

    // With the 11-pixel dialog font a dialog unit is never a mere pixel or two;
    // a font that failed to load would show here first.
    void fontGivesPlausibleBaseUnits()
    {
        SamplerWindowFixture fixture;
        const SamplerWindow &window = fixture.create();
        QVERIFY(window.baseUnits().x >= 5 && window.baseUnits().x <= 8);
        QVERIFY(window.baseUnits().y >= 11 && window.baseUnits().y <= 16);
    }

    void controlSitsWhereItsUnitsPutIt_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(LAYOUT)); ++i)
            QTest::newRow(QByteArray::number(LAYOUT[i].id)) << i;
    }

    void controlSitsWhereItsUnitsPutIt()
    {
        QFETCH(int, index);
        const Expected &expected = LAYOUT[index];
        SamplerWindowFixture fixture;
        const SamplerWindow &window = fixture.create();
        const DialogBaseUnits units = window.baseUnits();
        QWidget *control = ControlById(window, expected.id);
        QVERIFY(control != nullptr);
        QCOMPARE(control->parentWidget(), &window);
        const QRect at = control->geometry();
        QCOMPARE(at.x(), Scale(expected.x, units.x, 4));
        QCOMPARE(at.y(), Scale(expected.y, units.y, 8));
        QCOMPARE(at.width(), Scale(expected.width, units.x, 4));
        if (expected.id == IDC_ZOOMLIST)
            QVERIFY(at.bottom() < window.height()); // the rest is the dropped list
        else
            QCOMPARE(at.height(), Scale(expected.height, units.y, 8));
        if (expected.caption != nullptr) {
            auto *button = qobject_cast<QAbstractButton *>(control);
            QVERIFY(button != nullptr);
            QCOMPARE(button->text(), QString(expected.caption));
        }
    }

    void zoomListOffersThreeToThirty()
    {
        SamplerWindowFixture fixture;
        const SamplerWindow &window = fixture.create();
        QComboBox *list = window.zoomList();
        QCOMPARE(list->count(), 28);
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->itemText(i), QString("x%1").arg(i + 3));
        QVERIFY(!list->isEditable());
        QCOMPARE(list->currentIndex(), 0);
    }

    void fieldsAreReadOnlyAndEmpty()
    {
        SamplerWindowFixture fixture;
        const SamplerWindow &window = fixture.create();
        for (int id : TEXT_FIELD_IDS) {
            QLineEdit *field = window.field(id);
            QVERIFY(field != nullptr);
            QVERIFY(dynamic_cast<StaticEdgeField *>(field) != nullptr);
            QVERIFY(field->isReadOnly());
            QVERIFY(field->text().isEmpty());
        }
        QCOMPARE(window.field(IDC_TOPMOST), nullptr);
    }

    void noButtonIsTheDefault()
    {
        SamplerWindowFixture fixture;
        const SamplerWindow &window = fixture.create();
        const QList<QPushButton *> buttons = window.findChildren<QPushButton *>();
        QCOMPARE(buttons.size(), 7);
        for (QPushButton *button : buttons) {
            QVERIFY2(!button->isDefault() && !button->autoDefault(), qPrintable(button->text()));
        }
    }

    void checkBoxStartsClear()
    {
        SamplerWindowFixture fixture;
        const SamplerWindow &window = fixture.create();
        QVERIFY(window.topmostCheck()->isCheckable());
        QVERIFY(!window.topmostCheck()->isChecked());
    }

    // Presses in the areas must reach the window, which starts the drag.
    void areasLetTheMouseThrough()
    {
        SamplerWindowFixture fixture;
        const SamplerWindow &window = fixture.create();
        QVERIFY(window.zoomArea()->testAttribute(Qt::WA_TransparentForMouseEvents));
        QVERIFY(window.colorArea()->testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(window.childAt(window.colorArea()->geometry().center()), nullptr);
        QCOMPARE(window.childAt(window.zoomArea()->geometry().center()), nullptr);
    }

    void tabOrderFollowsTheTemplate()
    {
        SamplerWindowFixture fixture;
        const SamplerWindow &window = fixture.create();
        QList<int> order;
        QWidget *current = window.button(IDC_COPYHASHHEX);
        for (int i = 0; i < 15; ++i) {
            for (const Expected &expected : LAYOUT) {
                if (ControlById(window, expected.id) == current)
                    order << expected.id;
            }
            do
                current = current->nextInFocusChain();
            while (!(current->focusPolicy() & Qt::TabFocus));
        }
        const QList<int> expected = {1009, 1004, 1015, 1006, 1010, 1001, 1011, 1002,
                                     1012, 1003, 1013, 1005, 1007, 1000, 2};
        QCOMPARE(order, expected);
    }

    void exitCloses()
    {
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        window.show();
        window.button(ID_CANCEL)->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }

    void escapeCloses()
    {
        SamplerWindowFixture fixture;
        SamplerWindow &window = fixture.create();
        window.show();
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestSamplerWindowLayout)
#include "test_sampler_window_layout.moc"
