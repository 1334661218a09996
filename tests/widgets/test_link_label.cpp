#include "widgets/link_label.h"

#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// A link the desktop cannot open is said, with the link there to copy. The
// desktop's opener is a stand-in first on PATH that exits with the status
// under test.
class TestLinkLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aLinkNotOpenedIsSaid_data()
    {
        QTest::addColumn<QByteArray>("opener");
        QTest::addColumn<bool>("said");
        QTest::newRow("opened") << QByteArray("exit 0") << false;
        QTest::newRow("no program for it") << QByteArray("exit 3") << true;
        QTest::newRow("killed") << QByteArray("kill -9 $$") << true;
        QTest::newRow("no opener at all") << QByteArray() << true;
    }
    void aLinkNotOpenedIsSaid()
    {
        QFETCH(QByteArray, opener);
        QFETCH(bool, said);
        QTemporaryDir bin;
        QFile script(bin.filePath("xdg-open"));
        if (!opener.isEmpty()) {
            QVERIFY(script.open(QIODevice::WriteOnly) && script.write("#!/bin/sh\n" + opener));
            script.close();
            QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        QWidget window;
        LinkLabel link(&window);
        link.SetLinkEnabled(true).setText("https://www.example.org/a b");
        QTest::mouseClick(&link, Qt::LeftButton);
        auto *process = link.findChild<QProcess *>();
        QVERIFY(process && process->waitForFinished(10000));
        qputenv("PATH", path);
        QCoreApplication::processEvents();
        const auto boxes = window.findChildren<QMessageBox *>();
        QCOMPARE(boxes.size(), said ? 1 : 0);
        if (said) {
            QVERIFY(boxes[0]->text().contains("https://www.example.org/a b"));
            QVERIFY(boxes[0]->textInteractionFlags() & Qt::TextSelectableByMouse);
        }
    }
};

QTEST_MAIN(TestLinkLabel)
#include "test_link_label.moc"
