#include "widgets/read_only_ascii_field.h"

#include <QClipboard>
#include <QtTest>

// The field as a user meets it: a text set, then clicks and keys; what is
// selected, where the caret went (read with Shift+Home or Shift+End) and what
// reached the clipboard and X11's primary selection.
class TestReadOnlyAsciiField : public QObject
{
    Q_OBJECT

    static constexpr auto DIGITS = "0123456789";
    static constexpr auto LONG = "color rgb <0.741176, 0.968627, 0.725490>";

    // A script of steps apart by spaces: "3" clicks at the caret place before
    // character 3, "+7" Shift-clicks there, "7>2" drags from one to the
    // other, "2x" double-clicks, "L" and "R" click the field's two ends, and
    // anything else is a key sequence.
    static void play(ReadOnlyAsciiField &field, const QString &script)
    {
        const QFontMetricsF metrics(field.font());
        const auto at = [&](const QString &place) {
            const int x =
                place == "L" ? 0
                : place == "R"
                    ? field.width() - 1
                    : ReadOnlyAsciiField::MARGIN_X +
                          qRound(metrics.horizontalAdvance(field.text().left(place.toInt())));
            return QPoint(x, field.height() / 2);
        };
        for (const QString &step : script.split(' ', Qt::SkipEmptyParts)) {
            if (step.contains('>')) {
                QTest::mousePress(&field, Qt::LeftButton, {}, at(step.section('>', 0, 0)));
                // Sent as it comes, with the button held, whatever the real pointer does.
                QMouseEvent move(QEvent::MouseMove, at(step.section('>', 1)),
                                 field.mapToGlobal(at(step.section('>', 1))), Qt::NoButton,
                                 Qt::LeftButton, {});
                QCoreApplication::sendEvent(&field, &move);
                QTest::mouseRelease(&field, Qt::LeftButton, {}, at(step.section('>', 1)));
            } else if (step.endsWith('x')) {
                QTest::mouseDClick(&field, Qt::LeftButton, {}, at(step.chopped(1)));
            } else if (step[0] == '+') {
                QTest::mouseClick(&field, Qt::LeftButton, Qt::ShiftModifier, at(step.mid(1)));
            } else if (step[0].isDigit() || step == "L" || step == "R") {
                QTest::mouseClick(&field, Qt::LeftButton, {}, at(step));
            } else {
                const QKeyCombination key = QKeySequence(step)[0];
                QTest::keyClick(&field, key.key(), key.keyboardModifiers());
            }
        }
    }

private Q_SLOTS:
    void userSteps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("clipboard"); // "-": left as it was
        QTest::addColumn<QString>("primary");
        const auto row = [](const char *name, const char *text, int width, const char *script,
                            const char *selected, const char *clipboard = "-",
                            const char *primary = "-") {
            QTest::newRow(name) << text << width << script << selected << clipboard << primary;
        };
        row("a new text: caret at the end, nothing selected", DIGITS, 200, "", "");
        row("Shift+Home from the end", DIGITS, 200, "Shift+Home", DIGITS);
        row("Right stops at the end", DIGITS, 200, "Right Left Shift+Left", "8");
        row("Left stops at the start", DIGITS, 200, "Home Left Shift+Right Shift+Right", "01");
        row("an arrow ends a selection at its side", DIGITS, 200, "Ctrl+A Left Shift+Right", "0");
        row("Shift+End from a click", DIGITS, 200, "3 Shift+End", "3456789");
        row("a click beyond the end", DIGITS, 200, "2 R Shift+Home", DIGITS);
        row("Shift-click extends from the caret", DIGITS, 200, "3 +7", "3456", "-", "3456");
        row("a drag selects and offers it as primary", DIGITS, 200, "7>2", "23456", "-", "23456");
        row("a double click takes it all", DIGITS, 200, "4x", DIGITS, "-", DIGITS);
        row("keys select without offering a primary", DIGITS, 200, "Ctrl+A", DIGITS);
        row("Ctrl+C copies the selection", DIGITS, 200, "3 +5 Ctrl+C", "34", "34", "34");
        row("Ctrl+C without a selection copies nothing", DIGITS, 200, "Ctrl+C", "");
        row("a wide text shows its end", LONG, 60, "R Shift+Home", LONG);
        row("Home scrolls to the start", LONG, 60, "Home L Shift+End", LONG);
        row("End scrolls back to the end", LONG, 60, "Home End R Shift+Home", LONG);
        row("selecting all scrolls to the end", LONG, 60, "Home Ctrl+A R Shift+Home", LONG);
        row("moves inside the view keep it", LONG, 60, "Left Left R Shift+Home", LONG);
    }
    void userSteps()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, script);
        QFETCH(QString, selected);
        QFETCH(QString, clipboard);
        QFETCH(QString, primary);
        QClipboard &board = *QGuiApplication::clipboard();
        QVERIFY(board.supportsSelection());
        board.setText("-");
        board.setText("-", QClipboard::Selection);
        ReadOnlyAsciiField field;
        field.resize(width, field.sizeHint().height());
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        field.setText(text);
        play(field, script);
        QCOMPARE(field.selectedText(), selected);
        QCOMPARE(board.text(), clipboard);
        QCOMPARE(board.text(QClipboard::Selection), primary);
    }

    // Enter, Escape and the rest end sampling or close the window.
    void leavesOtherKeysToTheWindow()
    {
        ReadOnlyAsciiField field;
        for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Up}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(&field, &press);
            QVERIFY(!press.isAccepted());
        }
    }
};

QTEST_MAIN(TestReadOnlyAsciiField)
#include "test_read_only_ascii_field.moc"
