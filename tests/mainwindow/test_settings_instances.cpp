#include "mainwindow/settings_store.h"
#include "platform/qt_integer_profile.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <chrono>
#include <future>
#include <memory>
#include <optional>

#include <unistd.h>

// Several running instances of the program share one settings file. Each
// other instance here is this test program started again with "--instance
// ROOT": a settings store of its own in a process of its own, driven line by
// line through its standard input.

namespace
{

constexpr char INSTANCE_FLAG[] = "--instance";
constexpr uid_t NOBODY = 65534;

// A store as the program makes one at start-up, its settings under root.
struct OpenStore {
    QtIntegerProfile profile;
    SettingsStore store{profile};
    OpenStore() { store.SetKeyName(QLatin1String(SETTINGS_KEY_NAME)); }
    int read(const QString &entry) const
    {
        return store.GetInt(QLatin1String(SETTINGS_SECTION_WINDOW), entry, -1);
    }
    void write(const QString &entry, int value)
    {
        store.WriteInt(QLatin1String(SETTINGS_SECTION_WINDOW), entry, value);
    }
};

// The other instance's side. Commands, each answered with one line:
//   read ENTRY              the entry's value, -1 by default
//   write ENTRY VALUE       "done"
//   write-series ENTRY N    writes 0 to N-1 in turn; "done"
//   lock / unlock           takes or drops the settings file's lock, as an
//                           instance does while it writes; "locked", "busy",
//                           "unlocked"
int RunInstance(const QString &root)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root);
    OpenStore settings;
    std::optional<QLockFile> lock;
    QTextStream in(stdin);
    QTextStream out(stdout);
    QString line;
    while (in.readLineInto(&line)) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString command = words.value(0);
        if (command == QLatin1String("read")) {
            out << settings.read(words.value(1));
        } else if (command == QLatin1String("write")) {
            settings.write(words.value(1), words.value(2).toInt());
            out << "done";
        } else if (command == QLatin1String("write-series")) {
            for (int value = 0; value < words.value(2).toInt(); ++value)
                settings.write(words.value(1), value);
            out << "done";
        } else if (command == QLatin1String("lock")) {
            lock.emplace(settings.profile.location() + QStringLiteral(".lock"));
            out << (lock->tryLock(0) ? "locked" : "busy");
        } else if (command == QLatin1String("unlock")) {
            lock.reset();
            out << "unlocked";
        } else {
            out << "unknown";
        }
        out << Qt::endl;
    }
    return 0;
}

// The test's side: another instance over the same settings root.
class OtherInstance
{
public:
    enum class User { Same, Unprivileged };

    OtherInstance(const QString &root, User user = User::Same)
    {
        if (user == User::Unprivileged && geteuid() == 0) {
            // Root writes through every permission bit; a read-only file or
            // folder binds only an ordinary user.
            m_process.setChildProcessModifier([] {
                if (setgid(NOBODY) != 0 || setuid(NOBODY) != 0)
                    _exit(127);
            });
        }
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationFilePath(),
                        {QLatin1String(INSTANCE_FLAG), root});
    }

    ~OtherInstance()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }

    QString ask(const QString &command)
    {
        send(command);
        return answer();
    }

    void send(const QString &command) { m_process.write(command.toUtf8() + '\n'); }

    // The instance's next answer, or "" when it gives none within 10 s.
    QString answer()
    {
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(10000))
                return QString();
        }
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

    // Ends the process at once, as a crash would, leaving whatever it held.
    void crash()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    bool finishedCleanly()
    {
        m_process.closeWriteChannel();
        return m_process.waitForFinished(10000) && m_process.exitStatus() == QProcess::NormalExit &&
               m_process.exitCode() == 0;
    }

private:
    QProcess m_process;
};

} // namespace

class TestSettingsInstances : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void instancesWritingInTurnSeeEachOther();
    void concurrentWritersLeaveACompleteFile();
    void heldLockDropsTheWriteInsteadOfWaiting();
    void lockOfACrashedInstanceIsTakenOver();
    void readOnlySettingsAreReadAndKept_data();
    void readOnlySettingsAreReadAndKept();

private:
    QString root() const { return m_root->path(); }
    QString settingsFolder() const { return root() + QStringLiteral("/Tintgrabber"); }
    QString settingsFile() const { return settingsFolder() + QStringLiteral("/tintgrabber.conf"); }
    void writeFile(const QByteArray &content) const;
    QByteArray readFile() const;

    std::unique_ptr<QTemporaryDir> m_root;
};

void TestSettingsInstances::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root());
}

void TestSettingsInstances::cleanup()
{
    QFile::setPermissions(settingsFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_root.reset();
}

void TestSettingsInstances::writeFile(const QByteArray &content) const
{
    QVERIFY(QDir().mkpath(settingsFolder()));
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QByteArray TestSettingsInstances::readFile() const
{
    QFile file(settingsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestSettingsInstances::instancesWritingInTurnSeeEachOther()
{
    writeFile("[other]\nname=kept\n");
    OpenStore mine;
    OtherInstance other(root());
    for (int round = 0; round < 10; ++round) {
        mine.write(QStringLiteral("zom"), round);
        QCOMPARE(other.ask(QStringLiteral("read zom")), QString::number(round));
        QCOMPARE(other.ask(QStringLiteral("write aot %1").arg(round % 2)), QStringLiteral("done"));
        QCOMPARE(mine.read(QStringLiteral("aot")), round % 2);
        QCOMPARE(mine.read(QStringLiteral("zom")), round);
    }
    QVERIFY(other.finishedCleanly());
    QSettings file(settingsFile(), QSettings::NativeFormat);
    QCOMPARE(file.value(QStringLiteral("other/name")).toString(), QStringLiteral("kept"));
}

// Writers that overlap may drop a write while the other holds the lock, but
// never leave a file that is half one instance's and half the other's.
void TestSettingsInstances::concurrentWritersLeaveACompleteFile()
{
    writeFile("[other]\nname=kept\n");
    OtherInstance other(root());
    QCOMPARE(other.ask(QStringLiteral("read zom")), QStringLiteral("-1"));
    other.send(QStringLiteral("write-series aot 20"));
    OpenStore mine;
    for (int value = 0; value < 20; ++value)
        mine.write(QStringLiteral("zom"), value);
    QCOMPARE(other.answer(), QStringLiteral("done"));
    QVERIFY(other.finishedCleanly());

    QSettings file(settingsFile(), QSettings::NativeFormat);
    QCOMPARE(file.allKeys().size(), 3);
    QCOMPARE(file.status(), QSettings::NoError);
    QCOMPARE(file.value(QStringLiteral("other/name")).toString(), QStringLiteral("kept"));
    const int zoom = mine.read(QStringLiteral("zom"));
    const int alwaysOnTop = mine.read(QStringLiteral("aot"));
    QVERIFY2(zoom >= 0 && zoom < 20, qPrintable(QString::number(zoom)));
    QVERIFY2(alwaysOnTop >= 0 && alwaysOnTop < 20, qPrintable(QString::number(alwaysOnTop)));
}

// An instance that stops while it holds the lock (a debugger, a frozen
// network home) must not freeze the others: QSettings on its own would wait
// for as long as the lock is held.
void TestSettingsInstances::heldLockDropsTheWriteInsteadOfWaiting()
{
    writeFile("[win]\nzom=1\n");
    OtherInstance holder(root());
    QCOMPARE(holder.ask(QStringLiteral("lock")), QStringLiteral("locked"));

    OpenStore mine;
    auto write = std::async(std::launch::async, [&mine] { mine.write(QStringLiteral("zom"), 2); });
    const bool returned = write.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!returned) {
        holder.ask(QStringLiteral("unlock"));
        write.wait();
    }
    QVERIFY2(returned, "the write waited for a lock another instance holds");
    QCOMPARE(readFile(), QByteArray("[win]\nzom=1\n"));
    QCOMPARE(mine.read(QStringLiteral("zom")), 1);

    QCOMPARE(holder.ask(QStringLiteral("unlock")), QStringLiteral("unlocked"));
    mine.write(QStringLiteral("zom"), 3);
    QCOMPARE(holder.ask(QStringLiteral("read zom")), QStringLiteral("3"));
}

void TestSettingsInstances::lockOfACrashedInstanceIsTakenOver()
{
    writeFile("[win]\nzom=1\n");
    {
        OtherInstance crashing(root());
        QCOMPARE(crashing.ask(QStringLiteral("lock")), QStringLiteral("locked"));
        crashing.crash();
    }
    QVERIFY(QFile::exists(settingsFile() + QStringLiteral(".lock")));

    OpenStore mine;
    mine.write(QStringLiteral("zom"), 4);
    QCOMPARE(readFile(), QByteArray("[win]\nzom=4\n"));
    QVERIFY(!QFile::exists(settingsFile() + QStringLiteral(".lock")));
}

void TestSettingsInstances::readOnlySettingsAreReadAndKept_data()
{
    QTest::addColumn<bool>("folderReadOnly");
    QTest::addColumn<bool>("fileReadOnly");

    QTest::newRow("read-only folder") << true << false;
    QTest::newRow("read-only file") << false << true;
    QTest::newRow("both") << true << true;
}

// Runs the other instance as an ordinary user, so that the permissions bind
// also where the suite runs as root.
void TestSettingsInstances::readOnlySettingsAreReadAndKept()
{
    QFETCH(bool, folderReadOnly);
    QFETCH(bool, fileReadOnly);

    const QByteArray content("[other]\nname=kept\n\n[win]\naot=1\nzom=5\n");
    writeFile(content);
    const auto readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther | QFile::ExeOwner |
                          QFile::ExeGroup | QFile::ExeOther;
    const auto writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    QVERIFY(QFile::setPermissions(root(), readable | QFile::WriteOwner));
    QVERIFY(
        QFile::setPermissions(settingsFolder(), folderReadOnly ? readable : readable | writable));
    QVERIFY(QFile::setPermissions(
        settingsFile(), fileReadOnly
                            ? QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther
                            : QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther | writable));
    const QDateTime modified = QFileInfo(settingsFile()).lastModified();

    OtherInstance reader(root(), OtherInstance::User::Unprivileged);
    const QString zoom = reader.ask(QStringLiteral("read zom"));
    if (zoom.isEmpty())
        QSKIP("cannot run an instance as an ordinary user here");
    QCOMPARE(zoom, QStringLiteral("5"));
    QCOMPARE(reader.ask(QStringLiteral("write zom 7")), QStringLiteral("done"));
    QCOMPARE(reader.ask(QStringLiteral("read zom")), QStringLiteral("5"));
    QCOMPARE(reader.ask(QStringLiteral("read aot")), QStringLiteral("1"));
    QVERIFY(reader.finishedCleanly());

    QCOMPARE(readFile(), content);
    QCOMPARE(QFileInfo(settingsFile()).lastModified(), modified);
    QCOMPARE(
        QDir(settingsFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList{QStringLiteral("tintgrabber.conf")});
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], INSTANCE_FLAG) == 0)
        return RunInstance(QString::fromLocal8Bit(argv[2]));
    TestSettingsInstances test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_settings_instances.moc"
