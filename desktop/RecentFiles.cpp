#include "desktop/RecentFiles.h"

#include "platform/RegularFile.h"
#include "platform/WholeFileWriter.h"
#include "session/JukeboxSession.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>

namespace {

const QString kBookmarkNamespace = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNamespace = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
const QString kApplication = QStringLiteral("Jukarium");
// Longer lists are not ours to read: GTK keeps them far smaller.
constexpr qint64 kMaxListBytes = 64 * 1024 * 1024;

/// Writes the start element the reader is at, with its namespace declarations and its
/// attributes, those named in changes replaced by their values there.
void copyStartElement(const QXmlStreamReader& reader, QXmlStreamWriter& writer,
                      std::initializer_list<std::pair<QString, QString>> changes)
{
    QXmlStreamAttributes changed;
    for (const auto& [name, value] : changes)
        changed.append(name, value);
    writer.writeStartElement(reader.namespaceUri().toString(), reader.name().toString());
    for (const QXmlStreamNamespaceDeclaration& declaration : reader.namespaceDeclarations())
        writer.writeNamespace(declaration.namespaceUri().toString(), declaration.prefix().toString());
    for (const QXmlStreamAttribute& attribute : reader.attributes()) {
        if (!changed.hasAttribute(attribute.qualifiedName().toString()))
            writer.writeAttribute(attribute);
    }
    writer.writeAttributes(changed);
}

void writeApplication(QXmlStreamWriter& writer, const QString& stamp, int count)
{
    writer.writeEmptyElement(kBookmarkNamespace, QStringLiteral("application"));
    writer.writeAttribute(QStringLiteral("name"), kApplication);
    writer.writeAttribute(QStringLiteral("exec"), QStringLiteral("'jukarium %u'"));
    writer.writeAttribute(QStringLiteral("modified"), stamp);
    writer.writeAttribute(QStringLiteral("count"), QString::number(count));
}

void writeBookmark(QXmlStreamWriter& writer, const QString& href, const QString& mimeType, const QString& stamp)
{
    writer.writeStartElement(QStringLiteral("bookmark"));
    writer.writeAttribute(QStringLiteral("href"), href);
    for (const char* time : {"added", "modified", "visited"})
        writer.writeAttribute(QLatin1String(time), stamp);
    writer.writeStartElement(QStringLiteral("info"));
    writer.writeStartElement(QStringLiteral("metadata"));
    writer.writeAttribute(QStringLiteral("owner"), QStringLiteral("http://freedesktop.org"));
    writer.writeEmptyElement(kMimeNamespace, QStringLiteral("mime-type"));
    writer.writeAttribute(QStringLiteral("type"), mimeType);
    writer.writeStartElement(kBookmarkNamespace, QStringLiteral("applications"));
    writeApplication(writer, stamp, 1);
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndElement();
}

/// The list with path's bookmark (of mimeType) added or brought up to stamp; nothing when list
/// is no XBEL.
std::optional<QByteArray> withBookmark(const QByteArray& list, const QString& path, const QString& mimeType,
                                       const QString& stamp)
{
    const QString href = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    QByteArray result;
    QXmlStreamWriter writer(&result);
    if (list.trimmed().isEmpty()) {
        writer.writeStartDocument();
        writer.writeNamespace(kBookmarkNamespace, QStringLiteral("bookmark"));
        writer.writeNamespace(kMimeNamespace, QStringLiteral("mime"));
        writer.writeStartElement(QStringLiteral("xbel"));
        writer.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
        writeBookmark(writer, href, mimeType, stamp);
        writer.writeEndDocument();
        return result;
    }
    QXmlStreamReader reader(list);
    bool inOurs = false;      // within path's bookmark
    bool found = false;       // path's bookmark was there
    bool counted = false;     // this program's use of it was counted
    while (!reader.atEnd()) {
        reader.readNext();
        const bool bookmark = reader.namespaceUri().isEmpty() && reader.name() == QLatin1String("bookmark");
        const bool applications = reader.namespaceUri() == kBookmarkNamespace && reader.name() == QLatin1String("applications");
        if (reader.isStartElement() && reader.name() == QLatin1String("xbel") && reader.namespaceUri().isEmpty()) {
            writer.writeCurrentToken(reader);
            // The namespaces of our elements, where the list does not declare them already.
            const QXmlStreamNamespaceDeclarations declared = reader.namespaceDeclarations();
            for (const auto& ours : {std::pair{kBookmarkNamespace, QStringLiteral("bookmark")},
                                     std::pair{kMimeNamespace, QStringLiteral("mime")}}) {
                if (std::none_of(declared.cbegin(), declared.cend(), [&](const QXmlStreamNamespaceDeclaration& d) {
                        return d.namespaceUri() == ours.first;
                    }))
                    writer.writeNamespace(ours.first, ours.second);
            }
        } else if (reader.isStartElement() && bookmark && reader.attributes().value(QLatin1String("href")) == href) {
            inOurs = found = true;
            copyStartElement(reader, writer, {{QStringLiteral("modified"), stamp}, {QStringLiteral("visited"), stamp}});
        } else if (inOurs && reader.isStartElement() && reader.namespaceUri() == kBookmarkNamespace
                   && reader.name() == QLatin1String("application")
                   && reader.attributes().value(QLatin1String("name")) == kApplication) {
            counted = true;
            const int count = reader.attributes().value(QLatin1String("count")).toInt() + 1;
            copyStartElement(reader, writer, {{QStringLiteral("modified"), stamp}, {QStringLiteral("count"), QString::number(count)}});
        } else if (inOurs && reader.isEndElement() && applications && !counted) {
            writeApplication(writer, stamp, 1);
            counted = true;
            writer.writeCurrentToken(reader);
        } else if (reader.isEndElement() && bookmark) {
            inOurs = false;
            writer.writeCurrentToken(reader);
        } else if (reader.isEndElement() && reader.name() == QLatin1String("xbel") && !found) {
            writeBookmark(writer, href, mimeType, stamp);
            writer.writeCurrentToken(reader);
        } else if (!reader.hasError()) {
            writer.writeCurrentToken(reader);
        }
    }
    if (reader.hasError())
        return std::nullopt;
    return result;
}

}  // namespace

RecentFiles::RecentFiles(QString xbelPath, JukeboxSession& session) : m_xbelPath(std::move(xbelPath))
{
    // A disc is known by its type even where the desktop's database does not know it yet.
    const auto addDisc = [this](const QString& path) {
        Add(m_xbelPath, path, QStringLiteral("application/x-jukarium-disc"), QDateTime::currentDateTimeUtc());
    };
    const auto addModule = [this](const QString& path) {
        Add(m_xbelPath, path, QMimeDatabase().mimeTypeForFile(path).name(), QDateTime::currentDateTimeUtc());
    };
    // What this start opened before the window was there: the file named, or the last ones.
    if (session.disc().DiscFileName() != ClassDisc::kNoDiscLoaded)
        addDisc(session.disc().DiscFileName());
    if (session.CurrentModule().size() > 1)
        addModule(session.CurrentModule());
    connect(&session, &JukeboxSession::moduleLoaded, this, addModule);
    connect(&session, &JukeboxSession::discLoaded, this, addDisc);
    connect(&session, &JukeboxSession::discSaved, this, addDisc);
}

QString RecentFiles::UsersList()
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    return (QDir::isAbsolutePath(dataHome) ? dataHome : QDir::homePath() + QStringLiteral("/.local/share"))
           + QStringLiteral("/recently-used.xbel");
}

bool RecentFiles::Add(const QString& xbelPath, const QString& path, const QString& mimeType, const QDateTime& now)
{
    std::optional<QByteArray> list = QByteArray();
    if (QFileInfo::exists(xbelPath))
        list = RegularFile::ReadAll(xbelPath, kMaxListBytes);
    if (!list)
        return false;
    const std::optional<QByteArray> written = withBookmark(*list, path, mimeType, now.toUTC().toString(Qt::ISODateWithMs));
    return written && QDir().mkpath(QFileInfo(xbelPath).absolutePath())
           && WholeFileWriter::writeFile(xbelPath, *written);
}
