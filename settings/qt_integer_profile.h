#pragma once

#include "settings/integer_profile.h"

#include <QDateTime>
#include <QHash>
#include <QVariant>

// The value a settings backend holds, read as a 32-bit integer: decimal text
// (surrounding spaces allowed) or an integer type, within range. Anything else
// (other text, empty text, lists, fractions, out-of-range numbers) is nothing.
std::optional<std::int32_t> ProfileIntFromVariant(const QVariant &value);

// IntegerProfile over QSettings in its native format: on Linux the file
// <config>/<key name>/<application>.conf, on Windows the registry key
// HKCU\Software\<key name>\<application>.
//
// A settings file that cannot be read or parsed completely counts as empty and
// is never rewritten, since rewriting it would silently drop whatever could not
// be parsed. So does one larger than MAX_FILE_SIZE: ours holds a few short
// lines, and reading a huge one would cost time and memory for nothing.
//
// Instances share the file under QSettings' lock file (<file>.lock). A write
// waits at most LOCK_WAIT_MS for another instance to release it and is dropped
// otherwise: QSettings itself waits for as long as a live owner holds it, which
// would freeze the window behind a stopped or hung instance.
class QtIntegerProfile final : public IntegerProfile
{
public:
    static constexpr qint64 MAX_FILE_SIZE = 1024 * 1024;
    static constexpr int LOCK_WAIT_MS = 300;

    explicit QtIntegerProfile(QString applicationName = QStringLiteral("tintgrabber"));

    void setKeyName(const QString &keyName) override;
    std::optional<std::int32_t> readInt(const QString &section, const QString &entry) override;
    void writeInt(const QString &section, const QString &entry, std::int32_t value) override;

    // Where the entries live: a file path, or a registry path on Windows.
    // Empty until a key is named.
    QString location() const { return m_location; }

private:
#ifndef Q_OS_WIN
    // One version of the settings file, as told by its metadata.
    struct FileVersion {
        bool exists = false;
        bool isFile = false;
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const FileVersion &) const = default;
    };

    // The parsed content of one version of the file.
    struct Snapshot {
        FileVersion version;
        bool usable = false; // false: unreadable, a folder, too large, or garbled
        QByteArray bytes;
        QHash<QString, QVariant> values;
    };

    static FileVersion versionOf(const QString &path);
    const Snapshot &currentSnapshot();
    void advanceModificationTime(const FileVersion &before) const;

    std::optional<Snapshot> m_snapshot;
#endif

    QString m_applicationName;
    QString m_keyName;
    QString m_location;
};
