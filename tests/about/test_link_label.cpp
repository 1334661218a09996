#include "about/link_label.h"

#include <QBackingStore>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QtTest>

namespace
{

// Collects what the desktop would have opened, in place of the real opener.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

class FakeShell final : public Shell
{
public:
    QStringList opened;
    void open(const QString &text) override { opened.append(text); }
};

// The window beneath the label, counting the clicks that reach it.
class Background : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

// What the window shows right now: its backing store, which only a paint
// changes, unlike QWidget::grab() which paints afresh.
QImage shownNow(LinkLabel &label)
{
    auto *image = dynamic_cast<QImage *>(label.window()->backingStore()->paintDevice());
    if (!image)
        return {};
    return image->copy(label.geometry());
}

QRgb buttonFace()
{
    return QApplication::palette().color(QPalette::Button).rgb();
}

// Text of pure blue (0x00FF0000) drawn anti-aliased on the button face: every
// ink pixel lies between the two, and the stems reach the blue itself.
bool isBlueText(const QImage &image)
{
    bool reachesBlue = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == buttonFace())
                continue;
            if (qRed(p) > qBlue(p) || qGreen(p) > qBlue(p))
                return false;
            reachesBlue |= qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) > 215;
        }
    }
    return reachesBlue;
}

} // namespace

class TestLinkLabel : public QObject
{
    Q_OBJECT

private:
    Background m_window;
    LinkLabel *m_label = nullptr;
    UrlRecorder m_recorder;

    void click() { QTest::mouseClick(m_window.windowHandle(), Qt::LeftButton, {}, QPoint(30, 30)); }

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

    void init()
    {
        m_recorder.opened.clear();
        m_window.presses = 0;
        m_window.resize(400, 80);
        m_label = new LinkLabel(&m_window);
        m_label->setGeometry(10, 10, 380, 40);
        m_label->show();
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
    }
    void cleanup()
    {
        delete m_label;
        m_label = nullptr;
    }

    void clickOpensTheTextThroughTheDesktop_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("opened");
        QTest::newRow("mail link with subject") << "mailto:someone@example.org?subject=tintgrabber"
                                                << "mailto:someone@example.org?subject=tintgrabber";
        QTest::newRow("web address") << "https://www.example.org/tintgrabber/"
                                     << "https://www.example.org/tintgrabber/";
        QTest::newRow("typed address") << "www.example.org"
                                       << "http://www.example.org";
    }
    void clickOpensTheTextThroughTheDesktop()
    {
        QFETCH(QString, text);
        QFETCH(QString, opened);
        m_label->setText(text);
        m_label->SetLinkEnabled(true);
        click();
        QCOMPARE(m_recorder.opened.size(), 1);
        QCOMPARE(m_recorder.opened.first().toString(), opened);
        QCOMPARE(m_label->text(), text);
        QCOMPARE(m_window.presses, 0);
    }

    void clickWithoutLinkReachesTheWindowBeneath_data()
    {
        QTest::addColumn<bool>("enabledBefore");
        QTest::newRow("never enabled") << false;
        QTest::newRow("enabled, then disabled") << true;
    }
    void clickWithoutLinkReachesTheWindowBeneath()
    {
        QFETCH(bool, enabledBefore);
        m_label->setText("https://www.example.org/");
        if (enabledBefore)
            m_label->SetLinkEnabled(true).SetLinkEnabled(false);
        click();
        QVERIFY(m_recorder.opened.isEmpty());
        QCOMPARE(m_window.presses, 1);
    }

    void otherButtonsOpenNothing()
    {
        m_label->setText("https://www.example.org/");
        m_label->SetLinkEnabled(true);
        QTest::mouseClick(m_window.windowHandle(), Qt::RightButton, {}, QPoint(30, 30));
        QVERIFY(m_recorder.opened.isEmpty());
    }

    void colorShowsAtOnce()
    {
        m_label->setText("Tintgrabber");
        QVERIFY(!shownNow(*m_label).isNull());
        QVERIFY(!isBlueText(shownNow(*m_label)));
        // No event processing between the setter and the look at the screen.
        m_label->SetColor(0x00FF0000);
        QVERIFY(isBlueText(shownNow(*m_label)));
    }

    void underlineShowsAtOnce()
    {
        m_label->setText("Tintgrabber");
        QCoreApplication::processEvents();
        const QImage before = shownNow(*m_label);
        m_label->SetUnderline(true);
        const QImage after = shownNow(*m_label);

        // The only change is a horizontal line about as long as the text.
        int top = after.height(), bottom = -1, left = after.width(), right = -1;
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                if (before.pixel(x, y) != after.pixel(x, y)) {
                    top = qMin(top, y), bottom = qMax(bottom, y);
                    left = qMin(left, x), right = qMax(right, x);
                }
            }
        }
        QVERIFY2(bottom >= 0, "nothing changed on screen");
        QCOMPARE_LE(bottom - top + 1, QFontMetrics(m_label->font()).lineWidth() + 1);
        QCOMPARE_GE(right - left + 1,
                    QFontMetrics(m_label->font()).horizontalAdvance("Tintgrabber") * 9 / 10);

        m_label->SetUnderline(false);
        QCOMPARE(shownNow(*m_label), before);
    }

    void keepsItsOwnLookOnAnyParent()
    {
        QPalette loud;
        loud.setColor(QPalette::Window, Qt::magenta);
        loud.setColor(QPalette::WindowText, Qt::green);
        m_window.setPalette(loud);
        QFont big = m_window.font();
        big.setPointSize(30);
        m_window.setFont(big);

        QCOMPARE(m_label->font(), QApplication::font());
        const QImage look = m_label->grab().toImage();
        QCOMPARE(look.pixel(0, 0), buttonFace());
        QCOMPARE(look.pixel(look.width() - 1, look.height() - 1), buttonFace());
        QCOMPARE(m_label->palette().color(QPalette::WindowText),
                 QApplication::palette().color(QPalette::WindowText));
    }

    void settersChainInOneExpression()
    {
        FakeShell shell;
        LinkLabel label(&m_window, &shell);
        label.setText("mailto:someone@example.org?subject=tintgrabber");
        label.setGeometry(10, 10, 380, 40);
        label.show();

        label.SetLinkEnabled(true)
            .SetColor(0x00FF0000)
            .SetUnderline(true)
            .SetLinkCursor(Qt::PointingHandCursor);

        QVERIFY(isBlueText(shownNow(label)));
        QVERIFY(label.font().underline());
        QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
        click();
        QCOMPARE(shell.opened, QStringList{label.text()});
        QVERIFY(m_recorder.opened.isEmpty());
    }
};

QTEST_MAIN(TestLinkLabel)
#include "test_link_label.moc"
