// The field is checked against what people know: a read-only, frameless line
// edit with the same margins and the sunken edge drawn over it, pixel by
// pixel, and its text layout against QPainter::drawText.
#include "platform/dialog_units.h"
#include "platform/field_text_layout.h"
#include "platform/static_edge_field.h"

#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace
{

const QString POV_RAY = QStringLiteral("color rgb <1.000000, 0.501961, 0.000000>");
const QString UNTOUCHED = QStringLiteral("clipboard before");

QFont WindowFont()
{
    return DialogFont("MS Sans Serif", 8);
}

// Text as QPainter::drawText draws it, its line's top-left at origin.
QImage DrawnText(const QString &text, const QFont &font, QSize size, QPointF origin)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(origin + QPointF(0, QFontMetricsF(font).ascent()), text);
    return image;
}

QImage LaidOutText(FieldTextLayout &layout, QSize size, QPointF origin)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    layout.draw(painter, origin);
    return image;
}

// The line edit the field stands in for, edge and all.
QImage LineEditPicture(QLineEdit &edit)
{
    QImage image = edit.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    const int right = edit.width() - 1;
    const int bottom = edit.height() - 1;
    const QPalette &colours = edit.palette();
    painter.fillRect(0, 0, right, 1, colours.color(QPalette::Dark));
    painter.fillRect(0, 0, 1, bottom, colours.color(QPalette::Dark));
    painter.fillRect(0, bottom, right + 1, 1, colours.color(QPalette::Light));
    painter.fillRect(right, 0, 1, bottom + 1, colours.color(QPalette::Light));
    return image;
}

QImage FieldPicture(StaticEdgeField &field)
{
    return field.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A field and the line edit it replaces, side by side in one window, both in
// the window's font and at the size of the colour fields.
struct Pair {
    explicit Pair(int width)
    {
        window.setFont(WindowFont());
        window.resize(2 * width + 20, 40);
        field = new StaticEdgeField(&window);
        field->setGeometry(0, 0, width, 20);
        edit = new QLineEdit(&window);
        edit->setReadOnly(true);
        edit->setFrame(false);
        edit->setTextMargins(2, 1, 2, 1);
        QPalette colours = edit->palette();
        colours.setColor(QPalette::Base, colours.color(QPalette::Window));
        edit->setPalette(colours);
        edit->setGeometry(width + 10, 0, width, 20);
    }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(field, Qt::Key(key), modifiers);
        QTest::keyClick(edit, Qt::Key(key), modifiers);
    }

    QWidget window;
    StaticEdgeField *field;
    QLineEdit *edit;
};

} // namespace

class TestStaticEdgeField : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One layout lays out texts in turn, as a field does, so later texts
    // meet characters and pairs the earlier ones have already checked:
    // ligatures ("ff", "fl"), kerned pairs ("r.", "ro") and characters the
    // window font lacks must all come out as drawText draws them.
    void layoutDrawsWhatDrawTextDraws_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("window font") << QString();
        QTest::newRow("serif") << "DejaVu Serif";
        QTest::newRow("monospace") << "DejaVu Sans Mono";
    }
    void layoutDrawsWhatDrawTextDraws()
    {
        QFETCH(QString, family);
        QFont font = WindowFont();
        if (!family.isEmpty())
            font.setFamily(family);
        FieldTextLayout layout(font);
        const QStringList texts = {
            "255",          "#ff8000", POV_RAY, "color rgb <0.047059, 0.027451, 0.780392>",
            "fl. ro r. Wo", "ffi",     "",      "Grün ∑ 名",
            "#fffffe"};
        const QPointF origin(3.5, 2);
        for (const QString &text : texts) {
            layout.setText(text);
            const QSize size(qCeil(QFontMetricsF(font).horizontalAdvance(text)) + 12, 24);
            QCOMPARE(LaidOutText(layout, size, origin), DrawnText(text, font, size, origin));
            QCOMPARE(layout.length(), text.size());
        }
    }

    // Drawing only the glyphs near a repainted stretch leaves the same pixels
    // in it as drawing them all: characters first … last at the start, in the
    // middle, at the end, in a text with a ligature and in one shaped in full.
    void partOfTheLineDrawsWhatTheWholeLineDraws_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("start") << POV_RAY << 0 << 2;
        QTest::newRow("one digit") << POV_RAY << 14 << 14;
        QTest::newRow("middle") << POV_RAY << 12 << 25;
        QTest::newRow("end") << POV_RAY << 35 << 39;
        QTest::newRow("a ligature") << "fl. ffi ro" << 4 << 6;
        QTest::newRow("shaped in full") << "Grün ∑ 名 ab" << 2 << 5;
    }
    void partOfTheLineDrawsWhatTheWholeLineDraws()
    {
        QFETCH(QString, text);
        QFETCH(int, first);
        QFETCH(int, last);
        const QFont font = WindowFont();
        FieldTextLayout layout(font);
        layout.setText(QStringLiteral("#ff8000"));
        layout.setText(text);
        const QFontMetrics metrics(font);
        const int reach = 2 + std::max({0, -metrics.minLeftBearing(), -metrics.minRightBearing()});
        const QPointF origin(2.5, 1);
        const QSize size(260, 20);
        const int left = qFloor(origin.x() + layout.caretX(first));
        const int right = qCeil(origin.x() + layout.caretX(last + 1));
        const QRect clip(left, 0, right - left, size.height());
        QImage blank(size, QImage::Format_RGB32);
        blank.fill(Qt::white);
        QImage whole = blank;
        QImage part = blank;
        {
            QPainter painter(&whole);
            painter.setClipRect(clip);
            layout.draw(painter, origin);
        }
        {
            QPainter painter(&part);
            painter.setClipRect(clip);
            layout.draw(painter, origin, left - origin.x() - reach, right - origin.x() + reach);
        }
        QVERIFY(whole != blank);
        QCOMPARE(part, whole);
    }

    // Carets sit between characters; a point goes to the nearest.
    void positionAtFindsTheNearestCaret()
    {
        FieldTextLayout layout(WindowFont());
        layout.setText(QStringLiteral("#ff8000"));
        for (qsizetype i = 0; i <= layout.length(); ++i) {
            QCOMPARE(layout.positionAt(layout.caretX(i)), i);
            QVERIFY(i == 0 || layout.caretX(i) > layout.caretX(i - 1));
        }
        QCOMPARE(layout.positionAt(-50), 0);
        QCOMPARE(layout.positionAt(layout.width() + 50), 7);
        const qreal nearFirst = layout.caretX(1) - (layout.caretX(1) - layout.caretX(0)) / 4;
        QCOMPARE(layout.positionAt(nearFirst), 1);
    }

    // Texts that fit, texts that scroll to keep the caret's end in view,
    // selections from a copy command and from the keyboard, and a new text
    // that drops the selection and puts the caret at its end.
    void fieldLooksLikeTheLineEdit_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("then");
        QTest::newRow("empty") << 61 << QString() << QString();
        QTest::newRow("red") << 27 << "255" << QString();
        QTest::newRow("too wide: its end shows") << 61 << POV_RAY << QString();
        QTest::newRow("copy command: all selected") << 260 << POV_RAY << "select-all";
        QTest::newRow("too wide, all selected") << 61 << POV_RAY << "select-all";
        QTest::newRow("a new text drops the selection") << 61 << POV_RAY << "select-all 255";
        QTest::newRow("too wide, Home") << 61 << POV_RAY << "home";
        QTest::newRow("Home, then Shift+End") << 61 << POV_RAY << "home shift+end";
        QTest::newRow("Shift+Left twice") << 61 << "#ff8000"
                                          << "shift+left shift+left";
        QTest::newRow("part selected") << 260 << POV_RAY << "select-part";
        QTest::newRow("too wide, part selected") << 222 << POV_RAY << "select-part";
    }
    void fieldLooksLikeTheLineEdit()
    {
        QFETCH(int, width);
        QFETCH(QString, text);
        QFETCH(QString, then);
        Pair pair(width);
        pair.field->setText(text);
        pair.edit->setText(text);
        // A line edit scrolls as it paints; a shown one paints after each step.
        pair.edit->grab();
        for (const QString &step : then.split(' ', Qt::SkipEmptyParts)) {
            if (step == "select-all") {
                pair.field->selectAll();
                pair.edit->selectAll();
            } else if (step == "select-part") {
                pair.field->setSelection(4, 9);
                pair.edit->setSelection(4, 9);
            } else if (step == "home") {
                pair.key(Qt::Key_Home);
            } else if (step == "shift+end") {
                pair.key(Qt::Key_End, Qt::ShiftModifier);
            } else if (step == "shift+left") {
                pair.key(Qt::Key_Left, Qt::ShiftModifier);
            } else {
                pair.field->setText(step);
                pair.edit->setText(step);
            }
            pair.edit->grab();
        }
        QCOMPARE(pair.field->text(), pair.edit->text());
        QCOMPARE(pair.field->selectedText(), pair.edit->selectedText());
        QCOMPARE(pair.field->cursorPosition(), pair.edit->cursorPosition());
        QCOMPARE(FieldPicture(*pair.field), LineEditPicture(*pair.edit));
    }

    // A change repaints only where glyphs changed; what the window shows must
    // still be the whole field painted afresh.
    void partialRepaintsAddUpToTheWholeField()
    {
        QWidget window;
        window.setFont(WindowFont());
        window.resize(280, 30);
        auto *field = new StaticEdgeField(&window);
        field->setGeometry(5, 5, 260, 20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList texts = {POV_RAY,
                                   "color rgb <1.000000, 0.501961, 0.003922>",
                                   "color rgb <0.047059, 0.027451, 0.780392>",
                                   "color rgb <0.047059, 0.027451, 0.78039>",
                                   "255",
                                   "256",
                                   "1",
                                   "#ff8000",
                                   "#fe8000",
                                   "#fe80"};
        for (const QString &text : texts) {
            field->setText(text);
            QCoreApplication::processEvents();
            const QImage shown = window.windowHandle()
                                     ->screen()
                                     ->grabWindow(window.winId(), 5, 5, 260, 20)
                                     .toImage()
                                     .convertToFormat(QImage::Format_RGB32);
            QCOMPARE(shown, FieldPicture(*field));
        }
    }

    // Selecting with the mouse and copying with the keyboard; keys the field
    // has no use for go on to the window.
    void mouseSelectsAndKeysCopy()
    {
        QWidget window;
        window.setFont(WindowFont());
        auto *edgeField = new StaticEdgeField(&window);
        StaticEdgeField &field = *edgeField;
        field.setGeometry(0, 0, 260, 20);
        field.setText(POV_RAY);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QGuiApplication::clipboard()->setText(UNTOUCHED);

        // From before the first character to the middle of "rgb".
        const int y = field.height() / 2;
        const QFontMetricsF metrics(field.font());
        const int start = 2;
        const int end = 4 + qRound(metrics.horizontalAdvance("color rg"));
        QTest::mousePress(&field, Qt::LeftButton, {}, QPoint(start, y));
        QTest::mouseMove(&field, QPoint(end, y));
        QTest::mouseRelease(&field, Qt::LeftButton, {}, QPoint(end, y));
        QCOMPARE(field.selectedText(), QString("color rg"));
        QTest::keyClick(&field, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("color rg"));

        QTest::mouseDClick(&field, Qt::LeftButton, {}, QPoint(end - 2, y));
        QCOMPARE(field.selectedText(), QString("rgb"));
        QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(field.selectedText(), POV_RAY);

        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(&field, &enter);
        QVERIFY(!enter.isAccepted());
    }

    // A tab stop, which offers its whole text when tabbed into and lets go of
    // the selection when the focus moves on.
    void tabbingInSelectsAll()
    {
        QWidget window;
        auto *before = new QLineEdit(&window);
        auto *field = new StaticEdgeField(&window);
        field->setText(QString("128"));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Tab);
        QVERIFY(field->hasFocus());
        QCOMPARE(field->selectedText(), QString("128"));
        QTest::keyClick(field, Qt::Key_Tab);
        QVERIFY(!field->hasFocus());
        QVERIFY(!field->hasSelectedText());
    }
};

QTEST_MAIN(TestStaticEdgeField)
#include "test_static_edge_field.moc"
