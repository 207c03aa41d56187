#include "settings/StoredNumber.h"

namespace {

int parseHex(QStringView digits, int fallback)
{
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok, 16);
    // toULongLong accepts a sign and a "0x" of its own; the stored text may not have them.
    if (!ok || digits.isEmpty() || !digits.front().isLetterOrNumber() ||
        digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) || value > 0xFFFFFFFFull)
        return fallback;
    return static_cast<int>(static_cast<quint32>(value));
}

}  // namespace

int ParseStoredInteger(const QString& text, int fallback)
{
    if (text.size() > 2 && text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return parseHex(QStringView(text).mid(2), fallback);
    if (text.startsWith(QLatin1Char('$')))
        return parseHex(QStringView(text).mid(1), fallback);
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : fallback;
}
