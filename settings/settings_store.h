#pragma once

#include "settings/qt_integer_profile.h"

#include <QString>

inline constexpr char SETTINGS_KEY_NAME[] = "Tintgrabber";
inline constexpr char SETTINGS_SECTION_WINDOW[] = "win";
inline constexpr char SETTINGS_ENTRY_ZOOM[] = "zom";
inline constexpr char SETTINGS_ENTRY_ALWAYS_ON_TOP[] = "aot";

// Temporary adapter until the lean store lands.
class SettingsStore
{
public:
    explicit SettingsStore(QString applicationName = QStringLiteral("tintgrabber"))
        : m_profile(std::move(applicationName))
    {
    }
    void SetKeyName(const QString &keyName) { m_profile.setKeyName(keyName); }
    int GetInt(const QString &section, const QString &entry, int defaultValue) const
    {
        return m_profile.readInt(section, entry).value_or(defaultValue);
    }
    void WriteInt(const QString &section, const QString &entry, int value)
    {
        m_profile.writeInt(section, entry, value);
    }
    QString location() const { return m_profile.location(); }

private:
    mutable QtIntegerProfile m_profile;
};
