#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The per-user store of named 32-bit integers, grouped in sections under one
// key. Reads always reflect the store as it is now, including what another
// running instance wrote; writes reach the store before they return.
class IntegerProfile
{
public:
    virtual ~IntegerProfile() = default;

    // Names the key under which every section lives. Until a key is named,
    // reads find nothing and writes are dropped.
    virtual void setKeyName(const QString &keyName) = 0;

    // The entry's value, or nothing when the entry is absent, is not a 32-bit
    // integer, or the store cannot be read.
    virtual std::optional<std::int32_t> readInt(const QString &section, const QString &entry) = 0;

    // Stores the value, creating key, section and entry as needed, and leaves
    // every other entry as it was. Failure is silent.
    virtual void writeInt(const QString &section, const QString &entry, std::int32_t value) = 0;
};
