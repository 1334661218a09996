#pragma once

#include "platform/integer_profile.h"

#include <QHash>

// An IntegerProfile held in memory, for tests of code that reads and writes
// settings. Writes are counted.
class FakeProfile final : public IntegerProfile
{
public:
    void setKeyName(const QString &) override {}

    std::optional<std::int32_t> readInt(const QString &section, const QString &entry) override
    {
        return value(section, entry);
    }

    void writeInt(const QString &section, const QString &entry, std::int32_t value) override
    {
        ++m_writes;
        set(section, entry, value);
    }

    // Test side: the stored state, seeded and inspected directly.
    void set(const QString &section, const QString &entry, std::int32_t value)
    {
        m_values.insert(section + QLatin1Char('/') + entry, value);
    }
    std::optional<std::int32_t> value(const QString &section, const QString &entry) const
    {
        const auto found = m_values.constFind(section + QLatin1Char('/') + entry);
        if (found == m_values.constEnd())
            return std::nullopt;
        return *found;
    }
    int writeCount() const { return m_writes; }

private:
    QHash<QString, std::int32_t> m_values;
    int m_writes = 0;
};
