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

namespace
{

// A store as the program makes one at start-up.
struct Store : SettingsStore {
    Store() { SetKeyName(SETTINGS_KEY_NAME); }
    int read(QString entry = "zom", int orElse = 0) const { return GetInt("win", entry, orElse); }
    QString write(int value, const QString &entry = "zom") { return WriteInt("win", entry, value); }
};

int runInstance(const char *configHome)
{
    qputenv("XDG_CONFIG_HOME", configHome);
    Store store;
    std::optional<QLockFile> lock;
    QTextStream in(stdin), out(stdout);
    for (QString line; in.readLineInto(&line); out << Qt::endl) {
        const QStringList words = line.split(u' ');
        if (words[0] == u"read")
            out << store.read(words.value(1), -1);
        else if (words[0] == u"write")
            out << (store.write(words.value(2).toInt(), words.value(1)), "done");
        else if (words[0] == u"lock")
            out << (lock.emplace(store.location() + ".lock").tryLock(0) ? "locked" : "busy");
        else if (words[0] == u"unlock")
            out << (lock.reset(), "unlocked");
    }
    return 0;
}

struct Instance : QProcess {
    explicit Instance(const QString &configHome)
    {
        setProcessChannelMode(QProcess::ForwardedErrorChannel);
        start(QCoreApplication::applicationFilePath(), {"--instance", configHome});
    }
    ~Instance() override { closeWriteChannel(), waitForFinished(); }
    // The answer, or "" when none comes.
    QString ask(const QString &command)
    {
        write(command.toUtf8() + '\n');
        while (!canReadLine() && waitForReadyRead(10000)) {
        }
        return QString::fromUtf8(readLine()).trimmed();
    }
};

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> home;
    QString file() const { return home->path() + "/Tintgrabber/tintgrabber.conf"; }
    void writeFile(const QByteArray &content) const
    {
        QVERIFY(QDir().mkpath(QFileInfo(file()).path()));
        QFile out(file());
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
    }

private Q_SLOTS:
    void init()
    {
        home.emplace();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home->path()));
    }

    void onlyThirtyTwoBitIntegersAreRead_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        QTest::newRow("smallest") << QByteArray("zom=-2147483648") << int(0x80000000);
        QTest::newRow("largest, quoted, spaces") << QByteArray("zom=\" 2147483647 \"") << INT_MAX;
        QTest::newRow("one past largest") << QByteArray("zom=2147483648") << 13;
        QTest::newRow("number and word") << QByteArray("zom=10x") << 13;
        QTest::newRow("a file of 1 MiB")
            << "zom=12\n[pad]\nlong=" + QByteArray(1024 * 1024 - 31, 'a') << 12;
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
        Instance other(home->path());
        for (int round = 1; round < 10; ++round) {
            QCOMPARE(other.ask(QStringLiteral("write zom %1").arg(round)), "done");
            QCOMPARE(mine.read(), round);
            mine.write(round % 2, "aot");
            QCOMPARE(other.ask("read aot"), QString::number(round % 2));
        }
        QVERIFY(QFileInfo(file()).lastModified() > ahead);
    }

    // A crashed instance's lock must not keep the others from writing for
    // good (a live holder's: the hostile settings desktop test), and a write
    // keeps everything else. The first write, where no file is yet: the
    // window desktop test.
    void aWriteTakesOverACrashedInstancesLockAndKeepsTheRest()
    {
        const QByteArray others("[General]\ntop=1\n\n[other]\nname=hello world\n\n[win]\naot=1\n");
        writeFile(others + "zom=1\n");
        Instance holder(home->path());
        QCOMPARE(holder.ask("lock"), "locked");
        holder.kill();
        holder.waitForFinished();
        Store().write(4);
        QFile in(file());
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), others + "zom=4\n");
        QVERIFY(!QFile::exists(file() + ".lock"));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--instance") == 0)
        return runInstance(argv[2]);
    TestSettingsStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_settings_store.moc"
