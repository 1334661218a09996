// The settings store on a configuration folder of its own. Other running
// instances are this program started again with "--instance CONFIG_HOME": a
// store in a process of its own that answers each line on its standard input
// with one line:
//   read ENTRY          the entry of section "win", -1 by default
//   write ENTRY VALUE   "done"
//   lock / unlock       takes or drops the settings file's lock, as an instance
//                       does while it writes: "locked" ("busy" if it cannot),
//                       "unlocked"
#include "settings/settings_store.h"

#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

// A store as the program makes one at start-up.
struct Store : SettingsStore {
    Store() { SetKeyName(SETTINGS_KEY_NAME); }
    int read(QString entry = "zom", int orElse = 0) const { return GetInt("win", entry, orElse); }
    void write(int value, const QString &entry = "zom") { WriteInt("win", entry, value); }
};

int RunInstance(const char *configHome)
{
    qputenv("XDG_CONFIG_HOME", configHome);
    Store store;
    std::optional<QLockFile> lock;
    QTextStream in(stdin), out(stdout);
    for (QString line; in.readLineInto(&line); out << Qt::endl) {
        const QStringList words = line.split(u' ');
        if (words[0] == u"read") {
            out << store.read(words.value(1), -1);
        } else if (words[0] == u"write") {
            store.write(words.value(2).toInt(), words.value(1));
            out << "done";
        } else if (words[0] == u"lock") {
            out << (lock.emplace(store.location() + ".lock").tryLock(0) ? "locked" : "busy");
        } else if (words[0] == u"unlock") {
            lock.reset();
            out << "unlocked";
        }
    }
    return 0;
}

// Unprivileged: as an ordinary user, whom permissions bind, where the suite
// runs as root.
struct Instance : QProcess {
    explicit Instance(const QString &configHome, bool unprivileged = false)
    {
        QStringList command{QCoreApplication::applicationFilePath(), "--instance", configHome};
        if (unprivileged && geteuid() == 0)
            command =
                QStringList{"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"} +
                command;
        setProcessChannelMode(QProcess::ForwardedErrorChannel);
        start(command.takeFirst(), command);
    }
    ~Instance() override
    {
        closeWriteChannel();
        waitForFinished();
    }
    // The answer, or "" when none comes.
    QString ask(const QString &command)
    {
        write(command.toUtf8() + '\n');
        while (!canReadLine())
            if (!waitForReadyRead(10000))
                return QString();
        return QString::fromUtf8(readLine()).trimmed();
    }
};

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_home;
    QString home() const { return m_home->path(); }
    QString folder() const { return home() + "/Tintgrabber"; }
    QString file() const { return folder() + "/tintgrabber.conf"; }

    void writeFile(const QByteArray &content) const
    {
        QVERIFY(QDir().mkpath(folder()));
        QFile out(file());
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
    }

    // Never opens a pipe, which would wait for a writer.
    QByteArray readFile() const
    {
        QFile in(file());
        return QFileInfo(file()).isFile() && in.open(QIODevice::ReadOnly) ? in.readAll() : "";
    }

    // What a store must leave alone: the folder's entries (no lock or
    // temporary file left behind), the file's time and its bytes.
    QByteArray fingerprint() const
    {
        const QStringList entries =
            QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        const QString time = QFileInfo(file()).lastModified().toString(Qt::ISODateWithMs);
        return (entries.join(u' ') + time).toUtf8() + readFile();
    }

    // CONTENT padded with a long entry to SIZE bytes.
    static QByteArray padded(const QByteArray &content, qint64 size)
    {
        return content + "[pad]\nlong=" + QByteArray(size - content.size() - 11, 'a');
    }

private Q_SLOTS:
    void init()
    {
        m_home.emplace();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home()));
    }

    void writesReachTheFileAndKeepEverythingElse()
    {
        SettingsStore unnamed;
        unnamed.WriteInt("win", "zom", 5);
        QCOMPARE(unnamed.GetInt("win", "zom", 13), 13);
        Store store;
        QCOMPARE(store.location(), file());
        QCOMPARE(store.read("zom", 13), 13);
        QVERIFY2(!QFile::exists(folder()), "only a named store's write makes the file");
        store.write(7);
        QCOMPARE(readFile(), QByteArray("[win]\nzom=7\n"));

        const QByteArray others("[General]\ntop=1\n\n[other]\nname=hello world\n\n[win]\naot=1\n");
        writeFile(others + "zom=2\n");
        store.write(9);
        QCOMPARE(readFile(), others + "zom=9\n");
    }

    void onlyThirtyTwoBitIntegersAreRead_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        QTest::newRow("smallest") << QByteArray("zom=-2147483648") << int(0x80000000);
        QTest::newRow("largest, quoted, spaces")
            << QByteArray("zom=\" 2147483647 \"") << 2147483647;
        QTest::newRow("one past largest") << QByteArray("zom=2147483648") << 13;
        QTest::newRow("number and word") << QByteArray("zom=10x") << 13;
        QTest::newRow("hex") << QByteArray("zom=0x10") << 13;
        QTest::newRow("fraction") << QByteArray("zom=1.5") << 13;
        QTest::newRow("list") << QByteArray("zom=1, 2") << 13;
        QTest::newRow("typed bytes") << QByteArray("zom=@ByteArray(12)") << 13;
        QTest::newRow("file of 1 MiB") << padded("zom=12\n", 1024 * 1024 - 13) << 12;
    }
    // The other entry is read whatever this one holds.
    void onlyThirtyTwoBitIntegersAreRead()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        writeFile("[win]\naot=1\n" + line + "\n");
        QCOMPARE(Store().read("zom", 13), expected);
        QCOMPARE(Store().read("aot"), 1);
    }

    // Readers notice a change by size and time: a rewrite of equal size must
    // leave a later time even when the clock has not passed the last one's.
    void anotherInstanceSeesEachWriteAtItsNextRead()
    {
        writeFile("[win]\nzom=0\n");
        const QDateTime ahead = QDateTime::currentDateTime().addSecs(3600);
        QFile settings(file());
        QVERIFY(settings.open(QIODevice::ReadOnly) &&
                settings.setFileTime(ahead, QFile::FileModificationTime));
        Store mine;
        Instance other(home());
        for (int round = 1; round < 10; ++round) {
            QCOMPARE(other.ask(QStringLiteral("write zom %1").arg(round)), "done");
            QCOMPARE(mine.read(), round);
            mine.write(round % 2, "aot");
            QCOMPARE(other.ask("read aot"), QString::number(round % 2));
        }
        QVERIFY(QFileInfo(file()).lastModified() > ahead);
    }

    void settingsThatMustNotBeWrittenAreKept_data()
    {
        QTest::addColumn<QByteArray>("content"); // "folder" or "pipe": one in the file's place
        QTest::addColumn<QString>("readOnly");   // "folder" or "file", made so for another user
        QTest::addColumn<QString>("zoom");       // as read, -1 for the default
        const QByteArray good("[other]\nname=kept\n\n[win]\naot=1\nzom=5\n");
        static constexpr char binary[] = "\x01\x02\xff\xfe\0zz[[[\n[win]\naot=1\nzom=5\n";
        QTest::newRow("binary") << QByteArray(binary, sizeof binary - 1) << ""
                                << "-1";
        QTest::newRow("stray line") << good + "stray words\n"
                                    << ""
                                    << "-1";
        QTest::newRow("unclosed section") << QByteArray("[win\nzom=5\n") << ""
                                          << "-1";
        QTest::newRow("over 1 MiB") << padded(good, 1024 * 1024 + 1) << ""
                                    << "-1";
        QTest::newRow("folder") << QByteArray("folder") << ""
                                << "-1";
        QTest::newRow("pipe") << QByteArray("pipe") << ""
                              << "-1";
        QTest::newRow("read-only folder") << good << "folder"
                                          << "5";
        QTest::newRow("read-only file") << good << "file"
                                        << "5";
    }
    // A rewrite would drop what could not be parsed, and opening a pipe would
    // wait for a writer for good.
    void settingsThatMustNotBeWrittenAreKept()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, readOnly);
        QFETCH(QString, zoom);
        QVERIFY(QDir().mkpath(content == "folder" ? file() : folder()));
        if (content == "pipe")
            QCOMPARE(mkfifo(QFile::encodeName(file()).constData(), 0600), 0);
        else if (content != "folder")
            writeFile(content);
        const QByteArray before = fingerprint();
        QVERIFY(QFile::setPermissions(home(), QFile::Permissions(0x7755)));
        if (!readOnly.isEmpty())
            QVERIFY(QFile::setPermissions(readOnly == "folder" ? folder() : file(),
                                          QFile::Permissions(0x5555)));

        Instance other(home(), !readOnly.isEmpty());
        const QString read = other.ask("read zom");
        if (read.isEmpty() && !readOnly.isEmpty())
            QSKIP("cannot run an instance as an ordinary user here");
        QCOMPARE(read, zoom);
        QCOMPARE(other.ask("write zom 7"), "done");
        QCOMPARE(other.ask("read zom"), zoom);
        QCOMPARE(fingerprint(), before);
        QVERIFY(QFile::setPermissions(folder(), QFile::Permissions(0x7700)));
    }

    // A stopped or hung instance must not freeze the others, and a crashed one
    // must not keep them from writing for good.
    void anotherInstancesLockDropsTheWriteUntilReleasedOrCrashed()
    {
        writeFile("[win]\nzom=1\n");
        Instance holder(home());
        QCOMPARE(holder.ask("lock"), "locked");
        Store mine;
        mine.write(2);
        QCOMPARE(readFile(), QByteArray("[win]\nzom=1\n"));
        QCOMPARE(holder.ask("unlock"), "unlocked");
        mine.write(3);
        QCOMPARE(holder.ask("read zom"), "3");
        QCOMPARE(holder.ask("lock"), "locked");
        holder.kill();
        holder.waitForFinished();
        mine.write(4);
        QCOMPARE(readFile(), QByteArray("[win]\nzom=4\n"));
        QVERIFY(!QFile::exists(file() + ".lock"));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--instance") == 0)
        return RunInstance(argv[2]);
    TestSettingsStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_settings_store.moc"
