#pragma once

#include <QDateTime>
#include <QVariant>

#include <optional>
#include <tuple>

// The key every setting lives under, named once at start-up.
inline constexpr char SETTINGS_KEY_NAME[] = "Tintgrabber";

// The window's section and its two entries.
inline constexpr char SETTINGS_SECTION_WINDOW[] = "win";
inline constexpr char SETTINGS_ENTRY_ZOOM[] = "zom";          // zoom list index, 0 = "x3"
inline constexpr char SETTINGS_ENTRY_ALWAYS_ON_TOP[] = "aot"; // 0 or 1

// The program's persistent choices: named 32-bit integers per user, in
// QSettings' native format (<config>/<key name>/<application>.conf, or the
// registry key HKCU\Software\<key name>\<application> on Windows). Reads give
// the default for anything missing or unreadable and always reflect the file
// as it is now, other instances' writes included; each write reaches the file
// before it returns, or is dropped and says why.
class SettingsStore
{
public:
    explicit SettingsStore(QString applicationName = QStringLiteral("tintgrabber"));

    // Until a key is named, reads give the defaults and writes are dropped.
    void SetKeyName(const QString &keyName);
    int GetInt(const QString &section, const QString &entry, int defaultValue) const;
    // Empty when the value was stored; otherwise why not, in words that
    // finish "because ..." (the file itself is never touched then).
    QString WriteInt(const QString &section, const QString &entry, int value);

    // The settings file, or the registry path on Windows; empty until a key
    // is named.
    QString location() const { return Location; }

private:
    // What the file held when it last looked like `stamp` (is a file, size,
    // modification time).
    struct Snapshot {
        std::tuple<bool, qint64, QDateTime> stamp;
        QString problem; // why it is no file of ours to rewrite; empty if it is
        QByteArray bytes;
        QVariantHash values;
    };
    const Snapshot &current(bool reread) const;

    QString ApplicationName;
    QString Location;
    mutable std::optional<Snapshot> CurrentSnapshot;
};
