// The settings store over the real QSettings backend, kept in a temporary
// folder in place of the user's configuration folder. Other running instances
// are this test program started again with "--instance ROOT": a store of its
// own in a process of its own, driven line by line through its standard input.
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
#include <limits>
#include <memory>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(std::optional<int>)

namespace
{

constexpr char INSTANCE_FLAG[] = "--instance";
constexpr uid_t NOBODY = 65534;

// A store as the program makes one at start-up.
struct OpenStore {
    QtIntegerProfile profile;
    SettingsStore store{profile};
    OpenStore() { store.SetKeyName(QLatin1String(SETTINGS_KEY_NAME)); }
    int read(const QString &entry, int defaultValue = 0) const
    {
        return store.GetInt(QLatin1String(SETTINGS_SECTION_WINDOW), entry, defaultValue);
    }
    void write(const QString &entry, int value)
    {
        store.WriteInt(QLatin1String(SETTINGS_SECTION_WINDOW), entry, value);
    }
    int zoom() const { return read(QLatin1String(SETTINGS_ENTRY_ZOOM)); }
    int alwaysOnTop() const { return read(QLatin1String(SETTINGS_ENTRY_ALWAYS_ON_TOP)); }
    void writeZoom(int value) { write(QLatin1String(SETTINGS_ENTRY_ZOOM), value); }
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
            out << settings.read(words.value(1), -1);
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

    explicit OtherInstance(const QString &root, User user = User::Same)
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

// What a path is, for checking that a store left it alone.
QString Kind(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("nothing");
    if (info.isDir())
        return QStringLiteral("folder");
    return info.isFile() ? QStringLiteral("file of %1 bytes").arg(info.size())
                         : QStringLiteral("special file");
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;

    QString root() const { return m_root->path(); }
    QString settingsFolder() const { return root() + QStringLiteral("/Tintgrabber"); }
    QString settingsFile() const { return settingsFolder() + QStringLiteral("/tintgrabber.conf"); }

    void writeFile(const QByteArray &content) const
    {
        QVERIFY(QDir().mkpath(settingsFolder()));
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(content), content.size());
    }

    QByteArray readFile() const
    {
        QFile file(settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root());
    }

    void cleanup()
    {
        // Undo what a test may have made unremovable.
        QFile::setPermissions(settingsFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_root.reset();
    }

    void firstRunGivesDefaultsAndWritesReachTheFile()
    {
        {
            OpenStore first;
            QCOMPARE(first.zoom(), 0);
            QCOMPARE(first.read(QStringLiteral("zom"), 13), 13);
            QVERIFY2(!QFile::exists(settingsFile()), "reading must not create the file");
            QCOMPARE(first.profile.location(), settingsFile());
            first.writeZoom(7);
            first.write(QStringLiteral("aot"), 1);
        }
        QCOMPARE(readFile(), QByteArray("[win]\naot=1\nzom=7\n"));
        OpenStore second;
        QCOMPARE(second.zoom(), 7);
        QCOMPARE(second.alwaysOnTop(), 1);
    }

    // Other instances notice a write by the file's size and modification
    // time, so a write of equal size must leave a later time even when the
    // clock has not moved past the previous version's time (here: a time an
    // hour ahead).
    void everyWriteMovesTheModificationTimeOn()
    {
        writeFile("[win]\nzom=1\n");
        const QDateTime ahead = QDateTime::currentDateTime().addSecs(3600);
        {
            QFile file(settingsFile());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.setFileTime(ahead, QFileDevice::FileModificationTime));
        }
        OpenStore reader, writer;
        QCOMPARE(reader.zoom(), 1);
        writer.writeZoom(2);
        QVERIFY(QFileInfo(settingsFile()).lastModified() > ahead);
        QCOMPARE(reader.zoom(), 2);
    }

    // Text from a file, or a typed value from the registry.
    void onlyThirtyTwoBitIntegersAreRead_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<std::optional<int>>("expected");
        const std::optional<int> none;
        const auto text = [](const char *value) { return QVariant(QString::fromLatin1(value)); };
        QTest::newRow("decimal text") << text("-12") << std::optional(-12);
        QTest::newRow("spaces around") << text(" 42 ") << std::optional(42);
        QTest::newRow("largest") << text("2147483647") << std::optional(2147483647);
        QTest::newRow("smallest") << text("-2147483648")
                                  << std::optional(std::numeric_limits<int>::min());
        QTest::newRow("one past largest") << text("2147483648") << none;
        QTest::newRow("one past smallest") << text("-2147483649") << none;
        QTest::newRow("number and word") << text("10x") << none;
        QTest::newRow("hex") << text("0x10") << none;
        QTest::newRow("fraction") << text("1.5") << none;
        QTest::newRow("empty") << text("") << none;
        QTest::newRow("list") << QVariant(QStringList{"1", "2"}) << none;
        QTest::newRow("absent") << QVariant() << none;
        QTest::newRow("int") << QVariant(int(-5)) << std::optional(-5);
        QTest::newRow("registry dword") << QVariant(uint(9)) << std::optional(9);
        QTest::newRow("unsigned above range") << QVariant(uint(0x80000000u)) << none;
        QTest::newRow("64-bit out of range") << QVariant(qlonglong(1) << 40) << none;
        QTest::newRow("double") << QVariant(2.0) << none;
        QTest::newRow("bool") << QVariant(true) << none;
    }
    void onlyThirtyTwoBitIntegersAreRead()
    {
        QFETCH(QVariant, stored);
        QFETCH(std::optional<int>, expected);
        QCOMPARE(ProfileIntFromVariant(stored), expected);
    }

    // The same through QSettings' parsing of the file; the other entry is
    // read whatever this one holds.
    void fileEntriesThatAreNoIntegersGiveTheDefault_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        QTest::newRow("integer") << QByteArray("zom=12") << 12;
        QTest::newRow("text") << QByteArray("zom=big") << 0;
        QTest::newRow("out of range") << QByteArray("zom=4294967296") << 0;
        QTest::newRow("list") << QByteArray("zom=1, 2") << 0;
        QTest::newRow("quoted number") << QByteArray("zom=\"9\"") << 9;
    }
    void fileEntriesThatAreNoIntegersGiveTheDefault()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        writeFile("[win]\naot=1\n" + line + "\n");
        OpenStore settings;
        QCOMPARE(settings.zoom(), expected);
        QCOMPARE(settings.alwaysOnTop(), 1);
    }

    void garbledFileBehavesAsEmptyAndIsKept_data()
    {
        QTest::addColumn<QByteArray>("content");
        static constexpr char binary[] = "\x01\x02\xff\xfe\0zz[[[\n===\n";
        QTest::newRow("binary") << QByteArray(binary, sizeof binary - 1);
        QTest::newRow("line without value") << QByteArray("[win]\nzom=5\naot=1\nstray words\n");
        QTest::newRow("unclosed section") << QByteArray("[win\nzom=5\naot=1\n");
        QTest::newRow("foreign comment") << QByteArray("# mine\n[win]\nzom=5\naot=1\n");
    }
    void garbledFileBehavesAsEmptyAndIsKept()
    {
        QFETCH(QByteArray, content);
        writeFile(content);
        // A store that already read the file once, so that any cached parse
        // is in play as well.
        OpenStore earlier;
        QCOMPARE(earlier.zoom(), 0);

        OpenStore settings;
        QCOMPARE(settings.zoom(), 0);
        QCOMPARE(settings.alwaysOnTop(), 0);
        settings.writeZoom(3);
        QCOMPARE(settings.zoom(), 0);
        QCOMPARE(readFile(), content);
    }

    void oversizedFileIsNotReadAndIsKept_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("readable");
        const QByteArray entries("[win]\naot=1\nzom=5\n[pad]\nlong=");
        const qint64 limit = QtIntegerProfile::MAX_FILE_SIZE;
        QTest::newRow("at the limit")
            << entries + QByteArray(limit - entries.size() - 1, 'a') + '\n'
            << true;
        QTest::newRow("one byte over") << entries + QByteArray(limit - entries.size(), 'a') + '\n'
                                       << false;
        QTest::newRow("10 MB") << entries + QByteArray(10 * 1024 * 1024, 'a') + '\n' << false;
    }
    // A file far larger than ours ever is: read no more than the limit, use
    // the defaults, and never rewrite it.
    void oversizedFileIsNotReadAndIsKept()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, readable);
        writeFile(content);
        const QDateTime modified = QFileInfo(settingsFile()).lastModified();
        OpenStore settings;
        QCOMPARE(settings.zoom(), readable ? 5 : 0);
        QCOMPARE(settings.alwaysOnTop(), readable ? 1 : 0);
        if (readable)
            return;
        settings.writeZoom(3);
        QCOMPARE(settings.zoom(), 0);
        QCOMPARE(QFileInfo(settingsFile()).lastModified(), modified);
        QVERIFY(readFile() == content);
    }

    // A folder or a pipe where the file should be, or a file where the folder
    // should be: reads give the defaults, writes fail silently, and what is
    // there stays. Opening a pipe for reading waits for a writer, forever;
    // pipes also take the place of the file QSettings falls back on.
    void noFileInItsPlaceBehavesAsEmpty_data()
    {
        QTest::addColumn<QString>("inPlace");
        QTest::newRow("folder") << "folder";
        QTest::newRow("pipe") << "pipe";
        QTest::newRow("a file in place of the folder") << "blocker";
    }
    void noFileInItsPlaceBehavesAsEmpty()
    {
        QFETCH(QString, inPlace);
        if (inPlace == "folder") {
            QVERIFY(QDir().mkpath(settingsFile()));
        } else if (inPlace == "pipe") {
            QVERIFY(QDir().mkpath(settingsFolder()));
            for (const QString &path : {settingsFile(), settingsFolder() + QStringLiteral(".conf")})
                QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else {
            QFile blocker(settingsFolder());
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        const QString before = Kind(settingsFolder()) + ", " + Kind(settingsFile());
        OpenStore settings;
        QCOMPARE(settings.zoom(), 0);
        settings.writeZoom(4);
        QCOMPARE(settings.zoom(), 0);
        QCOMPARE(Kind(settingsFolder()) + ", " + Kind(settingsFile()), before);
    }

    void writeKeepsEveryOtherEntry()
    {
        const QByteArray others("[General]\ntop=1\n\n[other]\nname=hello world\nnumber=-8\n\n"
                                "[win]\naot=1\nwidth=300\n");
        writeFile(others + "zom=2\n");
        OpenStore settings;
        settings.writeZoom(9);
        QCOMPARE(settings.alwaysOnTop(), 1);
        QCOMPARE(readFile(), others + "zom=9\n");
    }

    void instancesWritingInTurnSeeEachOther()
    {
        writeFile("[other]\nname=kept\n");
        OpenStore mine;
        OtherInstance other(root());
        for (int round = 0; round < 10; ++round) {
            mine.write(QStringLiteral("zom"), round);
            QCOMPARE(other.ask(QStringLiteral("read zom")), QString::number(round));
            QCOMPARE(other.ask(QStringLiteral("write aot %1").arg(round % 2)),
                     QStringLiteral("done"));
            QCOMPARE(mine.alwaysOnTop(), round % 2);
            QCOMPARE(mine.zoom(), round);
        }
        QVERIFY(other.finishedCleanly());
        QVERIFY(readFile().startsWith("[other]\nname=kept\n"));
    }

    // Writers that overlap may drop a write while the other holds the lock,
    // but never leave a file that is half one instance's and half the other's.
    void concurrentWritersLeaveACompleteFile()
    {
        writeFile("[other]\nname=kept\n");
        OtherInstance other(root());
        QCOMPARE(other.ask(QStringLiteral("read zom")), QStringLiteral("-1"));
        other.send(QStringLiteral("write-series aot 20"));
        OpenStore mine;
        for (int value = 0; value < 20; ++value)
            mine.writeZoom(value);
        QCOMPARE(other.answer(), QStringLiteral("done"));
        QVERIFY(other.finishedCleanly());

        QSettings file(settingsFile(), QSettings::NativeFormat);
        QCOMPARE(file.allKeys().size(), 3);
        QCOMPARE(file.status(), QSettings::NoError);
        QCOMPARE(file.value(QStringLiteral("other/name")).toString(), QStringLiteral("kept"));
        QVERIFY2(mine.zoom() >= 0 && mine.zoom() < 20, qPrintable(QString::number(mine.zoom())));
        QVERIFY2(mine.alwaysOnTop() >= 0 && mine.alwaysOnTop() < 20,
                 qPrintable(QString::number(mine.alwaysOnTop())));
    }

    // An instance that stops while it holds the lock (a debugger, a frozen
    // network home) must not freeze the others: QSettings on its own would
    // wait for as long as the lock is held.
    void heldLockDropsTheWriteInsteadOfWaiting()
    {
        writeFile("[win]\nzom=1\n");
        OtherInstance holder(root());
        QCOMPARE(holder.ask(QStringLiteral("lock")), QStringLiteral("locked"));

        OpenStore mine;
        auto write = std::async(std::launch::async, [&mine] { mine.writeZoom(2); });
        const bool returned = write.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        if (!returned) {
            holder.ask(QStringLiteral("unlock"));
            write.wait();
        }
        QVERIFY2(returned, "the write waited for a lock another instance holds");
        QCOMPARE(readFile(), QByteArray("[win]\nzom=1\n"));
        QCOMPARE(mine.zoom(), 1);

        QCOMPARE(holder.ask(QStringLiteral("unlock")), QStringLiteral("unlocked"));
        mine.writeZoom(3);
        QCOMPARE(holder.ask(QStringLiteral("read zom")), QStringLiteral("3"));
    }

    void lockOfACrashedInstanceIsTakenOver()
    {
        writeFile("[win]\nzom=1\n");
        {
            OtherInstance crashing(root());
            QCOMPARE(crashing.ask(QStringLiteral("lock")), QStringLiteral("locked"));
            crashing.crash();
        }
        QVERIFY(QFile::exists(settingsFile() + QStringLiteral(".lock")));

        OpenStore mine;
        mine.writeZoom(4);
        QCOMPARE(readFile(), QByteArray("[win]\nzom=4\n"));
        QVERIFY(!QFile::exists(settingsFile() + QStringLiteral(".lock")));
    }

    void readOnlySettingsAreReadAndKept_data()
    {
        QTest::addColumn<bool>("folderReadOnly");
        QTest::addColumn<bool>("fileReadOnly");
        QTest::newRow("read-only folder") << true << false;
        QTest::newRow("read-only file") << false << true;
        QTest::newRow("both") << true << true;
    }
    // Runs the other instance as an ordinary user, so that the permissions
    // bind also where the suite runs as root.
    void readOnlySettingsAreReadAndKept()
    {
        QFETCH(bool, folderReadOnly);
        QFETCH(bool, fileReadOnly);
        const QByteArray content("[other]\nname=kept\n\n[win]\naot=1\nzom=5\n");
        writeFile(content);
        const auto readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        const auto enterable = readable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        const auto writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        QVERIFY(QFile::setPermissions(root(), enterable | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(settingsFolder(),
                                      folderReadOnly ? enterable : enterable | writable));
        QVERIFY(
            QFile::setPermissions(settingsFile(), fileReadOnly ? readable : readable | writable));
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
        QCOMPARE(QDir(settingsFolder())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("tintgrabber.conf")});
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], INSTANCE_FLAG) == 0)
        return RunInstance(QString::fromLocal8Bit(argv[2]));
    TestSettingsStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_settings_store.moc"
