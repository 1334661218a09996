#include "settings/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace
{

// Ours holds a few short lines; reading a huge file would cost time and memory
// for nothing.
constexpr qint64 MAX_FILE_SIZE = 1024 * 1024;
// Another instance holds the lock only while it writes. QSettings would wait
// for as long as the lock is held, which would freeze the window behind a
// stopped or hung instance.
constexpr int LOCK_WAIT_MS = 300;

QString settingsKey(const QString &section, const QString &entry)
{
    return section + QLatin1Char('/') + entry;
}

// Decimal text, surrounding spaces allowed, or an integer the registry holds;
// anything else (fractions, lists, out-of-range numbers) is no setting of ours.
int toInt(const QVariant &value, int defaultValue)
{
    const int type = value.typeId();
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok, 10);
    return ok && (type == QMetaType::QString || type == QMetaType::Int ||
                  type == QMetaType::LongLong)
               ? number
               : defaultValue;
}

// QSettings keeps one parsed copy of a file per process, reports a parse error
// only on the first full parse and reads whatever sits at the path, a pipe
// included. So it only ever sees a private copy of the bytes we read: a
// complete verdict each time, and the real file's lock stays ours.
struct PrivateCopy {
    QTemporaryFile file;
    bool ok;
    explicit PrivateCopy(const QByteArray &bytes)
        : ok(file.open() && file.write(bytes) == bytes.size() && file.flush())
    {
    }
};

} // namespace

SettingsStore::SettingsStore(QString applicationName) : ApplicationName(std::move(applicationName))
{
}

void SettingsStore::SetKeyName(const QString &keyName)
{
    CurrentSnapshot.reset();
    if (keyName.isEmpty())
        Location.clear();
#ifdef Q_OS_WIN
    else
        Location =
            QStringLiteral("HKEY_CURRENT_USER\\Software\\%1\\%2").arg(keyName, ApplicationName);
#else
    else
        Location = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                   QLatin1Char('/') + keyName + QLatin1Char('/') + ApplicationName +
                   QStringLiteral(".conf");
#endif
}

#ifdef Q_OS_WIN

// The registry holds each entry apart and is read afresh on every access, so
// instances neither clobber nor miss one another's entries.
int SettingsStore::GetInt(const QString &section, const QString &entry, int defaultValue) const
{
    if (Location.isEmpty())
        return defaultValue;
    return toInt(QSettings(Location, QSettings::NativeFormat).value(settingsKey(section, entry)),
                 defaultValue);
}

QString SettingsStore::WriteInt(const QString &section, const QString &entry, int value)
{
    if (Location.isEmpty())
        return {};
    QSettings settings(Location, QSettings::NativeFormat);
    settings.setValue(settingsKey(section, entry), value);
    settings.sync();
    return settings.status() == QSettings::NoError ? QString()
                                                   : QStringLiteral("the registry refused it");
}

#else

// The stamp is taken before the bytes are read: a change in between leaves
// the snapshot labelled older than its content, so it is read again next time
// instead of kept stale.
const SettingsStore::Snapshot &SettingsStore::current(bool reread) const
{
    const QFileInfo info(Location);
    const auto stamp = std::make_tuple(info.isFile(), info.size(), info.lastModified());
    if (!reread && CurrentSnapshot && CurrentSnapshot->stamp == stamp)
        return *CurrentSnapshot;
    Snapshot snapshot{stamp, {}, {}, {}};
    QFile file(Location);
    if (!info.exists())
        return *(CurrentSnapshot = std::move(snapshot)); // a new file
    if (!info.isFile())
        snapshot.problem = QStringLiteral("it is not a regular file");
    else if (info.size() > MAX_FILE_SIZE)
        snapshot.problem = QStringLiteral("it is larger than 1 MiB");
    else if (!file.open(QIODevice::ReadOnly))
        snapshot.problem = QStringLiteral("it cannot be read (%1)").arg(file.errorString());
    else {
        snapshot.bytes = file.read(MAX_FILE_SIZE + 1); // should it grow meanwhile
        PrivateCopy copy(snapshot.bytes);
        QSettings parsed(copy.file.fileName(), QSettings::NativeFormat);
        const QStringList keys = parsed.allKeys();
        if (!copy.ok || file.error() != QFileDevice::NoError)
            snapshot.problem = QStringLiteral("it cannot be read (%1)").arg(file.errorString());
        else if (snapshot.bytes.size() > MAX_FILE_SIZE)
            snapshot.problem = QStringLiteral("it is larger than 1 MiB");
        else if (parsed.status() != QSettings::NoError)
            snapshot.problem = QStringLiteral("it cannot be parsed");
        for (const QString &key : snapshot.problem.isEmpty() ? keys : QStringList())
            snapshot.values.insert(key, parsed.value(key));
    }
    CurrentSnapshot = std::move(snapshot);
    return *CurrentSnapshot;
}

int SettingsStore::GetInt(const QString &section, const QString &entry, int defaultValue) const
{
    if (Location.isEmpty())
        return defaultValue;
    return toInt(current(false).values.value(settingsKey(section, entry)), defaultValue);
}

// The file is rewritten whole from what QSettings parsed, so one that did not
// parse completely would lose the rest, whatever the user put there: such a
// file is left alone, as is one that is not ours to write.
QString SettingsStore::WriteInt(const QString &section, const QString &entry, int value)
{
    if (Location.isEmpty())
        return {};
    if (!QDir().mkpath(QFileInfo(Location).path()))
        return QStringLiteral("its folder cannot be made");
    QLockFile lock(Location + QStringLiteral(".lock"));
    if (!lock.tryLock(LOCK_WAIT_MS))
        return lock.error() == QLockFile::LockFailedError
                   ? QStringLiteral("another Tintgrabber kept it locked")
                   : QStringLiteral("its folder cannot be written");
    // Read afresh under the lock, keeping what another instance just wrote.
    const Snapshot &before = current(true);
    if (!before.problem.isEmpty())
        return before.problem;
    // QSettings writes the edited copy as it is destroyed; should that fail,
    // the copy, and so the file, simply keeps its bytes.
    PrivateCopy copy(before.bytes);
    QSettings(copy.file.fileName(), QSettings::NativeFormat)
        .setValue(settingsKey(section, entry), value);
    // Readers never see a half-written file: the new one replaces the old at
    // once, or not at all (a read-only file or folder stays as it was).
    QFile edited(copy.file.fileName());
    QSaveFile file(Location);
    if (QFileInfo(Location).exists() && !QFileInfo(Location).isWritable())
        return QStringLiteral("it is read-only");
    if (!copy.ok || !edited.open(QIODevice::ReadOnly) || !file.open(QIODevice::WriteOnly) ||
        file.write(edited.readAll()) < 0 || !file.commit())
        return QStringLiteral("it cannot be written (%1)").arg(file.errorString());
    // Readers notice a change by size and modification time only; a rewrite
    // of equal size within one tick of the file system's clock would go
    // unnoticed, so every version is made strictly later than the last (a new
    // file has no last version: its time is invalid and so is `later`).
    const QDateTime later = std::get<QDateTime>(before.stamp).addMSecs(1);
    QFile written(Location);
    if (QFileInfo(Location).lastModified() < later && written.open(QIODevice::ReadOnly))
        written.setFileTime(later, QFileDevice::FileModificationTime);
    return {};
}

#endif
