#pragma once

#include "platform/integer_profile.h"

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
// be parsed.
class QtIntegerProfile final : public IntegerProfile
{
public:
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
        bool usable = false; // false: unreadable, a folder, or garbled
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
