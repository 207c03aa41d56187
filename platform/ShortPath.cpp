#include "platform/ShortPath.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <unistd.h>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// Longest part of the file's own name kept in an alias; the hash alone keeps aliases apart.
constexpr qsizetype kMaxKeptName = 96;

bool isSpecial(QChar c)
{
    static const QString kSpecial = QStringLiteral("\"'`;$|&<>()*?!\\");
    return c.isSpace() || c.category() == QChar::Other_Control || kSpecial.contains(c);
}

bool hasSpecial(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), isSpecial);
}

// The directory exists (made now, owner-only) or is a real directory of ours, not a link
// someone else planted in a shared temporary directory; its permissions are narrowed.
// A directory whose own path is not clean is refused: every alias in it would carry that.
bool ensurePrivateDirectory(const QString& path)
{
    if (hasSpecial(path))
        return false;
    QDir().mkdir(path, kOwnerOnly);
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isDir() || info.ownerId() != ::getuid())
        return false;
    constexpr QFileDevice::Permissions kOthers =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return !(info.permissions() & kOthers) || QFile::setPermissions(path, kOwnerOnly);
}

// The directory that holds the aliases, or empty when none can be used.
QString aliasDirectory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
        const QString path = runtime + QStringLiteral("/jukarium-short");
        if (ensurePrivateDirectory(path))
            return path;
    }
    const QString fallback =
        QDir::tempPath() + QStringLiteral("/jukarium-short-%1").arg(::getuid());
    return ensurePrivateDirectory(fallback) ? fallback : QString();
}

// "<16 hex digits of SHA-1 of the path>-<file name without special characters>".
QString aliasName(const QString& absolutePath)
{
    const QByteArray hash =
        QCryptographicHash::hash(absolutePath.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString name = QFileInfo(absolutePath).fileName().right(kMaxKeptName);
    for (QChar& c : name) {
        if (isSpecial(c))
            c = u'_';
    }
    return QString::fromLatin1(hash) + u'-' + name;
}

}  // namespace

QString ShortPathName(const QString& path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists())
        return QString();
    if (!hasSpecial(path))
        return path;

    const QString directory = aliasDirectory();
    if (directory.isEmpty())
        return QString();
    const QString target = file.absoluteFilePath();
    const QString alias = directory + u'/' + aliasName(target);

    const QFileInfo existing(alias);
    if (existing.isSymLink() && existing.symLinkTarget() == target)
        return alias;
    if (existing.isSymLink() || existing.exists())
        QFile::remove(alias);  // stale: points elsewhere, or not a link at all
    if (QFile::link(target, alias))
        return alias;
    // Another instance may have made the same link in between.
    const QFileInfo made(alias);
    return made.isSymLink() && made.symLinkTarget() == target ? alias : QString();
}
