#pragma once

#include "platform/integer_profile.h"

#include <QHash>

// An IntegerProfile held in memory, for tests of code that reads and writes
// settings. Writes can be made to fail, and reads and writes are counted.
class FakeProfile final : public IntegerProfile
{
public:
    void setKeyName(const QString &keyName) override { m_keyName = keyName; }

    std::optional<std::int32_t> readInt(const QString &section, const QString &entry) override
    {
        ++m_reads;
        const auto found = m_values.constFind(key(section, entry));
        if (found == m_values.constEnd())
            return std::nullopt;
        return *found;
    }

    void writeInt(const QString &section, const QString &entry, std::int32_t value) override
    {
        ++m_writes;
        if (!m_failWrites)
            m_values.insert(key(section, entry), value);
    }

    // Test side: the stored state, seeded and inspected directly.
    QString keyName() const { return m_keyName; }
    void set(const QString &section, const QString &entry, std::int32_t value)
    {
        m_values.insert(key(section, entry), value);
    }
    void remove(const QString &section, const QString &entry)
    {
        m_values.remove(key(section, entry));
    }
    std::optional<std::int32_t> value(const QString &section, const QString &entry) const
    {
        const auto found = m_values.constFind(key(section, entry));
        if (found == m_values.constEnd())
            return std::nullopt;
        return *found;
    }
    void setFailWrites(bool fail) { m_failWrites = fail; }
    int readCount() const { return m_reads; }
    int writeCount() const { return m_writes; }

private:
    static QString key(const QString &section, const QString &entry)
    {
        return section + QLatin1Char('/') + entry;
    }

    QString m_keyName;
    QHash<QString, std::int32_t> m_values;
    bool m_failWrites = false;
    int m_reads = 0;
    int m_writes = 0;
};
