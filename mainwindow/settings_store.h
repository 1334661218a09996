#pragma once

#include "platform/integer_profile.h"

#include <QString>

// The key every setting lives under, named once at start-up.
inline constexpr char SETTINGS_KEY_NAME[] = "Tintgrabber";

// The window's section and its two entries.
inline constexpr char SETTINGS_SECTION_WINDOW[] = "win";
inline constexpr char SETTINGS_ENTRY_ZOOM[] = "zom";          // zoom list index, 0 = "x3"
inline constexpr char SETTINGS_ENTRY_ALWAYS_ON_TOP[] = "aot"; // 0 or 1

// The program's persistent choices: named 32-bit integers per user. Reads give
// the default for anything missing or unreadable; writes are not checked, so
// the window simply keeps showing the value it has.
class SettingsStore
{
public:
    // The profile must outlive the store.
    explicit SettingsStore(IntegerProfile &profile);

    void SetKeyName(const QString &keyName);
    int GetInt(const QString &section, const QString &entry, int defaultValue) const;
    void WriteInt(const QString &section, const QString &entry, int value);

private:
    IntegerProfile &m_profile;
};
