#include "screen/portal_screen_source.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

// What the desktop's screenshot portal does, on a private bus that starts
// nothing: it answers each request where the caller listens, after delayMs,
// with code and a picture's address.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    explicit FakePortal(const QDBusConnection &bus) : bus(bus) {}
    QDBusConnection bus;
    uint code = 0;
    int delayMs = 0;
    QString file;

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString &, const QVariantMap &options,
                               const QDBusMessage &call)
    {
        const QString path =
            QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                .arg(call.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')),
                     options.value(QStringLiteral("handle_token")).toString());
        QTimer::singleShot(delayMs, this, [this, path] {
            QDBusMessage response = QDBusMessage::createSignal(
                path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            response << code
                     << QVariantMap{{QStringLiteral("uri"), QUrl::fromLocalFile(file).toString()}};
            bus.send(response);
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
    void cleanupTestCase()
    {
        daemon.terminate();
        daemon.waitForFinished();
    }

    // Each answer the portal can give: how the drag goes on, and whether the
    // picture's file is gone. Files older than the request are the user's.
    void eachAnswerHandled_data()
    {
        QTest::addColumn<bool>("portal");
        QTest::addColumn<uint>("code");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<QSize>("size"); // empty: not a picture
        QTest::addColumn<bool>("older");
        QTest::addColumn<SourceReadiness>("readiness");
        QTest::addColumn<bool>("removed");
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QTest::newRow("a picture")
            << true << 0u << 0 << screen << false << SourceReadiness::Ready << true;
        QTest::newRow("a picture from before")
            << true << 0u << 0 << screen << true << SourceReadiness::Ready << false;
        QTest::newRow("cancelled")
            << true << 1u << 0 << screen << false << SourceReadiness::Cancelled << false;
        QTest::newRow("refused") << true << 2u << 0 << screen << false << SourceReadiness::Refused
                                 << false;
        QTest::newRow("too late") << true << 0u << 600 << screen << false
                                  << SourceReadiness::TimedOut << true;
        QTest::newRow("the wrong size") << true << 0u << 0 << screen + QSize(0, 1) << false
                                        << SourceReadiness::ScaleMismatch << true;
        QTest::newRow("not a picture")
            << true << 0u << 0 << QSize() << false << SourceReadiness::Unreadable << true;
        QTest::newRow("no portal")
            << false << 0u << 0 << screen << false << SourceReadiness::NoPortal << false;
    }
    void eachAnswerHandled()
    {
        QFETCH(bool, portal);
        QFETCH(uint, code);
        QFETCH(int, delayMs);
        QFETCH(QSize, size);
        QFETCH(bool, older);
        QFETCH(SourceReadiness, readiness);
        QFETCH(bool, removed);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        QDBusConnection service = QDBusConnection::connectToBus(address, tag + QLatin1String("s"));
        QDBusConnection client = QDBusConnection::connectToBus(address, tag + QLatin1String("c"));
        FakePortal fake(service);
        if (portal) {
            service.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &fake,
                                   QDBusConnection::ExportAllSlots);
            QVERIFY(service.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        }
        QTemporaryDir dir;
        fake.code = code;
        fake.delayMs = delayMs;
        fake.file = dir.filePath(QStringLiteral("shot.png"));
        QImage picture(size.isEmpty() ? QSize(1, 1) : size, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
        if (size.isEmpty()) {
            QFile garbage(fake.file);
            QVERIFY(garbage.open(QIODevice::WriteOnly) && garbage.write("\x89PNG garbage") > 0);
        } else {
            QVERIFY(picture.save(fake.file));
        }
        if (older) {
            QFile file(fake.file);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                             QFileDevice::FileModificationTime);
        }

        PortalScreenSource source(client, 300);
        QList<SourceReadiness> answers;
        source.prepare(this, [&](SourceReadiness r) { answers << r; });
        QTRY_COMPARE(answers, QList<SourceReadiness>{readiness});
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(fake.file), !removed, 1000);
        QCOMPARE(answers.size(), 1);
        if (readiness == SourceReadiness::Ready) {
            QImage target(201, 201, QImage::Format_RGB32);
            QVERIFY(source.copyRect(QPoint(130, 250), target));
            QCOMPARE(target.copy(0, 0, 201, 201), picture.copy(130, 250, 201, 201));
        }
    }
    void cleanup()
    {
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        QDBusConnection::disconnectFromBus(tag + QLatin1String("s"));
        QDBusConnection::disconnectFromBus(tag + QLatin1String("c"));
    }
};

QTEST_MAIN(TestPortal)
#include "test_portal.moc"
