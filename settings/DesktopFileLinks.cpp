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
const QString kThemedIcon = QStringLiteral("icons/hicolor/scalable/apps/jukarium.svg");

QString environmentDirectory(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    // Relative paths are invalid in these variables and are ignored.
    return QDir::isAbsolutePath(value) ? value : fallback;
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

/// The themed icon name wherever an icon theme holds our icon; otherwise the icon installed
/// beside the program, by absolute path, so a copy run from its own prefix still shows it.
QString iconFor(const QString& programPath, const DesktopLocations& where)
{
    const QStringList dataDirs = QStringList{where.dataHome} + where.dataDirs;
    for (const QString& dir : dataDirs) {
        if (QFileInfo::exists(dir + u'/' + kThemedIcon))
            return kIconName;
    }
    const QString beside = QDir::cleanPath(QFileInfo(programPath).absolutePath()
                                           + QStringLiteral("/../share/") + kThemedIcon);
    return QFileInfo::exists(beside) ? beside : kIconName;
}

QByteArray desktopEntry(const QString& programPath, const DesktopLocations& where)
{
    const QString text =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Jukarium\n"
                       "GenericName=Module Jukebox\n"
                       "Comment=Plays MOD, S3M and XM modules and discs of them\n"
                       "Exec=%1 %f\n"
                       "Icon=%2\n"
                       "Terminal=false\n"
                       "Categories=AudioVideo;Audio;Player;\n"
                       "MimeType=%3;\n")
            .arg(execProgram(programPath), iconFor(programPath, where),
                 DesktopFileLinks::kMimeTypes.join(u';'));
    return text.toUtf8();
}

/// The MIME description that is also installed with the program (resources/jukarium-mime.xml).
QByteArray mimeDescription()
{
    QFile file(QStringLiteral(":/jukarium/jukarium-mime.xml"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

/// The content of path: empty when there is no such file, nothing when it cannot be read.
std::optional<QByteArray> readExisting(const QString& path)
{
    if (!QFileInfo::exists(path))
        return QByteArray();
    return RegularFile::ReadAll(path);
}

}  // namespace

DesktopLocations DesktopLocations::fromEnvironment()
{
    const QString home = QDir::homePath();
    DesktopLocations where;
    where.dataHome = environmentDirectory("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    where.configHome = environmentDirectory("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    const QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    where.dataDirs = dirs.isEmpty() ? QStringList{QStringLiteral("/usr/local/share"),
                                                  QStringLiteral("/usr/share")}
                                    : dirs.split(u':', Qt::SkipEmptyParts);
    return where;
}

void WriteDesktopFileLinks(const QString& programPath, const DesktopLocations& where)
{
    writeIfChanged(where.dataHome + QStringLiteral("/applications/") + DesktopFileLinks::kDesktopId,
                   desktopEntry(programPath, where));

    const QString mimeDirectory = where.dataHome + QStringLiteral("/mime");
    const QByteArray description = mimeDescription();
    // A database never built (the tool was missing before) is built once it is there.
    if (!description.isEmpty()
        && (writeIfChanged(mimeDirectory + QStringLiteral("/packages/jukarium.xml"), description)
            || !QFileInfo::exists(mimeDirectory + QStringLiteral("/mime.cache"))))
        updateMimeDatabase(mimeDirectory);

    const QString listPath = where.configHome + QStringLiteral("/mimeapps.list");
    // A list that cannot be read is left alone rather than replaced by our lines alone.
    if (const std::optional<QByteArray> list = readExisting(listPath)) {
        writeIfChanged(listPath, WithDefaultApplication(QString::fromUtf8(*list),
                                                        DesktopFileLinks::kMimeTypes,
                                                        DesktopFileLinks::kDesktopId)
                                     .toUtf8());
    }
}
