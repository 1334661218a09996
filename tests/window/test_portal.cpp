#include "resources/resource_ids.h"
#include "screen/portal_screen_source.h"
#include "settings/settings_store.h"
#include "window/sampler_window.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

// The desktop's screenshot portal as a stand-in on a private bus that starts
// nothing: it answers each request where the caller listens, after delayMs,
// with code and file's address, and counts the requests.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    QDBusConnection bus{QString()};
    uint code = 0;
    int delayMs = 0;
    QString file;
    int requests = 0;

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString &, const QVariantMap &options,
                               const QDBusMessage &call)
    {
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/") +
                             call.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')) +
                             QLatin1Char('/') +
                             options.value(QStringLiteral("handle_token")).toString();
        ++requests;
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

    // Each answer the portal can give (code -1: there is no portal), to a press
    // and moves in the window: ready, the pointer's place is sampled from the
    // picture at once, and a nudge moves by one of its pixels (half a desktop
    // pixel here), leaving the pointer; otherwise sampling ends, with a notice
    // unless the user cancelled, and the next press asks again. Only a picture
    // file at least as new as the request is removed.
    void eachAnswerHandled_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<QSize>("size"); // empty: not a picture
        QTest::addColumn<bool>("older");
        QTest::addColumn<SourceReadiness>("readiness");
        QTest::addColumn<bool>("removed");
        const QSize fits = QGuiApplication::primaryScreen()->geometry().size() * 2;
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
        // The desktop writes its picture after the request, a slow save here
        // before it.
        file.setFileTime(QDateTime::currentDateTime().addSecs(older ? -60 : 5),
                         QFileDevice::FileModificationTime);
        file.close();

        PortalScreenSource source(QDBusConnection::connectToBus(address, tag + QLatin1Char('c')),
                                  300);
        SettingsStore settings; // unnamed: reads the defaults, stores nothing
        SamplerWindow window(settings, source);
        window.show();
        const QPoint area = window.control<QWidget>(IDC_COLORAREA)->geometry().center();
        QTest::mousePress(&window, Qt::LeftButton, {}, area);
        QTest::mouseMove(&window, QPoint(3, 4));
        QTest::mouseMove(&window, QPoint(5, 7));
        QVERIFY(QGuiApplication::overrideCursor()); // waiting shows the sampling cursor
        const QPoint at = window.mapToGlobal(QPoint(5, 7)) * 2, pointer = QCursor::pos();
        const auto colorAt = [&](QPoint p) { return picture.pixel(p) | 0xFF000000u; };
        if (readiness == SourceReadiness::Ready) {
            QTRY_COMPARE(window.sampler().currentColor(), colorAt(at));
            QTest::keyClick(&window, Qt::Key_Right);
            QCOMPARE(window.sampler().currentColor(), colorAt(at + QPoint(1, 0)));
            QCOMPARE(QCursor::pos(), pointer);
        } else
            QTRY_COMPARE(QGuiApplication::overrideCursor(), nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(fake.file), !removed, 3000);
        const bool said =
            readiness != SourceReadiness::Ready && readiness != SourceReadiness::Cancelled;
        QCOMPARE(window.findChildren<QMessageBox *>().size(), said ? 1 : 0);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(5, 7));
        qDeleteAll(window.findChildren<QMessageBox *>());
        QTest::mousePress(&window, Qt::LeftButton, {}, area);
        QTRY_COMPARE(fake.requests, code < 0 ? 0 : 2);
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
