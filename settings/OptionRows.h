#pragma once

#include <QString>

#include <algorithm>
#include <limits>
#include <span>

// The kinds of rows of the options table (OptionsTable.h). A row is one stored value: a string
// in the registry below the options key (RegistryKeys::kOptions), in the sub-key `section`,
// under the value name `name`. A row whose name holds "%1" stands for `count` values,
// numbered from 1 ("User Action #%1 - Path" is "User Action #1 - Path" to "... #3 - Path").
// How each kind is read and written: OptionStorage.h.

/// Text, stored as it is. Empty when not stored.
struct TextRow {
    const char* section;
    const char* name;
    int count = 1;
};

/// A switch, stored as "0" (off) or "1" (on). The stored text is read as a number by the rules
/// of NumberRow; a number outside first..last reads as defaultValue, any other one is on unless
/// it is 0.
struct FlagRow {
    const char* section;
    const char* name;
    bool defaultValue;
    int count = 1;
    int first = std::numeric_limits<int>::min();
    int last = std::numeric_limits<int>::max();

    constexpr bool accepts(int number) const { return number >= first && number <= last; }
};

/// A whole number, stored as signed decimal text. The stored text is read by the rules of
/// ParseStoredInteger (StoredNumber.h); text that is no number, and a number the row does not
/// accept, reads as defaultValue.
struct NumberRow {
    const char* section;
    const char* name;
    int defaultValue;
    /// The numbers accepted: first to last, and of those only the ones in `only` when it is not
    /// empty.
    int first;
    int last;
    std::span<const int> only = {};
    /// The options dialog offers first to lastOffered; a stored number beyond it shows at the
    /// dialog's last position.
    int lastOffered = last;
    int count = 1;

    constexpr bool accepts(int number) const
    {
        return number >= first && number <= last &&
               (only.empty() || std::find(only.begin(), only.end(), number) != only.end());
    }
};

/// The value name of value n (1 to row.count) of row.
template <typename Row>
QString OptionValueName(const Row& row, int n)
{
    const QString name = QLatin1String(row.name);
    return row.count > 1 ? name.arg(n) : name;
}
