#include "platform/qt_integer_profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

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
// QSettings keeps one parsed copy of each file per process and re-reads it only
// when the file's size or modification time changes, and it parses sections
// lazily, so its status reports a parse error only on the first full parse of a
// file. Parsing a private copy of exactly the bytes we read gives a complete
// verdict that no earlier parse can mask.
std::optional<QHash<QString, QVariant>> ParseSettingsBytes(const QByteArray &bytes)
{
    QTemporaryFile copy(QDir::tempPath() + QStringLiteral("/tintgrabber-settings-XXXXXX.conf"));
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush())
        return std::nullopt;
    QSettings settings(copy.fileName(), QSettings::NativeFormat);
    const QStringList keys = settings.allKeys();
    if (settings.status() != QSettings::NoError)
        return std::nullopt;
    QHash<QString, QVariant> values;
    for (const QString &key : keys)
        values.insert(key, settings.value(key));
    return values;
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
    m_location = keyName.isEmpty() ? QString()
                                   : QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                               keyName, m_applicationName)
                                         .fileName();
#ifndef Q_OS_WIN
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
    } else if (version.isFile) {
        QFile file(m_location);
        if (file.open(QIODevice::ReadOnly)) {
            if (auto values = ParseSettingsBytes(file.readAll())) {
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
    if (m_location.isEmpty())
        return;
    // QSettings rewrites the whole file from what it parsed, so a file it could
    // not parse completely would lose the rest; leave such a file alone.
    const Snapshot &snapshot = currentSnapshot();
    if (!snapshot.usable)
        return;
    const FileVersion before = snapshot.version;
    {
        QSettings settings(m_location, QSettings::NativeFormat);
        settings.setValue(EntryKey(section, entry), value);
        settings.sync();
    }
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
