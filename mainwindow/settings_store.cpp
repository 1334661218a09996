#include "mainwindow/settings_store.h"

SettingsStore::SettingsStore(IntegerProfile &profile) : m_profile(profile) {}

void SettingsStore::SetKeyName(const QString &keyName)
{
    m_profile.setKeyName(keyName);
}

int SettingsStore::GetInt(const QString &section, const QString &entry, int defaultValue) const
{
    return m_profile.readInt(section, entry).value_or(defaultValue);
}

void SettingsStore::WriteInt(const QString &section, const QString &entry, int value)
{
    m_profile.writeInt(section, entry, value);
}
