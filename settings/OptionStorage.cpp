#include "settings/OptionStorage.h"

#include "platform/Registry.h"
#include "settings/RegistryKeys.h"
#include "settings/StoredNumber.h"

namespace {

QString sectionKey(const char* section)
{
    return RegistryKeys::kOptions + QLatin1Char('\\') + QLatin1String(section);
}

}  // namespace

void OptionStorage::read(const TextRow& row, QStringList& list) const
{
    list.clear();
    for (int n = 1; n <= row.count; ++n) {
        const QString text = stored(row, n);
        if (!text.isEmpty())
            list.append(text);
    }
}

void OptionStorage::write(const TextRow& row, const QStringList& list) const
{
    for (int n = 1; n <= qMin(list.size(), row.count); ++n) {
        const QString& text = list.at(n - 1);
        if (!text.isEmpty())
            store(row, n, text);
    }
}

QString OptionStorage::stored(const TextRow& row, int n) const
{
    return storedText(row.section, OptionValueName(row, n)).value_or(QString());
}

bool OptionStorage::stored(const FlagRow& row, int n) const
{
    const int number = storedNumber(row.section, OptionValueName(row, n), row.defaultValue ? 1 : 0);
    return row.accepts(number) ? number != 0 : row.defaultValue;
}

int OptionStorage::stored(const NumberRow& row, int n) const
{
    // A number outside the row is never used: a hand-edited "Fadeout" of 2147483647 would
    // otherwise freeze the window at the next change of module.
    const int number = storedNumber(row.section, OptionValueName(row, n), row.defaultValue);
    return row.accepts(number) ? number : row.defaultValue;
}

int OptionStorage::storedNumber(const char* section, const QString& name, int fallback) const
{
    const std::optional<QString> text = storedText(section, name);
    return text ? ParseStoredInteger(*text, fallback) : fallback;
}

std::optional<QString> OptionStorage::storedText(const char* section, const QString& name) const
{
    const auto value = m_registry.value(RegistryRoot::CurrentUser, sectionKey(section), name);
    if (!value)
        return std::nullopt;
    switch (value->type) {
    case RegistryValue::Type::String:
        return value->text;
    case RegistryValue::Type::Dword:
        return QString::number(static_cast<qint32>(value->number));
    case RegistryValue::Type::Binary:
        break;
    }
    return std::nullopt;
}

void OptionStorage::store(const TextRow& row, int n, const QString& text) const
{
    storeText(row.section, OptionValueName(row, n), text);
}

void OptionStorage::store(const FlagRow& row, int n, bool on) const
{
    storeText(row.section, OptionValueName(row, n), QString::number(on ? 1 : 0));
}

void OptionStorage::store(const NumberRow& row, int n, int number) const
{
    storeText(row.section, OptionValueName(row, n), QString::number(number));
}

void OptionStorage::storeText(const char* section, const QString& name, const QString& text) const
{
    m_registry.setValue(RegistryRoot::CurrentUser, sectionKey(section), name,
                        RegistryValue::fromString(text));
}
