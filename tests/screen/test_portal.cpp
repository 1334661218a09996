#include "screen/portal_screen_source.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

// The desktop's screenshot portal as a stand-in on a private bus that starts
// nothing: it answers each request where the caller listens, after delayMs,
// with code and file's address.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    QDBusConnection bus{QString()};
    uint code = 0;
    int delayMs = 0;
    QString file;

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString &, const QVariantMap &options,
                               const QDBusMessage &call)
    {
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/") +
                             call.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')) +
                             QLatin1Char('/') +
                             options.value(QStringLiteral("handle_token")).toString();
        QTimer::singleShot(delayMs, this, [this, path] {
            QDBusMessage response = QDBusMessage::createSignal(
                path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            bus.send(response << code
                              << QVariantMap{{QStringLiteral("uri"),
                                              QUrl::fromLocalFile(file).toString()}});
        });
        return QDBusObjectPath(path);
    }
};

class TestPortal : public QObject
{
    Q_OBJECT

    QProcess daemon;
    QString address;

private Q_SLOTS:
    void initTestCase()
    {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                      QStringLiteral("--config-file=" TESTS_DIR "/private_bus.conf")});
        QVERIFY(daemon.waitForReadyRead(5000));
        address = QString::fromLatin1(daemon.readLine().trimmed());
    }
    void cleanupTestCase() { daemon.terminate(), daemon.waitForFinished(); }

    // Each answer the portal can give (code -1: there is no portal): how the
    // drag goes on, and whether the picture's file is gone, which only a
    // file at least as new as the request may be.
    void eachAnswerHandled_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<QSize>("size"); // empty: not a picture
        QTest::addColumn<bool>("older");
        QTest::addColumn<SourceReadiness>("readiness");
        QTest::addColumn<bool>("removed");
        const QSize fits = QGuiApplication::primaryScreen()->geometry().size();
        using R = SourceReadiness;
        QTest::newRow("a picture") << 0 << 0 << fits << false << R::Ready << true;
        QTest::newRow("a file from before") << 0 << 0 << fits << true << R::Ready << false;
        QTest::newRow("cancelled") << 1 << 0 << fits << false << R::Cancelled << false;
        QTest::newRow("refused") << 2 << 0 << fits << false << R::Refused << false;
        QTest::newRow("too late") << 0 << 600 << fits << false << R::TimedOut << true;
        QTest::newRow("the wrong size")
            << 0 << 0 << fits + QSize(0, 1) << false << R::ScaleMismatch << true;
        QTest::newRow("not a picture") << 0 << 0 << QSize() << false << R::Unreadable << true;
        QTest::newRow("no portal") << -1 << 0 << fits << false << R::NoPortal << false;
    }
    void eachAnswerHandled()
    {
        QFETCH(int, code);
        QFETCH(int, delayMs);
        QFETCH(QSize, size);
        QFETCH(bool, older);
        QFETCH(SourceReadiness, readiness);
        QFETCH(bool, removed);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        FakePortal fake;
        fake.bus = QDBusConnection::connectToBus(address, tag + QLatin1Char('s'));
        if (code >= 0) {
            fake.bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &fake,
                                    QDBusConnection::ExportAllSlots);
            QVERIFY(fake.bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        }
        QTemporaryDir dir;
        fake.code = uint(code), fake.delayMs = delayMs;
        fake.file = dir.filePath(QStringLiteral("shot.png"));
        QImage picture(size.isEmpty() ? QSize(1, 1) : size, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
        QFile file(fake.file);
        QVERIFY(size.isEmpty() ? file.open(QIODevice::WriteOnly) && file.write("\x89PNG bad") > 0
                               : picture.save(&file, "PNG"));
        if (older)
            file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                             QFileDevice::FileModificationTime);
        file.close();

        PortalScreenSource source(QDBusConnection::connectToBus(address, tag + QLatin1Char('c')),
                                  300);
        QList<SourceReadiness> answers;
        source.prepare(this, [&](SourceReadiness r) { answers << r; });
        QTRY_COMPARE(answers, QList<SourceReadiness>{readiness});
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(fake.file), !removed, 1000);
        QCOMPARE(answers.size(), 1);
        QImage target(201, 201, QImage::Format_RGB32);
        if (readiness == SourceReadiness::Ready)
            QVERIFY(source.copyRect(QPoint(130, 250), target) &&
                    target == picture.copy(130, 250, 201, 201));
    }
    void cleanup()
    {
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        QDBusConnection::disconnectFromBus(tag + QLatin1Char('s'));
        QDBusConnection::disconnectFromBus(tag + QLatin1Char('c'));
    }
};

QTEST_MAIN(TestPortal)
#include "test_portal.moc"
