#include "resources/resource_ids.h"
#include "screen/portal_screen_source.h"
#include "settings/settings_store.h"
#include "window/sampler_window.h"

#include <QAbstractButton>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

// The desktop's screenshot portal as a stand-in on a private bus that starts
// nothing: it answers each request where the caller listens, after delayMs
// (never where negative), with code and file's address, and counts the
// requests.
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
    QString last; // the last request's path

    void answer(const QString &path, uint code, const QString &file)
    {
        QDBusMessage response = QDBusMessage::createSignal(
            path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        bus.send(
            response << code
                     << QVariantMap{{QStringLiteral("uri"), QUrl::fromLocalFile(file).toString()}});
    }

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString &, const QVariantMap &options,
                               const QDBusMessage &call)
    {
        last = QStringLiteral("/org/freedesktop/portal/desktop/request/") +
               call.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')) +
               QLatin1Char('/') + options.value(QStringLiteral("handle_token")).toString();
        ++requests;
        if (delayMs >= 0)
            QTimer::singleShot(delayMs, this, [this, path = last] { answer(path, code, file); });
        return QDBusObjectPath(last);
    }
};

// The desktop's permission store: records what it was asked to delete.
class FakeStore : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.impl.portal.PermissionStore")

public:
    QStringList deleted;

public Q_SLOTS:
    void Delete(const QString &table, const QString &id)
    {
        deleted << table + QLatin1Char('/') + id;
    }
};

class TestPortal : public QObject
{
    Q_OBJECT

    QProcess daemon;
    QString address;
    const QSize fits = QGuiApplication::primaryScreen()->geometry().size() * 2;

    // Serves fake (and the permission store) on a connection of their own.
    void serve(FakePortal &fake, FakeStore &store, const QString &tag)
    {
        fake.bus = QDBusConnection::connectToBus(address, tag + QLatin1Char('s'));
        fake.bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &fake,
                                QDBusConnection::ExportAllSlots);
        fake.bus.registerObject(QStringLiteral("/org/freedesktop/impl/portal/PermissionStore"),
                                &store, QDBusConnection::ExportAllSlots);
        QVERIFY(fake.bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        QVERIFY(fake.bus.registerService(
            QStringLiteral("org.freedesktop.impl.portal.PermissionStore")));
    }
    // A picture of size (empty: a file that is none) in file, which the
    // desktop wrote ageSecs ago (negative: after the request).
    static QImage writePicture(const QString &name, QSize size, int ageSecs)
    {
        QImage picture(size.isEmpty() ? QSize(1, 1) : size, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
        QFile file(name);
        if (size.isEmpty() ? file.open(QIODevice::WriteOnly) && file.write("\x89PNG bad") > 0
                           : picture.save(&file, "PNG"))
            file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSecs),
                             QFileDevice::FileModificationTime);
        return picture;
    }
    static bool noteShown(const SamplerWindow &window)
    {
        for (const QLabel *label : window.findChildren<QLabel *>())
            if (label->isVisible() && label->text().contains(QLatin1String("allow")))
                return true;
        return false;
    }

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
    // pixel here), leaving the pointer; otherwise sampling ends with a notice,
    // the colour stays, and the next press asks again. An answer that takes a
    // while is said in the window meanwhile, and used. Only a picture file at
    // least as new as the request is removed, also after the press gave up.
    void eachAnswerHandled_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("patienceMs");
        QTest::addColumn<QSize>("size"); // empty: not a picture
        QTest::addColumn<bool>("older");
        QTest::addColumn<SourceReadiness>("readiness");
        QTest::addColumn<bool>("removed");
        using R = SourceReadiness;
        QTest::newRow("a picture") << 0 << 0 << 300 << fits << false << R::Ready << true;
        QTest::newRow("a file from before") << 0 << 0 << 300 << fits << true << R::Ready << false;
        QTest::newRow("late, while the desktop asks")
            << 0 << 1500 << 5000 << fits << false << R::Ready << true;
        QTest::newRow("cancelled") << 1 << 0 << 300 << fits << false << R::Cancelled << false;
        QTest::newRow("refused") << 2 << 0 << 300 << fits << false << R::Refused << false;
        QTest::newRow("after the press gave up")
            << 0 << 600 << 300 << fits << false << R::TimedOut << true;
        QTest::newRow("the wrong size")
            << 0 << 0 << 300 << fits + QSize(0, 1) << false << R::ScaleMismatch << true;
        QTest::newRow("not a picture")
            << 0 << 0 << 300 << QSize() << false << R::Unreadable << true;
        QTest::newRow("no portal") << -1 << 0 << 300 << fits << false << R::NoPortal << false;
    }
    void eachAnswerHandled()
    {
        QFETCH(int, code);
        QFETCH(int, delayMs);
        QFETCH(int, patienceMs);
        QFETCH(QSize, size);
        QFETCH(bool, older);
        QFETCH(SourceReadiness, readiness);
        QFETCH(bool, removed);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        FakePortal fake;
        FakeStore store;
        if (code >= 0)
            serve(fake, store, tag);
        QTemporaryDir dir;
        fake.code = uint(code), fake.delayMs = delayMs;
        fake.file = dir.filePath(QStringLiteral("shot.png"));
        // The desktop writes its picture after the request, a slow save here
        // before it.
        const QImage picture = writePicture(fake.file, size, older ? 60 : -5);

        PortalScreenSource source(QDBusConnection::connectToBus(address, tag + QLatin1Char('c')),
                                  patienceMs);
        SettingsStore settings; // unnamed: reads the defaults, stores nothing
        SamplerWindow window(settings, source);
        window.show();
        const QRgb face = window.sampler().currentColor();
        const QPoint area = window.control<QWidget>(IDC_COLORAREA)->geometry().center();
        QTest::mousePress(&window, Qt::LeftButton, {}, area);
        QTest::mouseMove(&window, QPoint(3, 4));
        QTest::mouseMove(&window, QPoint(5, 7));
        QVERIFY(QGuiApplication::overrideCursor()); // waiting shows the sampling cursor
        if (delayMs > 1000)
            QTRY_VERIFY(noteShown(window));
        const QPoint at = window.mapToGlobal(QPoint(5, 7)) * 2, pointer = QCursor::pos();
        const auto colorAt = [&](QPoint p) { return picture.pixel(p) | 0xFF000000u; };
        if (readiness == SourceReadiness::Ready) {
            QTRY_COMPARE(window.sampler().currentColor(), colorAt(at));
            QVERIFY(!noteShown(window));
            QTest::keyClick(&window, Qt::Key_Right);
            QCOMPARE(window.sampler().currentColor(), colorAt(at + QPoint(1, 0)));
            QCOMPARE(QCursor::pos(), pointer);
        } else
            QTRY_COMPARE(QGuiApplication::overrideCursor(), nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(QFile::exists(fake.file), !removed, 3000);
        const bool said = readiness != SourceReadiness::Ready;
        QCOMPARE(window.findChildren<QMessageBox *>().size(), said ? 1 : 0);
        if (said)
            QCOMPARE(window.sampler().currentColor(), face);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(5, 7));
        qDeleteAll(window.findChildren<QMessageBox *>());
        QTest::mousePress(&window, Qt::LeftButton, {}, area);
        QTRY_COMPARE(fake.requests, code < 0 ? 0 : 2);
    }

    // A press while the desktop is still asked waits for that request. An
    // answer for another request, or a second one, changes nothing: the
    // colour stays, no notice comes and its file stays. The refusal of the
    // next request offers to have the desktop ask again, and so it does.
    void oddAnswersChangeNothing()
    {
        FakePortal fake;
        FakeStore store;
        serve(fake, store, QString());
        fake.delayMs = -1;
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("1.png")),
                      other = dir.filePath(QStringLiteral("2.png"));
        const QImage picture = writePicture(first, fits, -5);
        writePicture(other, fits / 2, -5);
        PortalScreenSource source(QDBusConnection::connectToBus(address, QStringLiteral("c")));
        SettingsStore settings;
        SamplerWindow window(settings, source);
        window.show();
        const QPoint area = window.control<QWidget>(IDC_ZOOMAREA)->geometry().center();
        QTest::mousePress(&window, Qt::LeftButton, {}, area);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(5, 7));
        QTest::mousePress(&window, Qt::LeftButton, {}, area);
        QTRY_COMPARE(fake.requests, 1);
        fake.answer(fake.last + QLatin1Char('0'), 0, other);
        fake.answer(fake.last, 0, first);
        fake.answer(fake.last, 0, other);
        const QRgb shown = picture.pixel(window.mapToGlobal(area) * 2) | 0xFF000000u;
        QTRY_COMPARE(window.sampler().currentColor(), shown);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(7, 7));
        QTest::mousePress(&window, Qt::LeftButton, {}, area);
        QTRY_COMPARE(fake.requests, 2);
        fake.answer(fake.last, 2, other);
        // That answer came after the others, on the same connection.
        QTRY_COMPARE(window.findChildren<QMessageBox *>().size(), 1);
        QCOMPARE(window.sampler().currentColor(), shown);
        QVERIFY(QFile::exists(other));
        const QMessageBox *box = window.findChild<QMessageBox *>();
        const QList<QAbstractButton *> buttons = box->buttons();
        QCOMPARE(buttons.size(), 2);
        buttons[buttons[0] == box->button(QMessageBox::Ok) ? 1 : 0]->click();
        QTRY_COMPARE(store.deleted, QStringList{QStringLiteral("screenshot/screenshot")});
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
