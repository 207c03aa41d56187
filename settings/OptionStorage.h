#pragma once

#include "settings/OptionRows.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <optional>
#include <type_traits>

class Registry;

/// Reads and writes the rows of the options table in the current user's root of a registry,
/// below the options key, into and out of the values that hold them in memory: a row of one
/// value to a QString, bool, int or enum; a row of `count` values to a std::array of that size,
/// value n at n - 1; a text row to a QStringList as a list (see below).
///
/// Reading never fails: a value missing or stored as bytes gives the row's default, a number
/// stored as a DWORD counts as its signed decimal text, and the text is read by the row's
/// rules (OptionRows.h). Writing sets every value as a string, creating its sub-key when
/// missing; whether the file was written is the registry's to tell (Registry::commitWrites).
///
/// The registry must outlive the storage. GUI thread only.
class OptionStorage {
public:
    explicit OptionStorage(Registry& registry) : m_registry(registry) {}

    template <typename Row, typename Value>
    void read(const Row& row, Value& value) const
    {
        value = Value(stored(row, 1));
    }
    template <typename Row, typename Value, std::size_t count>
    void read(const Row& row, std::array<Value, count>& values) const
    {
        Q_ASSERT(row.count == static_cast<int>(count));
        for (int n = 1; n <= row.count; ++n)
            values[n - 1] = stored(row, n);
    }
    /// The row's values that are not empty, in the order of their numbers: gaps close up.
    void read(const TextRow& row, QStringList& list) const;

    template <typename Row, typename Value>
    void write(const Row& row, const Value& value) const
    {
        store(row, 1, value);
    }
    template <typename Row, typename Value, std::size_t count>
    void write(const Row& row, const std::array<Value, count>& values) const
    {
        Q_ASSERT(row.count == static_cast<int>(count));
        for (int n = 1; n <= row.count; ++n)
            store(row, n, values[n - 1]);
    }
    /// Entry n of list as value n, for the first row.count entries; empty entries and numbers
    /// past the list are left as stored, so older values there stay.
    void write(const TextRow& row, const QStringList& list) const;

private:
    QString stored(const TextRow& row, int n) const;
    bool stored(const FlagRow& row, int n) const;
    int stored(const NumberRow& row, int n) const;
    /// The stored number, or fallback when there is none.
    int storedNumber(const char* section, const QString& name, int fallback) const;
    /// The stored value as text, or none when it is missing or stored as bytes.
    std::optional<QString> storedText(const char* section, const QString& name) const;

    void store(const TextRow& row, int n, const QString& text) const;
    void store(const FlagRow& row, int n, bool on) const;
    void store(const NumberRow& row, int n, int number) const;
    template <typename Enum>
        requires std::is_enum_v<Enum>
    void store(const NumberRow& row, int n, Enum value) const
    {
        store(row, n, static_cast<int>(value));
    }
    void storeText(const char* section, const QString& name, const QString& text) const;

    Registry& m_registry;
};
