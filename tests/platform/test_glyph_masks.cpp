// Glyphs blended from their masks must come out exactly as QPainter draws
// them, wherever they stand and whatever they overlap.
#include "platform/dialog_units.h"
#include "platform/glyph_masks.h"

#include <QGlyphRun>
#include <QPainter>
#include <QtTest>

namespace
{

const QString TEXT = QStringLiteral("color rgb <0.482, 0.176, 0.263> #7b2d43 WMgjy_|");

struct Line {
    QList<quint32> glyphs;
    QList<QPointF> positions;
};

// TEXT's glyphs from start, each advance scaled by spacing: below 1 the
// glyphs crowd into each other.
Line LaidOut(const QRawFont &font, QPointF start, qreal spacing)
{
    Line line;
    line.glyphs = font.glyphIndexesForString(TEXT);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(line.glyphs);
    QPointF at = start;
    for (const QPointF &advance : advances) {
        line.positions.append(at);
        // Positions stay whole 64ths of a pixel, as text layouts give them.
        at.rx() += std::round(advance.x() * spacing * 64) / 64;
    }
    return line;
}

} // namespace

class TestGlyphMasks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void blendsWhatThePainterDraws_data()
    {
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QPointF>("start");
        QTest::addColumn<qreal>("spacing");
        const QColor window(240, 240, 240);
        QTest::newRow("black on window grey")
            << QColor(Qt::black) << window << QPointF(3, 11) << 1.0;
        QTest::newRow("a fraction along")
            << QColor(Qt::black) << window << QPointF(3.328125, 11) << 1.0;
        QTest::newRow("colour on colour, baseline between pixels")
            << QColor(200, 10, 90) << QColor(30, 60, 200) << QPointF(2.75, 11.5) << 1.0;
        QTest::newRow("crowded: glyphs share pixels")
            << QColor(200, 10, 90) << QColor(250, 250, 210) << QPointF(3.125, 11) << 0.55;
        QTest::newRow("cut off on the left and at the top")
            << QColor(Qt::black) << window << QPointF(-10.5, 4) << 1.0;
    }
    void blendsWhatThePainterDraws()
    {
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QFETCH(QPointF, start);
        QFETCH(qreal, spacing);
        const QRawFont font = QRawFont::fromFont(DialogFont("MS Sans Serif", 8));
        const Line line = LaidOut(font, start, spacing);
        // Sized so that the end of the line is cut off too.
        QImage expected(160, 16, QImage::Format_RGB32);
        expected.fill(background);
        QImage blended = expected.copy();
        {
            QGlyphRun run;
            run.setRawFont(font);
            run.setGlyphIndexes(line.glyphs);
            run.setPositions(line.positions);
            QPainter painter(&expected);
            painter.setPen(text);
            painter.drawGlyphRun(QPointF(), run);
        }
        GlyphMasks masks(font);
        QVERIFY(masks.blend(blended, line.glyphs, line.positions, QPointF(), text.rgb(),
                            background.rgb()));
        QCOMPARE(blended, expected);
    }

    void refusesWhatItCannotReproduce()
    {
        const QRawFont font = QRawFont::fromFont(DialogFont("MS Sans Serif", 8));
        const QList<quint32> glyph = font.glyphIndexesForString(QStringLiteral("8"));
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        const QImage before = image.copy();
        GlyphMasks translucent(font);
        QVERIFY(!translucent.blend(image, glyph, {{QPointF(5, 12)}}, QPointF(), qRgba(0, 0, 0, 128),
                                   qRgb(255, 255, 255)));
        // Not on a 64th of a pixel, as no text layout places glyphs.
        GlyphMasks masks(font);
        QVERIFY(!masks.blend(image, glyph, {{QPointF(5.001, 12)}}, QPointF(), qRgb(0, 0, 0),
                             qRgb(255, 255, 255)));
        QCOMPARE(image, before);
    }
};

QTEST_MAIN(TestGlyphMasks)
#include "test_glyph_masks.moc"
