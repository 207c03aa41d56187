#include "settings/MimeAppsList.h"

#include <QList>

namespace {

const QByteArray kSection = QByteArrayLiteral("[Default Applications]");

/// One line of a list: its text without blanks, CR and LF around it, and the offset of the
/// line after it.
struct Line {
    QByteArray text;
    qsizetype next;
};

QList<Line> linesOf(const QByteArray& list)
{
    QList<Line> lines;
    for (qsizetype start = 0; start < list.size();) {
        const qsizetype feed = list.indexOf('\n', start);
        const qsizetype end = feed < 0 ? list.size() : feed;
        const qsizetype next = feed < 0 ? list.size() : feed + 1;
        lines.append({list.mid(start, end - start).trimmed(), next});
        start = next;
    }
    return lines;
}

bool isSectionHeader(const QByteArray& line)
{
    return line.startsWith('[');
}

/// The type named by a "type=applications" line, or empty.
QString entryType(const QByteArray& line)
{
    const qsizetype equals = line.indexOf('=');
    return equals < 0 ? QString() : QString::fromUtf8(line.left(equals).trimmed());
}

/// Where new entries go: after the last non-blank line of the first section of defaults;
/// -1 when there is no such section.
qsizetype entriesPosition(const QList<Line>& lines)
{
    qsizetype at = -1;
    for (const Line& line : lines) {
        if (isSectionHeader(line.text)) {
            if (at >= 0)
                break;
            if (line.text == kSection)
                at = line.next;
        } else if (at >= 0 && !line.text.isEmpty()) {
            at = line.next;
        }
    }
    return at;
}

/// The line end of the first line: CR LF or LF.
QByteArray lineEndOf(const QByteArray& list)
{
    const qsizetype feed = list.indexOf('\n');
    return feed > 0 && list.at(feed - 1) == '\r' ? QByteArrayLiteral("\r\n")
                                                 : QByteArrayLiteral("\n");
}

}  // namespace

QStringList TypesWithDefault(const QByteArray& list, const QStringList& mimeTypes)
{
    QStringList named;
    bool inDefaults = false;
    for (const Line& line : linesOf(list)) {
        if (isSectionHeader(line.text))
            inDefaults = line.text == kSection;
        else if (inDefaults)
            named.append(entryType(line.text));
    }
    QStringList found;
    for (const QString& type : mimeTypes) {
        if (named.contains(type))
            found.append(type);
    }
    return found;
}

QByteArray WithDefaultApplication(const QByteArray& list, const QStringList& mimeTypes,
                                  const QString& desktopId)
{
    const QStringList chosen = TypesWithDefault(list, mimeTypes);
    const QByteArray lineEnd = lineEndOf(list);
    QByteArray entries;
    for (const QString& type : mimeTypes) {
        if (!chosen.contains(type))
            entries += type.toUtf8() + '=' + desktopId.toUtf8() + ';' + lineEnd;
    }
    if (entries.isEmpty())
        return list;

    const QList<Line> lines = linesOf(list);
    const bool lastLineUnended = !list.isEmpty() && !list.endsWith('\n');
    QByteArray result = list;
    if (const qsizetype at = entriesPosition(lines); at >= 0) {
        if (at == list.size() && lastLineUnended)
            entries.prepend(lineEnd);
        result.insert(at, entries);
        return result;
    }
    if (lastLineUnended)
        result += lineEnd;
    if (!lines.isEmpty() && !lines.last().text.isEmpty())
        result += lineEnd;  // the blank line before the new section
    return result + kSection + lineEnd + entries;
}
