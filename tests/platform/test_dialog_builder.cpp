#include "platform/dialog_builder.h"
#include "platform/static_edge_field.h"
#include "resources/resource_ids.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace
{

using K = ControlKind;

// One control of every kind, overlapping in places.
constexpr ControlTemplate EVERY_KIND[] = {
    {IDC_STATIC, K::StaticIcon, "", {12, 45, 20, 20}, IDI_APP},
    {20, K::StaticTextNoPrefix, "Tom && Jerry & co", {40, 10, 119, 8}},
    {21, K::StaticText, "Tom && Jerry &co", {40, 25, 170, 8}},
    {22, K::ReadOnlyField, "", {40, 41, 60, 12}},
    {ID_OK, K::DefaultPushButton, "OK", {178, 7, 32, 14}},
    {23, K::GroupBox, "", {7, 4, 203, 38}},
    {25, K::AutoCheckBox, "Check", {110, 41, 60, 10}},
    {26, K::EtchedFrame, "", {110, 55, 40, 20}},
    {27, K::DropDownList, "", {150, 55, 40, 99}},
    {ID_CANCEL, K::PushButton, "E&xit", {178, 25, 32, 14}},
    {IDC_STATIC, K::StaticIcon, "", {11, 5, 20, 20}, 9999},
};

constexpr DialogTemplate OWNED = {900, "Owned window", "MS Sans Serif", 8, 217,
                                  175, false,          EVERY_KIND};

struct Built {
    QDialog dialog;
    DialogBuilder builder{OWNED, DialogFont("MS Sans Serif", 8)};
    DialogControls controls = builder.build(dialog);

    QRect pixels(const DialogRect &r) const
    {
        const DialogBaseUnits u = builder.baseUnits();
        return QRect(MulDivRound(r.x, u.x, 4), MulDivRound(r.y, u.y, 8),
                     MulDivRound(r.width, u.x, 4), MulDivRound(r.height, u.y, 8));
    }
};

} // namespace

class TestDialogBuilder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // An owned window is a dialog; one with its own task-bar entry a normal
    // window. Neither can be resized, minimised or maximised.
    void windowTakesTitleAndFixedSize_data()
    {
        QTest::addColumn<bool>("appWindow");
        QTest::newRow("owned") << false;
        QTest::newRow("own task-bar entry") << true;
    }
    void windowTakesTitleAndFixedSize()
    {
        QFETCH(bool, appWindow);
        DialogTemplate window = OWNED;
        window.appWindow = appWindow;
        QDialog dialog;
        const DialogBuilder builder(window, DialogFont("MS Sans Serif", 8));
        builder.build(dialog);
        const QSize size(MulDivRound(217, builder.baseUnits().x, 4),
                         MulDivRound(175, builder.baseUnits().y, 8));
        QCOMPARE(dialog.windowTitle(), QString("Owned window"));
        QCOMPARE(dialog.font().pixelSize(), 11);
        QCOMPARE(dialog.minimumSize(), size);
        QCOMPARE(dialog.maximumSize(), size);
        QVERIFY(!(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(dialog.windowType(), appWindow ? Qt::Window : Qt::Dialog);
    }

    void eachKindMakesItsWidgetInPlace()
    {
        const Built built;
        const DialogControls &controls = built.controls;
        for (const ControlTemplate &entry : EVERY_KIND) {
            if (entry.id == IDC_STATIC)
                continue;
            const QRect at = controls.widget(entry.id)->geometry();
            if (entry.kind == K::DropDownList) {
                // Closed, the list is one line high.
                QCOMPARE(at.topLeft(), built.pixels(entry.rect).topLeft());
                QCOMPARE(at.height(), built.builder.baseUnits().y + 8);
            } else {
                QCOMPARE(at, built.pixels(entry.rect));
            }
        }
        QVERIFY(controls.control<StaticEdgeField>(22)->text().isEmpty());
        QVERIFY(controls.control<QPushButton>(ID_OK)->isDefault());
        QVERIFY(!controls.control<QPushButton>(ID_CANCEL)->autoDefault());
        QVERIFY(!controls.control<QComboBox>(27)->isEditable());
        QCOMPARE(controls.widget(4242), nullptr);
        // "&&" is a literal "&" and a single "&" marks a mnemonic, except
        // where the kind shows every "&" as it stands.
        QCOMPARE(controls.control<QLabel>(20)->text(), QString("Tom && Jerry & co"));
        QCOMPARE(controls.control<QLabel>(21)->text(), QString("Tom & Jerry co"));
        QCOMPARE(controls.control<QLabel>(21)->textFormat(), Qt::PlainText);
        // An icon takes its picture's size; an unknown picture leaves it empty.
        QList<QSize> iconSizes;
        for (const QLabel *label : built.dialog.findChildren<QLabel *>())
            iconSizes << (label->text().isEmpty() ? label->size() : QSize());
        QVERIFY(iconSizes.contains(QSize(32, 32)) && iconSizes.contains(QSize(0, 0)));
    }

    // Template order is the tab order, and the first control is drawn on top
    // where controls overlap.
    void templateOrderIsTabOrderAndStacking()
    {
        const Built built;
        const DialogControls &controls = built.controls;
        const QList<QWidget *> tabStops = {controls.widget(22), controls.widget(ID_OK),
                                           controls.widget(25), controls.widget(27),
                                           controls.widget(ID_CANCEL)};
        QWidget *current = tabStops.first();
        for (qsizetype i = 1; i < tabStops.size(); ++i) {
            do
                current = current->nextInFocusChain();
            while (!(current->focusPolicy() & Qt::TabFocus));
            QCOMPARE(current, tabStops[i]);
        }
        const QObjectList stacking = built.dialog.children(); // bottom to top
        QCOMPARE_GT(stacking.indexOf(controls.widget(ID_OK)),
                    stacking.indexOf(controls.widget(23)));
    }
};

QTEST_MAIN(TestDialogBuilder)
#include "test_dialog_builder.moc"
