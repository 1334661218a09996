#include "about/about_window.h"
#include "about/link_label.h"
#include "resources/pictures.h"

#include <QBackingStore>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

namespace
{

// Collects what the desktop would have opened, in place of the real opener.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QStringList opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url.toString()); }
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
QImage ShownNow(const LinkLabel &label)
{
    auto *image = dynamic_cast<QImage *>(label.window()->backingStore()->paintDevice());
    return image ? image->copy(label.geometry()) : QImage();
}

// Pure blue text (0x00FF0000) anti-aliased on the label's own background, the
// button face: no ink pixel leans to red or green, and the stems reach the
// blue itself.
bool IsBlueText(const QImage &image)
{
    const QRgb face = QApplication::palette().color(QPalette::Button).rgb();
    bool reachesBlue = false;
    if (image.pixel(0, 0) != face)
        return false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == face)
                continue;
            if (qRed(p) > qBlue(p) || qGreen(p) > qBlue(p))
                return false;
            reachesBlue |= qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) > 215;
        }
    }
    return reachesBlue;
}

} // namespace

// A link label on its own, then the About window with its two links.
class TestAbout : public QObject
{
    Q_OBJECT

private:
    UrlRecorder m_recorder;
    Background m_window;
    LinkLabel *m_label = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *scheme : {"mailto", "http", "https"})
            QDesktopServices::setUrlHandler(scheme, &m_recorder, "open");
        m_window.resize(400, 80);
        // A parent's look must not reach the label.
        QPalette loud;
        loud.setColor(QPalette::Window, Qt::magenta);
        loud.setColor(QPalette::WindowText, Qt::blue);
        m_window.setPalette(loud);
        m_window.setFont(QFont("Serif", 30));
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
        m_label = new LinkLabel(&m_window);
        m_label->setGeometry(10, 10, 380, 40);
        m_label->setText("Tintgrabber");
        m_label->show();
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
    }
    void cleanup() { delete m_label; }

    void clickOpensItsTextOrReachesTheWindow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("links"); // "on", "off" or "on, off"
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("opened"); // empty: nothing
        QTest::addColumn<int>("presses");    // clicks that reach the window beneath
        const QString mail = "mailto:someone@example.org?subject=tintgrabber";
        const int left = Qt::LeftButton;
        QTest::newRow("mail link") << mail << "on" << left << mail << 0;
        QTest::newRow("typed address") << "www.example.org"
                                       << "on" << left << "http://www.example.org" << 0;
        QTest::newRow("right button") << mail << "on" << int(Qt::RightButton) << "" << 1;
        QTest::newRow("never enabled") << mail << "off" << left << "" << 1;
        QTest::newRow("enabled, then disabled") << mail << "on, off" << left << "" << 1;
    }
    void clickOpensItsTextOrReachesTheWindow()
    {
        QFETCH(QString, text);
        QFETCH(QString, links);
        QFETCH(int, button);
        QFETCH(QString, opened);
        QFETCH(int, presses);
        m_label->setText(text);
        if (links.startsWith("on"))
            m_label->SetLinkEnabled(true).SetLinkEnabled(links == "on");
        QTest::mouseClick(m_window.windowHandle(), Qt::MouseButton(button), {}, QPoint(30, 30));
        QCOMPARE(m_recorder.opened, opened.isEmpty() ? QStringList() : QStringList{opened});
        QCOMPARE(m_window.presses, presses);
        QCOMPARE(m_label->text(), text);
    }

    // No event processing between a setter and the look at the screen.
    void colorAndUnderlineShowAtOnce()
    {
        QCoreApplication::processEvents();
        const QImage plain = ShownNow(*m_label);
        QVERIFY(!IsBlueText(plain));
        m_label->SetColor(0x00FF0000);
        const QImage blue = ShownNow(*m_label);
        QVERIFY(IsBlueText(blue));

        // The underline is the only change: a line of a pixel or two.
        m_label->SetUnderline(true);
        const QImage underlined = ShownNow(*m_label);
        int changedRows = 0;
        for (int y = 0; y < blue.height(); ++y)
            changedRows +=
                blue.copy(0, y, blue.width(), 1) != underlined.copy(0, y, blue.width(), 1);
        QCOMPARE_GE(changedRows, 1);
        QCOMPARE_LE(changedRows, QFontMetrics(m_label->font()).lineWidth() + 1);
        m_label->SetUnderline(false);
        QCOMPARE(ShownNow(*m_label), blue);
    }

    void settersChain()
    {
        m_label->SetLinkEnabled(true)
            .SetColor(0x00FF0000)
            .SetUnderline(true)
            .SetLinkCursor(Qt::PointingHandCursor);
        QVERIFY(IsBlueText(ShownNow(*m_label)));
        QVERIFY(m_label->font().underline());
        QCOMPARE(m_label->font().pointSizeF(), QApplication::font().pointSizeF());
        QCOMPARE(m_label->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(m_window.windowHandle(), Qt::LeftButton, {}, QPoint(30, 30));
        QCOMPARE(m_recorder.opened.size(), 1);
    }

    void linkIsSetUpAndOpensItsText_data()
    {
        QTest::addColumn<bool>("mail");
        QTest::addColumn<QString>("form");
        QTest::newRow("mail") << true
                              << "^mailto:[^@?\\s]+@[^@?\\s]+\\.[a-z]+\\?subject=tintgrabber$";
        QTest::newRow("home page") << false << "^https?://\\S+$";
    }
    void linkIsSetUpAndOpensItsText()
    {
        QFETCH(bool, mail);
        QFETCH(QString, form);
        AboutWindow window;
        LinkLabel *link = mail ? window.mailLink() : window.webLink();
        QVERIFY2(QRegularExpression(form).match(link->text()).hasMatch(), qPrintable(link->text()));
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(link->font().underline());
        // The offscreen platform has no pointing hand, so the links carry the
        // program's own.
        QCOMPARE(link->cursor().pixmap().toImage(), LinkHandCursor().pixmap().toImage());
        // The whole address shows, inside the window's margin.
        QCOMPARE_LE(link->sizeHint().width(), link->width());
        QCOMPARE_LE(link->geometry().right(),
                    window.width() - MulDivRound(7, DialogBaseUnitsOf(window.font()).x, 4));

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                          link->geometry().topLeft() + QPoint(2, link->height() / 2));
        QCOMPARE(m_recorder.opened, QStringList{link->text()});
        QVERIFY(window.isVisible());
    }

    // OK is the default button, so Enter ends the window as OK would. Escape
    // and the close box are the dialog's own; the desktop test uses Escape.
    void enterClicksOk()
    {
        AboutWindow window;
        QTimer::singleShot(0, &window, [&] { QTest::keyClick(&window, Qt::Key_Return); });
        QCOMPARE(window.exec(), int(QDialog::Accepted));
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestAbout)
#include "test_about_window.moc"
