#include "settings/qt_integer_profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUuid>

#include <limits>

std::optional<std::int32_t> ProfileIntFromVariant(const QVariant &value)
{
    bool ok = false;
    qlonglong number = 0;
    switch (value.typeId()) {
    case QMetaType::QString:
        number = value.toString().trimmed().toLongLong(&ok, 10);
        break;
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        number = value.toLongLong(&ok);
        break;
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong unsignedNumber = value.toULongLong(&ok);
        if (unsignedNumber > qulonglong(std::numeric_limits<std::int32_t>::max()))
            return std::nullopt;
        number = qlonglong(unsignedNumber);
        break;
    }
    default:
        return std::nullopt;
    }
    if (!ok || number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(number);
}

namespace
{

QString EntryKey(const QString &section, const QString &entry)
{
    return section + QLatin1Char('/') + entry;
}

#ifndef Q_OS_WIN
// A private copy of settings bytes, in QSettings' native format.
//
// QSettings keeps one parsed copy of each file per process and re-reads it only
// when the file's size or modification time changes, and it parses sections
// lazily, so its status reports a parse error only on the first full parse of a
// file. Parsing a private copy of exactly the bytes we read gives a complete
// verdict that no earlier parse can mask. Writing through a private copy keeps
// QSettings away from the real file's lock, which it would wait for forever.
class PrivateSettingsCopy
{
public:
    explicit PrivateSettingsCopy(const QByteArray &bytes)
        : m_file(QDir::tempPath() + QStringLiteral("/tintgrabber-settings-XXXXXX.conf"))
    {
        m_ok = m_file.open() && m_file.write(bytes) == bytes.size() && m_file.flush();
    }

    // Every entry, or nothing when the bytes do not parse completely.
    std::optional<QHash<QString, QVariant>> values()
    {
        if (!m_ok)
            return std::nullopt;
        QSettings settings(m_file.fileName(), QSettings::NativeFormat);
        const QStringList keys = settings.allKeys();
        if (settings.status() != QSettings::NoError)
            return std::nullopt;
        QHash<QString, QVariant> values;
        for (const QString &key : keys)
            values.insert(key, settings.value(key));
        return values;
    }

    // The bytes with one entry set, every other entry kept; nothing on failure.
    std::optional<QByteArray> withValue(const QString &key, std::int32_t value)
    {
        if (!m_ok)
            return std::nullopt;
        {
            QSettings settings(m_file.fileName(), QSettings::NativeFormat);
            settings.setValue(key, value);
            settings.sync();
            if (settings.status() != QSettings::NoError)
                return std::nullopt;
        }
        QFile written(m_file.fileName());
        if (!written.open(QIODevice::ReadOnly))
            return std::nullopt;
        return written.readAll();
    }

private:
    QTemporaryFile m_file;
    bool m_ok = false;
};

// Where QSettings keeps the native-format file of a key and application,
// found without opening it: QSettings reads the file, and every file it falls
// back on, as soon as it is made, so a pipe there would block start-up for
// good and a huge file would be read whole. A QSettings under names that exist
// nowhere tells the folder (the user's configuration folder, or the one
// QSettings::setPath chose) and finds nothing to read.
QString SettingsFilePath(const QString &keyName, const QString &applicationName)
{
    const QString probe =
        QStringLiteral("tintgrabber-probe-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString probeSuffix = probe + QLatin1Char('/') + probe + QStringLiteral(".conf");
    const QString probeFile =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, probe, probe).fileName();
    const QString folder =
        probeFile.endsWith(probeSuffix)
            ? probeFile.chopped(probeSuffix.size())
            : QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                  QLatin1Char('/');
    return folder + keyName + QLatin1Char('/') + applicationName + QStringLiteral(".conf");
}

// The file's bytes, or nothing when it cannot be read or is too large to be
// ours. Reads at most one byte past the limit, so a file that grows meanwhile
// costs no more.
std::optional<QByteArray> ReadSettingsBytes(const QString &path, qint64 maxSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > maxSize)
        return std::nullopt;
    return bytes;
}
#endif

} // namespace

QtIntegerProfile::QtIntegerProfile(QString applicationName)
    : m_applicationName(std::move(applicationName))
{
}

void QtIntegerProfile::setKeyName(const QString &keyName)
{
    m_keyName = keyName;
#ifdef Q_OS_WIN
    m_location = keyName.isEmpty() ? QString()
                                   : QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                               keyName, m_applicationName)
                                         .fileName();
#else
    m_location = keyName.isEmpty() ? QString() : SettingsFilePath(keyName, m_applicationName);
    m_snapshot.reset();
#endif
}

#ifdef Q_OS_WIN

// The registry holds each entry as a value of its own and is read afresh on
// every access, so entries cannot clobber one another and reads see other
// instances' writes without further care.
std::optional<std::int32_t> QtIntegerProfile::readInt(const QString &section, const QString &entry)
{
    if (m_keyName.isEmpty())
        return std::nullopt;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_keyName, m_applicationName);
    return ProfileIntFromVariant(settings.value(EntryKey(section, entry)));
}

void QtIntegerProfile::writeInt(const QString &section, const QString &entry, std::int32_t value)
{
    if (m_keyName.isEmpty())
        return;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_keyName, m_applicationName);
    settings.setValue(EntryKey(section, entry), value);
    settings.sync();
}

#else

QtIntegerProfile::FileVersion QtIntegerProfile::versionOf(const QString &path)
{
    const QFileInfo info(path);
    FileVersion version;
    version.exists = info.exists();
    if (version.exists) {
        version.isFile = info.isFile();
        version.size = info.size();
        version.modified = info.lastModified();
    }
    return version;
}

const QtIntegerProfile::Snapshot &QtIntegerProfile::currentSnapshot()
{
    // The version is taken before the bytes are read: if the file changes in
    // between, the snapshot is labelled older than its content and is simply
    // read again next time, never kept stale.
    const FileVersion version = versionOf(m_location);
    if (m_snapshot && m_snapshot->version == version)
        return *m_snapshot;

    Snapshot snapshot;
    snapshot.version = version;
    if (!version.exists) {
        snapshot.usable = true;
    } else if (version.isFile && version.size <= MAX_FILE_SIZE) {
        if (auto bytes = ReadSettingsBytes(m_location, MAX_FILE_SIZE)) {
            snapshot.bytes = std::move(*bytes);
            if (auto values = PrivateSettingsCopy(snapshot.bytes).values()) {
                snapshot.usable = true;
                snapshot.values = std::move(*values);
            }
        }
    }
    m_snapshot = std::move(snapshot);
    return *m_snapshot;
}

std::optional<std::int32_t> QtIntegerProfile::readInt(const QString &section, const QString &entry)
{
    if (m_location.isEmpty())
        return std::nullopt;
    const Snapshot &snapshot = currentSnapshot();
    if (!snapshot.usable)
        return std::nullopt;
    return ProfileIntFromVariant(snapshot.values.value(EntryKey(section, entry)));
}

void QtIntegerProfile::writeInt(const QString &section, const QString &entry, std::int32_t value)
{
    if (m_location.isEmpty() || !QDir().mkpath(QFileInfo(m_location).path()))
        return;
    QLockFile lock(m_location + QStringLiteral(".lock"));
    if (!lock.tryLock(LOCK_WAIT_MS))
        return;

    // Read afresh under the lock, so that what another instance wrote just
    // before is kept. The file is rewritten whole from what was parsed, so a
    // file that could not be parsed completely would lose the rest; leave such
    // a file alone.
    m_snapshot.reset();
    const Snapshot &snapshot = currentSnapshot();
    if (!snapshot.usable)
        return;
    const FileVersion before = snapshot.version;
    const std::optional<QByteArray> bytes =
        PrivateSettingsCopy(snapshot.bytes).withValue(EntryKey(section, entry), value);
    if (!bytes)
        return;
    // Readers never see a half-written file: the new one replaces the old at
    // once, or not at all (a read-only file or folder stays as it was).
    QSaveFile file(m_location);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit())
        return;
    advanceModificationTime(before);
}

// Readers, QSettings included, notice a change only by the file's size and
// modification time. A rewrite of equal size within one tick of the file
// system's clock would look like no change, so the time is moved on past the
// previous version's.
void QtIntegerProfile::advanceModificationTime(const FileVersion &before) const
{
    if (!before.exists)
        return;
    const FileVersion after = versionOf(m_location);
    if (!after.isFile || after.size != before.size || after.modified > before.modified)
        return;
    QFile file(m_location);
    if (file.open(QIODevice::ReadOnly))
        file.setFileTime(before.modified.addMSecs(1), QFileDevice::FileModificationTime);
}

#endif
