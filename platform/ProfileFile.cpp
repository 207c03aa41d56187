#include "platform/ProfileFile.h"

#include "platform/RegularFile.h"
#include "platform/WholeFileWriter.h"

#include <QStringDecoder>

#include <optional>

namespace {

QString decode(const QByteArray& line)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(line);
    return utf8.hasError() ? QString::fromLatin1(line) : text;
}

/// text without leading and trailing blanks and tabs (other white space is part of a value).
QStringView trimBlanks(QStringView text)
{
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

bool sameName(QStringView a, QStringView b)
{
    return trimBlanks(a).compare(trimBlanks(b), Qt::CaseInsensitive) == 0;
}

/// The name of a "[name]" line, or nothing when line does not start a section.
std::optional<QStringView> sectionName(QStringView line)
{
    line = trimBlanks(line);
    const qsizetype close = line.indexOf(u']');
    if (!line.startsWith(u'[') || close < 0)
        return std::nullopt;
    return line.sliced(1, close - 1);
}

/// Where a key of a section is, or would go.
struct Place {
    qsizetype section = -1;  // line of the first matching "[section]", or -1
    qsizetype entry = -1;    // line of the first matching "key=" in it, or -1
    qsizetype end = -1;      // the line after the section's last entry, where a new key goes
};

Place find(const QList<QByteArray>& lines, const QString& section, const QString& key)
{
    Place place;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = decode(lines[i]);
        if (const auto name = sectionName(line)) {
            if (place.section >= 0)
                break;
            if (sameName(*name, section)) {
                place.section = i;
                place.end = i + 1;
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (place.section < 0 || equals < 0)
            continue;
        place.end = i + 1;
        if (place.entry < 0 && sameName(QStringView(line).first(equals), key))
            place.entry = i;
    }
    return place;
}

/// CR or LF in a written text would start a new line and break the file, so they become blanks.
QString withoutLineBreaks(QString text)
{
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}

QByteArray oneLine(const QString& text)
{
    return withoutLineBreaks(text).toUtf8();
}

/// value is enclosed in a pair of double or single quotes, which reading removes.
bool enclosedInQuotes(QStringView value)
{
    return value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
           && value.back() == value.front();
}

}  // namespace

ProfileFile::ProfileFile(QString path) : m_path(std::move(path)) {}

bool ProfileFile::load()
{
    m_lines.clear();
    const std::optional<QByteArray> content = RegularFile::ReadAll(m_path);
    if (!content)  // also for a directory or a named pipe
        return false;
    QByteArray data = *content;
    if (data.isEmpty())
        return true;
    if (data.endsWith('\n'))
        data.chop(1);  // the end of the last line, not an empty line after it
    m_lines = data.split('\n');
    for (QByteArray& line : m_lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return true;
}

QString ProfileFile::readString(const QString& section, const QString& key,
                                const QString& fallback) const
{
    const Place place = find(m_lines, section, key);
    if (place.entry < 0)
        return fallback;
    const QString line = decode(m_lines[place.entry]);
    QStringView value = trimBlanks(QStringView(line).sliced(line.indexOf(u'=') + 1));
    if (enclosedInQuotes(value))
        value = value.sliced(1, value.size() - 2);
    qsizetype length = qMin(value.size(), qsizetype(kMaxValueLength));
    if (length < value.size() && value[length - 1].isHighSurrogate())
        --length;  // never half a character
    return value.first(length).toString();
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QByteArray entry = oneLine(key) + '=' + oneLine(value);
    const Place place = find(m_lines, section, key);
    if (place.entry >= 0) {
        m_lines[place.entry] = entry;
    } else if (place.section >= 0) {
        m_lines.insert(place.end, entry);
    } else {
        if (!m_lines.isEmpty())
            m_lines.append(QByteArray());
        m_lines.append('[' + oneLine(section) + ']');
        m_lines.append(entry);
    }
}

void ProfileFile::removeKey(const QString& section, const QString& key)
{
    const Place place = find(m_lines, section, key);
    if (place.entry >= 0)
        m_lines.removeAt(place.entry);
}

QString ProfileFile::readableValue(const QString& value)
{
    const QString text = withoutLineBreaks(value);
    const bool changedByReading = trimBlanks(text).size() != text.size() || enclosedInQuotes(text);
    return changedByReading ? u'"' + text + u'"' : text;
}

bool ProfileFile::save() const
{
    QByteArray text;
    for (const QByteArray& line : m_lines)
        text += line + "\r\n";
    return WholeFileWriter::writeFile(m_path, text);
}
