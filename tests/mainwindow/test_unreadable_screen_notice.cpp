#include "mainwindow/unreadable_screen_notice.h"

#include <QMessageBox>
#include <QWidget>
#include <QtTest>

// The user hears once that the screen cannot be read, and drags never show
// colours that were not read.
class TestUnreadableScreenNotice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toldOnceAndNoMadeUpColours_data();
    void toldOnceAndNoMadeUpColours();
};

void TestUnreadableScreenNotice::toldOnceAndNoMadeUpColours_data()
{
    QTest::addColumn<ScreenAccess>("access");
    QTest::addColumn<bool>("firstDrag");
    QTest::addColumn<bool>("laterDrags");

    QTest::newRow("readable") << ScreenAccess::Readable << true << true;
    QTest::newRow("no grab at all") << ScreenAccess::NoGrab << false << false;
    QTest::newRow("XWayland") << ScreenAccess::OnlyX11Windows << false << true;
}

void TestUnreadableScreenNotice::toldOnceAndNoMadeUpColours()
{
    QFETCH(ScreenAccess, access);
    QFETCH(bool, firstDrag);
    QFETCH(bool, laterDrags);

    QWidget window;
    window.show();
    UnreadableScreenNotice notice(access);
    QCOMPARE(notice.allowSampling(window), firstDrag);

    const QList<QMessageBox *> boxes = window.findChildren<QMessageBox *>();
    const QString message = UnreadableScreenMessage(access);
    QCOMPARE(boxes.size(), message.isEmpty() ? 0 : 1);
    if (!boxes.isEmpty()) {
        QVERIFY(boxes.front()->isVisible());
        QCOMPARE(boxes.front()->text(), message);
        QCOMPARE(boxes.front()->windowTitle(), QStringLiteral("Tintgrabber"));
        QVERIFY(message.contains(QLatin1String("X11")));
        boxes.front()->close(); // deletes itself
    }

    for (int drag = 0; drag < 3; ++drag)
        QCOMPARE(notice.allowSampling(window), laterDrags);
    QTRY_COMPARE(window.findChildren<QMessageBox *>().size(), 0);
}

QTEST_MAIN(TestUnreadableScreenNotice)
#include "test_unreadable_screen_notice.moc"
