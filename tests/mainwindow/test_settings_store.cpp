#include "mainwindow/settings_store.h"
#include "platform/qt_integer_profile.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

// The settings store over the real QSettings backend, kept in a temporary
// folder in place of the user's configuration folder.
class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void firstRunGivesDefaults();
    void livesUnderTheKeyAndApplicationName();
    void writeIsReadBackByASecondStore();
    void readsSeeEveryWriteOfAnotherStore();
    void everyWriteMovesTheModificationTimeOn();
    void nonIntegerEntriesGiveTheDefault_data();
    void nonIntegerEntriesGiveTheDefault();
    void garbledFileBehavesAsEmptyAndIsKept_data();
    void garbledFileBehavesAsEmptyAndIsKept();
    void oversizedFileIsNotReadAndIsKept_data();
    void oversizedFileIsNotReadAndIsKept();
    void folderInPlaceOfTheFileBehavesAsEmpty();
    void pipeInPlaceOfTheFileBehavesAsEmpty();
    void unwritableFolderFailsSilently();
    void readOnlyFolderFailsSilently();
    void writeKeepsEveryOtherEntry();
    void nothingIsStoredBeforeTheKeyIsNamed();

private:
    QString settingsFolder() const { return m_root->path() + QStringLiteral("/Tintgrabber"); }
    QString settingsFile() const { return settingsFolder() + QStringLiteral("/tintgrabber.conf"); }
    void writeFile(const QByteArray &content) const;
    QByteArray readFile() const;

    // A store as the program makes one at start-up.
    struct OpenStore {
        QtIntegerProfile profile;
        SettingsStore store{profile};
        OpenStore() { store.SetKeyName(QLatin1String(SETTINGS_KEY_NAME)); }
        int zoom() const
        {
            return store.GetInt(QLatin1String(SETTINGS_SECTION_WINDOW),
                                QLatin1String(SETTINGS_ENTRY_ZOOM), 0);
        }
        int alwaysOnTop() const
        {
            return store.GetInt(QLatin1String(SETTINGS_SECTION_WINDOW),
                                QLatin1String(SETTINGS_ENTRY_ALWAYS_ON_TOP), 0);
        }
        void writeZoom(int value)
        {
            store.WriteInt(QLatin1String(SETTINGS_SECTION_WINDOW),
                           QLatin1String(SETTINGS_ENTRY_ZOOM), value);
        }
    };

    std::unique_ptr<QTemporaryDir> m_root;
};

void TestSettingsStore::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_root->path());
}

void TestSettingsStore::cleanup()
{
    // Undo what a test may have made unremovable.
    QFile::setPermissions(settingsFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_root.reset();
}

void TestSettingsStore::writeFile(const QByteArray &content) const
{
    QVERIFY(QDir().mkpath(settingsFolder()));
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QByteArray TestSettingsStore::readFile() const
{
    QFile file(settingsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestSettingsStore::firstRunGivesDefaults()
{
    OpenStore settings;
    QCOMPARE(settings.zoom(), 0);
    QCOMPARE(settings.alwaysOnTop(), 0);
    QCOMPARE(settings.store.GetInt(QStringLiteral("win"), QStringLiteral("zom"), 13), 13);
    QVERIFY2(!QFile::exists(settingsFile()), "reading must not create the file");
}

void TestSettingsStore::livesUnderTheKeyAndApplicationName()
{
    OpenStore settings;
    QCOMPARE(settings.profile.location(), settingsFile());
    settings.writeZoom(7);
    QCOMPARE(readFile(), QByteArray("[win]\nzom=7\n"));
}

void TestSettingsStore::writeIsReadBackByASecondStore()
{
    {
        OpenStore first;
        first.writeZoom(7);
        first.store.WriteInt(QStringLiteral("win"), QStringLiteral("aot"), 1);
    }
    OpenStore second;
    QCOMPARE(second.zoom(), 7);
    QCOMPARE(second.alwaysOnTop(), 1);
}

// Two running instances: each write must show at the other's next read, even
// when writes come faster than the file system's clock ticks and leave the
// file's size unchanged.
void TestSettingsStore::readsSeeEveryWriteOfAnotherStore()
{
    OpenStore reader;
    OpenStore writer;
    for (int value = 0; value < 40; ++value) {
        writer.writeZoom(value % 10);
        QCOMPARE(reader.zoom(), value % 10);
    }
}

// Other instances notice a write by the file's size and modification time, so
// a write of equal size must leave a later time even when the clock has not
// moved past the previous version's time (here: a time an hour ahead).
void TestSettingsStore::everyWriteMovesTheModificationTimeOn()
{
    writeFile("[win]\nzom=1\n");
    const QDateTime ahead = QDateTime::currentDateTime().addSecs(3600);
    {
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.setFileTime(ahead, QFileDevice::FileModificationTime));
    }
    OpenStore settings;
    QCOMPARE(settings.zoom(), 1);
    settings.writeZoom(2);
    QVERIFY(QFileInfo(settingsFile()).lastModified() > ahead);
    QCOMPARE(settings.zoom(), 2);
}

void TestSettingsStore::nonIntegerEntriesGiveTheDefault_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("expected");

    QTest::newRow("integer") << QByteArray("zom=12") << 12;
    QTest::newRow("negative") << QByteArray("zom=-4") << -4;
    QTest::newRow("text") << QByteArray("zom=big") << 0;
    QTest::newRow("empty") << QByteArray("zom=") << 0;
    QTest::newRow("out of range") << QByteArray("zom=4294967296") << 0;
    QTest::newRow("fraction") << QByteArray("zom=2.5") << 0;
    QTest::newRow("list") << QByteArray("zom=1, 2") << 0;
    QTest::newRow("quoted number") << QByteArray("zom=\"9\"") << 9;
}

void TestSettingsStore::nonIntegerEntriesGiveTheDefault()
{
    QFETCH(QByteArray, line);
    QFETCH(int, expected);

    writeFile("[win]\naot=1\n" + line + "\n");
    OpenStore settings;
    QCOMPARE(settings.zoom(), expected);
    QCOMPARE(settings.alwaysOnTop(), 1);
}

void TestSettingsStore::garbledFileBehavesAsEmptyAndIsKept_data()
{
    QTest::addColumn<QByteArray>("content");

    static constexpr char binary[] = "\x01\x02\xff\xfe\0zz[[[\n===\n";
    QTest::newRow("binary") << QByteArray(binary, sizeof binary - 1);
    QTest::newRow("line without value") << QByteArray("[win]\nzom=5\naot=1\nstray words\n");
    QTest::newRow("unclosed section") << QByteArray("[win\nzom=5\naot=1\n");
    QTest::newRow("foreign comment") << QByteArray("# mine\n[win]\nzom=5\naot=1\n");
}

void TestSettingsStore::garbledFileBehavesAsEmptyAndIsKept()
{
    QFETCH(QByteArray, content);

    writeFile(content);
    // A store that already read the file once, so that any cached parse is
    // in play as well.
    OpenStore earlier;
    QCOMPARE(earlier.zoom(), 0);

    OpenStore settings;
    QCOMPARE(settings.zoom(), 0);
    QCOMPARE(settings.alwaysOnTop(), 0);
    settings.writeZoom(3);
    QCOMPARE(settings.zoom(), 0);
    QCOMPARE(readFile(), content);
}

void TestSettingsStore::oversizedFileIsNotReadAndIsKept_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("readable");

    const QByteArray entries("[win]\naot=1\nzom=5\n");
    const qint64 limit = QtIntegerProfile::MAX_FILE_SIZE;
    const QByteArray longLine("[pad]\nlong=");
    QTest::newRow("at the limit") << entries + longLine +
                                         QByteArray(limit - entries.size() - longLine.size() - 1,
                                                    'a') +
                                         '\n'
                                  << true;
    QTest::newRow("one byte over")
        << entries + longLine + QByteArray(limit - entries.size() - longLine.size(), 'a') + '\n'
        << false;
    QTest::newRow("10 MB of entries")
        << entries + longLine + QByteArray(10 * 1024 * 1024, 'a') + '\n'
        << false;
    QByteArray noise(10 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919) >> 3);
    QTest::newRow("10 MB of noise") << entries + noise << false;
}

// A file far larger than ours ever is: read no more than the limit, use the
// defaults, and never rewrite it.
void TestSettingsStore::oversizedFileIsNotReadAndIsKept()
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

void TestSettingsStore::folderInPlaceOfTheFileBehavesAsEmpty()
{
    QVERIFY(QDir().mkpath(settingsFile()));
    OpenStore settings;
    QCOMPARE(settings.zoom(), 0);
    settings.writeZoom(4);
    QCOMPARE(settings.zoom(), 0);
    QVERIFY(QFileInfo(settingsFile()).isDir());
}

// Opening a pipe for reading waits for a writer, forever. Pipes also take the
// place of the files QSettings falls back on, which it would open as well.
void TestSettingsStore::pipeInPlaceOfTheFileBehavesAsEmpty()
{
    QVERIFY(QDir().mkpath(settingsFolder()));
    for (const QString &path : {settingsFile(), settingsFolder() + QStringLiteral(".conf")})
        QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    OpenStore settings;
    QCOMPARE(settings.zoom(), 0);
    settings.writeZoom(4);
    QCOMPARE(settings.zoom(), 0);
    QVERIFY(QFileInfo(settingsFile()).exists() && !QFileInfo(settingsFile()).isFile());
}

void TestSettingsStore::unwritableFolderFailsSilently()
{
    // A file where the settings folder should be: no one can create the
    // settings file there.
    QFile blocker(settingsFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    OpenStore settings;
    settings.writeZoom(4);
    QCOMPARE(settings.zoom(), 0);
    QCOMPARE(QFileInfo(settingsFolder()).size(), 0);
}

void TestSettingsStore::readOnlyFolderFailsSilently()
{
    writeFile("[win]\nzom=5\n");
    QVERIFY(QFile::remove(settingsFile()));
    QVERIFY(QFile::setPermissions(settingsFolder(), QFile::ReadOwner | QFile::ExeOwner));
    {
        QFile probe(settingsFile());
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QSKIP("permissions do not bind this user");
        }
    }
    OpenStore settings;
    settings.writeZoom(4);
    QCOMPARE(settings.zoom(), 0);
    QVERIFY(!QFile::exists(settingsFile()));
}

void TestSettingsStore::writeKeepsEveryOtherEntry()
{
    writeFile("[General]\ntop=1\n\n"
              "[other]\nname=hello world\nnumber=-8\n\n"
              "[win]\naot=1\nwidth=300\nzom=2\n");
    const QStringList untouched{QStringLiteral("top"), QStringLiteral("other/name"),
                                QStringLiteral("other/number"), QStringLiteral("win/aot"),
                                QStringLiteral("win/width")};
    QHash<QString, QVariant> before;
    {
        QSettings file(settingsFile(), QSettings::NativeFormat);
        for (const QString &key : untouched)
            before.insert(key, file.value(key));
    }

    OpenStore settings;
    settings.writeZoom(9);
    QCOMPARE(settings.zoom(), 9);
    QCOMPARE(settings.alwaysOnTop(), 1);

    QSettings file(settingsFile(), QSettings::NativeFormat);
    QCOMPARE(file.allKeys().size(), untouched.size() + 1);
    for (const QString &key : untouched)
        QCOMPARE(file.value(key), before.value(key));
}

void TestSettingsStore::nothingIsStoredBeforeTheKeyIsNamed()
{
    QtIntegerProfile profile;
    SettingsStore store(profile);
    store.WriteInt(QStringLiteral("win"), QStringLiteral("zom"), 5);
    QCOMPARE(store.GetInt(QStringLiteral("win"), QStringLiteral("zom"), 0), 0);
    QCOMPARE(QDir(m_root->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settings_store.moc"
