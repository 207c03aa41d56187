#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

/// The bytes of the file at path, or "(missing)" when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

/// Writes bytes to path as another program would, creating its directory.
inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/// 4 KiB of random bytes, the same in every run.
inline QByteArray randomBytes()
{
    QByteArray bytes(4096, '\0');
    QRandomGenerator generator(1234);
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return bytes;
}

/// A user other than the one running the tests (nobody), for files planted by someone else.
inline constexpr uid_t kAnotherUser = 65534;

/// Makes a symbolic link at link holding target as given: a relative target stays relative.
inline bool makeLink(const QString& target, const QString& link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
}

/// Gives the file or link at path (the link itself, not what it leads to) to kAnotherUser.
/// Needs root; false without.
inline bool giveToAnotherUser(const QString& path)
{
    return ::lchown(QFile::encodeName(path).constData(), kAnotherUser, kAnotherUser) == 0;
}

/// Owner and permission bits of what is at path, links not followed; nothing when there is none.
struct FileOwnership {
    uid_t owner = 0;
    mode_t permissions = 0;
    friend bool operator==(const FileOwnership&, const FileOwnership&) = default;
};
inline std::optional<FileOwnership> ownershipOf(const QString& path)
{
    struct stat status = {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileOwnership{status.st_uid, status.st_mode & 07777};
}
