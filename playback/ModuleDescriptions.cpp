#include "playback/ModuleDescriptions.h"

#include "app/PathParts.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <iconv.h>

namespace {

constexpr char kCtrlZ = 0x1A;

// Code page 437 to Unicode with the C library's converter.
QString fromCodePage437(const QByteArray& bytes)
{
    iconv_t converter = iconv_open("UTF-8", "CP437");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(bytes);
    QByteArray input = bytes;
    QByteArray output(input.size() * 3 + 4, Qt::Uninitialized);  // at most 3 bytes a character
    char* in = input.data();
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    const size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (converted == static_cast<size_t>(-1))
        return QString::fromLatin1(bytes);
    return QString::fromUtf8(output.constData(), output.size() - static_cast<qsizetype>(outLeft));
}

}  // namespace

namespace ModuleDescriptions {

QString BasePath(const QString& path)
{
    return path.left(path.size() - PathParts::UpperExtension(path).size());
}

QString FindIgnoringCase(const QString& path)
{
    const QFileInfo wanted(path);
    if (wanted.isFile())
        return path;
    const QDir directory = wanted.dir();
    const QStringList names = directory.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (name.compare(wanted.fileName(), Qt::CaseInsensitive) == 0)
            return directory.filePath(name);
    }
    return QString();
}

QString ReadTextFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return QStringLiteral("Can't find file \"") + path + QLatin1Char('"');
    QFile file;
    if (!RegularFile::OpenForReading(file, path))
        return QStringLiteral("Error while reading file..");

    QStringList lines;
    bool truncated = false;
    while (!file.atEnd()) {
        if (lines.size() == kMaxLines) {
            truncated = true;
            break;
        }
        QByteArray line = file.readLine(64 * 1024);
        const qsizetype ctrlZ = line.indexOf(kCtrlZ);
        const bool textEnds = ctrlZ >= 0;
        if (textEnds)
            line.truncate(ctrlZ);
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!(textEnds && line.isEmpty() && !lines.isEmpty()))
            lines.append(fromCodePage437(line));
        if (textEnds)
            break;
    }
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Error while reading file..");
    if (truncated)
        lines.append(QStringLiteral("...File truncated..."));
    return lines.join(QLatin1String("\r\n"));
}

}  // namespace ModuleDescriptions
