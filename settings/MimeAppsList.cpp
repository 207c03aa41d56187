#include "settings/MimeAppsList.h"

namespace {

const QString kSection = QStringLiteral("[Default Applications]");

bool isSectionHeader(const QString& line)
{
    return line.trimmed().startsWith(u'[');
}

/// The type named by a "type=applications" line, or empty.
QString entryType(const QString& line)
{
    const qsizetype equals = line.indexOf(u'=');
    return equals < 0 ? QString() : line.left(equals).trimmed();
}

QString entryFor(const QString& mimeType, const QString& desktopId, const QString& oldLine)
{
    QStringList applications{desktopId};
    if (!oldLine.isEmpty()) {
        const QString oldValue = oldLine.mid(oldLine.indexOf(u'=') + 1);
        for (const QString& part : oldValue.split(u';')) {
            const QString application = part.trimmed();
            if (!application.isEmpty() && !applications.contains(application))
                applications.append(application);
        }
    }
    return mimeType + u'=' + applications.join(u';') + u';';
}

}  // namespace

QString WithDefaultApplication(const QString& list, const QStringList& mimeTypes,
                               const QString& desktopId)
{
    QStringList lines = list.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();  // the end of the last line, or an empty text

    qsizetype start = -1;
    for (qsizetype i = 0; start < 0 && i < lines.size(); ++i) {
        if (lines.at(i).trimmed() == kSection)
            start = i;
    }
    if (start < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(kSection);
        start = lines.size() - 1;
    }
    qsizetype end = start + 1;
    while (end < lines.size() && !isSectionHeader(lines.at(end)))
        ++end;

    for (const QString& mimeType : mimeTypes) {
        bool found = false;
        for (qsizetype i = start + 1; i < end; ++i) {
            if (entryType(lines.at(i)) == mimeType) {
                lines[i] = entryFor(mimeType, desktopId, lines.at(i));
                found = true;
            }
        }
        if (found)
            continue;
        qsizetype at = end;
        while (at > start + 1 && lines.at(at - 1).trimmed().isEmpty())
            --at;
        lines.insert(at, entryFor(mimeType, desktopId, QString()));
        ++end;
    }
    return lines.join(u'\n') + u'\n';
}
