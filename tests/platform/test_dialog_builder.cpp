#include "platform/dialog_builder.h"
#include "platform/static_edge_field.h"
#include "resources/resource_ids.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace
{

using K = ControlKind;

// One control of every kind, in the order a test expects them.
constexpr ControlTemplate EVERY_KIND[] = {
    {IDC_STATIC, K::StaticIcon, "", {12, 45, 20, 20}, IDI_APP},
    {20, K::StaticTextNoPrefix, "Tom && Jerry & co", {40, 10, 119, 8}},
    {21, K::StaticText, "Tom && Jerry &co", {40, 25, 170, 8}},
    {22, K::ReadOnlyField, "", {40, 41, 60, 12}},
    {ID_OK, K::DefaultPushButton, "OK", {178, 7, 32, 14}},
    {23, K::GroupBox, "", {7, 104, 203, 38}},
    {24, K::GroupBox, "Help", {7, 77, 203, 32}},
    {25, K::AutoCheckBox, "Check", {110, 41, 60, 10}},
    {26, K::EtchedFrame, "", {110, 55, 40, 20}},
    {27, K::DropDownList, "", {150, 55, 40, 99}},
    {ID_CANCEL, K::PushButton, "E&xit", {178, 25, 32, 14}},
    {IDC_STATIC, K::StaticIcon, "", {11, 5, 20, 20}, 9999},
};

constexpr DialogTemplate OWNED = {900, "Owned window", "MS Sans Serif", 8, 217,
                                  175, false,          EVERY_KIND};
constexpr DialogTemplate OWN_TASK_BAR_ENTRY = {901, "Own window", "MS Sans Serif", 8, 100, 50, true,
                                               {}};

QFont KnownFont()
{
    return DialogFont("MS Sans Serif", 8);
}

} // namespace

class TestDialogBuilder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowTakesTitleFontAndFixedSize()
    {
        QDialog dialog;
        const DialogBuilder builder(OWNED, KnownFont());
        builder.build(dialog);
        const DialogBaseUnits units = builder.baseUnits();
        const QSize size(MulDivRound(217, units.x, 4), MulDivRound(175, units.y, 8));
        QCOMPARE(dialog.windowTitle(), QString("Owned window"));
        QCOMPARE(dialog.font().pixelSize(), 11);
        QCOMPARE(dialog.minimumSize(), size);
        QCOMPARE(dialog.maximumSize(), size);
        QVERIFY(!(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(dialog.windowType(), Qt::Dialog);
    }

    // A window with its own task-bar entry is a normal top-level window rather
    // than a dialog belonging to another.
    void ownTaskBarEntryMakesANormalWindow()
    {
        QDialog dialog;
        DialogBuilder(OWN_TASK_BAR_ENTRY).build(dialog);
        QCOMPARE(dialog.windowType(), Qt::Window);
        QVERIFY(!(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));
    }

    void eachKindMakesItsWidget()
    {
        QDialog dialog;
        const DialogControls controls = DialogBuilder(OWNED, KnownFont()).build(dialog);
        QVERIFY(controls.control<QLabel>(20));
        QVERIFY(controls.control<StaticEdgeField>(22));
        QVERIFY(controls.control<StaticEdgeField>(22)->isReadOnly());
        QVERIFY(controls.control<QPushButton>(ID_OK)->isDefault());
        QVERIFY(!controls.control<QPushButton>(ID_CANCEL)->isDefault());
        QVERIFY(!controls.control<QPushButton>(ID_CANCEL)->autoDefault());
        QCOMPARE(controls.control<QGroupBox>(23)->title(), QString());
        QCOMPARE(controls.control<QGroupBox>(24)->title(), QString("Help"));
        QCOMPARE(controls.control<QCheckBox>(25)->text(), QString("Check"));
        QCOMPARE(controls.control<QFrame>(26)->frameStyle(), QFrame::Box | QFrame::Sunken);
        QVERIFY(!controls.control<QComboBox>(27)->isEditable());
        // Unknown identifiers and wrong types give nothing.
        QCOMPARE(controls.widget(IDC_STATIC), nullptr);
        QCOMPARE(controls.widget(4242), nullptr);
        QCOMPARE(controls.control<QPushButton>(25), nullptr);
    }

    void staticTextTreatsMnemonicsByKind()
    {
        QDialog dialog;
        const DialogControls controls = DialogBuilder(OWNED, KnownFont()).build(dialog);
        QCOMPARE(controls.control<QLabel>(20)->text(), QString("Tom && Jerry & co"));
        QCOMPARE(controls.control<QLabel>(21)->text(), QString("Tom & Jerry co"));
        QCOMPARE(controls.control<QLabel>(21)->textFormat(), Qt::PlainText);
    }

    void controlsSitWhereTheirUnitsPutThem()
    {
        QDialog dialog;
        const DialogBuilder builder(OWNED, KnownFont());
        const DialogControls controls = builder.build(dialog);
        const DialogBaseUnits units = builder.baseUnits();
        for (const ControlTemplate &entry : EVERY_KIND) {
            if (entry.id == IDC_STATIC || entry.kind == K::DropDownList)
                continue;
            const QRect expected(MulDivRound(entry.rect.x, units.x, 4),
                                 MulDivRound(entry.rect.y, units.y, 8),
                                 MulDivRound(entry.rect.width, units.x, 4),
                                 MulDivRound(entry.rect.height, units.y, 8));
            QCOMPARE(controls.widget(entry.id)->geometry(), expected);
        }
        // The closed list is one line high; the rest of its height is for the
        // dropped list.
        const QRect list = controls.widget(27)->geometry();
        QCOMPARE(list.topLeft(), QPoint(MulDivRound(150, units.x, 4), MulDivRound(55, units.y, 8)));
        QCOMPARE(list.height(), units.y + 8);
    }

    // An icon control takes its picture's size; an unknown picture leaves it
    // empty rather than failing.
    void iconTakesThePictureSize()
    {
        QDialog dialog;
        const DialogBuilder builder(OWNED, KnownFont());
        builder.build(dialog);
        const QList<QLabel *> labels = dialog.findChildren<QLabel *>();
        QList<QLabel *> icons;
        for (QLabel *label : labels) {
            if (label->text().isEmpty())
                icons << label;
        }
        QCOMPARE(icons.size(), 2);
        const QPoint firstAt(MulDivRound(12, builder.baseUnits().x, 4),
                             MulDivRound(45, builder.baseUnits().y, 8));
        for (QLabel *icon : icons) {
            if (icon->pos() == firstAt)
                QCOMPARE(icon->size(), QSize(32, 32));
            else
                QCOMPARE(icon->size(), QSize(0, 0));
        }
    }

    void templateOrderIsTabOrder()
    {
        QDialog dialog;
        const DialogControls controls = DialogBuilder(OWNED, KnownFont()).build(dialog);
        const QList<QWidget *> expected = {controls.widget(22), controls.widget(ID_OK),
                                           controls.widget(25), controls.widget(27),
                                           controls.widget(ID_CANCEL)};
        QWidget *current = expected.first();
        for (qsizetype i = 1; i < expected.size(); ++i) {
            current = current->nextInFocusChain();
            while (!(current->focusPolicy() & Qt::TabFocus))
                current = current->nextInFocusChain();
            QCOMPARE(current, expected[i]);
        }
    }

    // The first control is drawn on top where controls overlap.
    void firstControlIsOnTop()
    {
        QDialog dialog;
        const DialogControls controls = DialogBuilder(OWNED, KnownFont()).build(dialog);
        const QObjectList stacking = dialog.children(); // bottom to top
        QCOMPARE(stacking.indexOf(controls.widget(20)) > stacking.indexOf(controls.widget(21)),
                 true);
        QCOMPARE(stacking.indexOf(controls.widget(ID_OK)) > stacking.indexOf(controls.widget(23)),
                 true);
    }

    void standardCommandsEndTheWindow_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("result");
        QTest::newRow("OK accepts") << ID_OK << int(QDialog::Accepted);
        QTest::newRow("Cancel rejects") << ID_CANCEL << int(QDialog::Rejected);
    }

    void standardCommandsEndTheWindow()
    {
        QFETCH(int, id);
        QFETCH(int, result);
        QDialog dialog;
        const DialogControls controls = DialogBuilder(OWNED, KnownFont()).build(dialog);
        dialog.show();
        dialog.setResult(-1);
        controls.control<QPushButton>(id)->click();
        QCOMPARE(dialog.result(), result);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TestDialogBuilder)
#include "test_dialog_builder.moc"
