#include "settings/DesktopFileLinks.h"

#include "settings/MimeAppsList.h"

#include "platform/RegularFile.h"
#include "platform/WholeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

namespace {

constexpr int kMimeUpdateTimeoutMs = 30000;
const QString kIconName = QStringLiteral("jukarium");
// The theme every desktop falls back to, in the folder that takes icons of any size.
const QString kThemedIcon = QStringLiteral("/icons/hicolor/scalable/apps/jukarium.svg");

QString environmentDirectory(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    // Relative paths are invalid in these variables and are ignored.
    return QDir::isAbsolutePath(value) ? value : fallback;
}

QStringList environmentDirectories(const char* variable, const QStringList& fallback)
{
    QStringList directories = qEnvironmentVariable(variable).split(u':', Qt::SkipEmptyParts);
    directories.removeIf([](const QString& path) { return !QDir::isAbsolutePath(path); });
    return directories.isEmpty() ? fallback : directories;
}

/// Writes content as path unless the file already holds exactly that; true when written.
bool writeIfChanged(const QString& path, const QByteArray& content)
{
    if (RegularFile::ReadAll(path) == content)
        return false;
    return QDir().mkpath(QFileInfo(path).absolutePath())
           && WholeFileWriter::writeFile(path, content);
}

/// The program as the first word of an Exec line: in double quotes when it holds a reserved
/// character, then escaped as a desktop entry string, with "%" doubled so it is no field code.
QString execProgram(const QString& path)
{
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    static const QString kEscapedInQuotes = QStringLiteral("\"`$\\");
    QString word;
    if (std::any_of(path.cbegin(), path.cend(), [](QChar c) { return kReserved.contains(c); })) {
        word += u'"';
        for (const QChar c : path) {
            if (kEscapedInQuotes.contains(c))
                word += u'\\';
            word += c;
        }
        word += u'"';
    } else {
        word = path;
    }
    QString escaped;
    for (const QChar c : std::as_const(word)) {
        switch (c.unicode()) {
        case u'\\': escaped += QStringLiteral("\\\\"); break;
        case u'\n': escaped += QStringLiteral("\\n"); break;
        case u'\t': escaped += QStringLiteral("\\t"); break;
        case u'\r': escaped += QStringLiteral("\\r"); break;
        case u'%': escaped += QStringLiteral("%%"); break;
        default: escaped += c;
        }
    }
    return escaped;
}

/// A file of resources/ that is also installed with the program; empty when not built in.
QByteArray resource(const QString& name)
{
    QFile file(QStringLiteral(":/jukarium/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The installed desktop entry, each command line of it running programPath.
QByteArray desktopEntry(const QString& programPath)
{
    static const QByteArray kInstalledProgram = QByteArrayLiteral("Exec=jukarium ");
    QByteArrayList lines = resource(QStringLiteral("jukarium.desktop")).split('\n');
    for (QByteArray& line : lines) {
        if (line.startsWith(kInstalledProgram))
            line = "Exec=" + execProgram(programPath).toUtf8() + line.mid(kInstalledProgram.size() - 1);
    }
    return lines.join('\n');
}

void updateMimeDatabase(const QString& mimeDirectory)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (tool.isEmpty())
        return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(tool, {mimeDirectory});
    if (!process.waitForFinished(kMimeUpdateTimeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
}

/// Every mimeapps.list the desktop reads, most important first: the user's, the system's, then
/// those beside the desktop entries; each folder's desktop-specific lists before its own.
QStringList defaultsLists(const DesktopLocations& where)
{
    QStringList folders = QStringList{where.configHome} + where.configDirs;
    for (const QString& dir : QStringList{where.dataHome} + where.dataDirs)
        folders.append(dir + QStringLiteral("/applications"));
    QStringList lists;
    for (const QString& folder : std::as_const(folders)) {
        for (const QString& desktop : where.desktops)
            lists.append(folder + u'/' + desktop + QStringLiteral("-mimeapps.list"));
        lists.append(folder + QStringLiteral("/mimeapps.list"));
    }
    return lists;
}

/// Our types that no list of the desktop gives a default application.
QStringList typesWithoutDefault(const DesktopLocations& where)
{
    QStringList types = DesktopFileLinks::MimeTypes();
    for (const QString& path : defaultsLists(where)) {
        if (const std::optional<QByteArray> list = RegularFile::ReadAll(path)) {
            for (const QString& type : TypesWithDefault(*list, types))
                types.removeAll(type);
        }
    }
    return types;
}

/// The content of path: empty when there is no such file, nothing when it cannot be read.
std::optional<QByteArray> readExisting(const QString& path)
{
    if (!QFileInfo::exists(path))
        return QByteArray();
    return RegularFile::ReadAll(path);
}

}  // namespace

const QStringList& DesktopFileLinks::MimeTypes()
{
    static const QStringList types = [] {
        static const QByteArray kKey = QByteArrayLiteral("MimeType=");
        for (const QByteArray& line : resource(QStringLiteral("jukarium.desktop")).split('\n')) {
            if (line.startsWith(kKey))
                return QString::fromUtf8(line.mid(kKey.size())).split(u';', Qt::SkipEmptyParts);
        }
        return QStringList();
    }();
    return types;
}

DesktopLocations DesktopLocations::fromEnvironment()
{
    const QString home = QDir::homePath();
    DesktopLocations where;
    where.dataHome = environmentDirectory("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    where.configHome = environmentDirectory("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    where.configDirs = environmentDirectories("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
    where.dataDirs = environmentDirectories(
        "XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    where.desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(u':', Qt::SkipEmptyParts);
    return where;
}

void WriteDesktopFileLinks(const QString& programPath, const DesktopLocations& where)
{
    // The icon first, so that a desktop that notices the new entry finds its icon at once.
    if (const QByteArray icon = resource(QStringLiteral("jukarium.svg")); !icon.isEmpty())
        writeIfChanged(where.dataHome + kThemedIcon, icon);
    if (const QByteArray entry = desktopEntry(programPath); !entry.isEmpty())
        writeIfChanged(where.dataHome + QStringLiteral("/applications/") + DesktopFileLinks::kDesktopId, entry);

    const QString mimeDirectory = where.dataHome + QStringLiteral("/mime");
    const QByteArray description = resource(QStringLiteral("jukarium-mime.xml"));
    // A database never built (the tool was missing before) is built once it is there.
    if (!description.isEmpty()
        && (writeIfChanged(mimeDirectory + QStringLiteral("/packages/jukarium.xml"), description)
            || !QFileInfo::exists(mimeDirectory + QStringLiteral("/mime.cache"))))
        updateMimeDatabase(mimeDirectory);

    const QString listPath = where.configHome + QStringLiteral("/mimeapps.list");
    // A list that cannot be read is left alone rather than replaced by our lines alone.
    if (const std::optional<QByteArray> list = readExisting(listPath)) {
        const QByteArray extended = WithDefaultApplication(*list, typesWithoutDefault(where),
                                                           DesktopFileLinks::kDesktopId);
        // Compared here too, so that no empty list is created where there was none.
        if (extended != *list)
            writeIfChanged(listPath, extended);
    }
}
