#include "platform/WholeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// Characters of the target's name kept in a temporary file's name, which must stay below the
/// file system's limit of 255 bytes.
constexpr int kNameKept = 100;
/// Links followed in one chain at most, as the kernel does.
constexpr int kMaxLinks = 40;

QString temporaryPrefix(const QString& fileName)
{
    return u'.' + fileName.left(kNameKept) + u'.';
}

/// Whether name is one of our temporary names for a target whose prefix is given: the prefix,
/// eight lower-case hex digits and ".tmp".
bool isTemporaryName(const QString& name, const QString& prefix)
{
    static const QString kSuffix = QStringLiteral(".tmp");
    constexpr int kDigits = 8;
    if (name.size() != prefix.size() + kDigits + kSuffix.size() || !name.startsWith(prefix)
        || !name.endsWith(kSuffix))
        return false;
    for (const QChar c : QStringView(name).mid(prefix.size(), kDigits)) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return false;
    }
    return true;
}

/// Whether path still names the file open as fd, and not a file created after it was removed.
bool namesFile(const QByteArray& path, int fd)
{
    struct stat named = {};
    struct stat opened = {};
    return ::lstat(path.constData(), &named) == 0 && ::fstat(fd, &opened) == 0
           && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

/// The name a commit renames onto, and the permission bits of the regular file it replaces.
struct Destination {
    QString name;
    std::optional<mode_t> mode;  // none when no regular file is replaced
};

/// The link's content as a path: relative contents count from the link's folder.
std::optional<QString> linkTarget(const QString& link)
{
    char buffer[PATH_MAX];
    const ssize_t size = ::readlink(QFile::encodeName(link).constData(), buffer, sizeof buffer);
    if (size <= 0 || size == ssize_t(sizeof buffer))
        return std::nullopt;
    const QString target = QFile::decodeName(QByteArray(buffer, size));
    return QDir::isAbsolutePath(target) ? target : QFileInfo(link).absolutePath() + u'/' + target;
}

/// Where replacing path writes, when it may: the name itself, or the user's regular file at the
/// end of a chain of the user's links.
std::optional<Destination> replacedDestination(const QString& path)
{
    const uid_t user = ::geteuid();
    QString name = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat status = {};
        if (::lstat(QFile::encodeName(name).constData(), &status) != 0) {
            // Only the name itself may be new: a dangling link names a file of the planter's
            // choice.
            if (links == 0 && errno == ENOENT)
                return Destination{name, std::nullopt};
            return std::nullopt;
        }
        if (S_ISLNK(status.st_mode)) {
            if (status.st_uid != user)
                return std::nullopt;
            const std::optional<QString> next = linkTarget(name);
            if (!next)
                return std::nullopt;
            name = *next;
            continue;
        }
        if (links == 0) {
            return Destination{name, S_ISREG(status.st_mode) ? std::optional(status.st_mode & 07777)
                                                             : std::nullopt};
        }
        // Opened without following, so that a link swapped in since the look above cannot
        // stand in for the file.
        const int fd = ::open(QFile::encodeName(name).constData(),
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return std::nullopt;
        const bool ours = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == user;
        ::close(fd);
        if (!ours)
            return std::nullopt;
        return Destination{name, status.st_mode & 07777};
    }
    return std::nullopt;  // a loop, or a chain longer than the system would follow
}

/// Where a new file named path goes when nothing at that name may be replaced.
std::optional<Destination> newDestination(const QString& path)
{
    struct stat status = {};
    if (::lstat(QFile::encodeName(path).constData(), &status) == 0 || errno != ENOENT)
        return std::nullopt;
    return Destination{path, std::nullopt};
}

/// Syncs the directory that holds path, so that a rename in it survives a power failure.
void syncDirectoryOf(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);  // best effort: the file itself is on the device already
        ::close(fd);
    }
}

bool renameWithoutReplacing(const char* from, const char* to)
{
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without that flag: a hard link fails when the name is taken, too.
    if (::link(from, to) != 0)
        return false;
    ::unlink(from);  // the target is complete; a temporary name left behind is harmless
    return true;
}

}  // namespace

WholeFileWriter::WholeFileWriter(const QString& target, Existing existing) : m_existing(existing)
{
    // The system reads a name only up to a NUL: such a name would be another file.
    if (target.contains(QChar(0))) {
        noteError(EINVAL);
        return;
    }
    errno = 0;
    const std::optional<Destination> destination =
        existing == Existing::Replace ? replacedDestination(target) : newDestination(target);
    if (!destination) {
        // Refused without a system error: something is at the name that may not be replaced.
        noteError(errno == 0 || errno == ENOENT ? EEXIST : errno);
        return;
    }
    m_target = destination->name;
    const QFileInfo info(m_target);
    createTemporary(info.absolutePath(), info.fileName());
    if (m_fd >= 0 && destination->mode)
        ::fchmod(m_fd, *destination->mode);
}

void WholeFileWriter::createTemporary(const QString& directory, const QString& fileName)
{
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const QString name =
            temporaryPrefix(fileName)
            + QStringLiteral("%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
        m_temporary = QFile::encodeName(directory + u'/' + name);
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0666);
        if (m_fd < 0) {
            if (errno != EEXIST) {
                noteError(errno);
                break;
            }
            continue;
        }
        // Between the creation and the lock a start clearing abandoned temporaries may have
        // taken the file for one: it removes it, and another name is tried. Where the file
        // system has no locks, nobody can lock it and it is never taken for abandoned.
        const bool locked = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
        if ((locked && !namesFile(m_temporary, m_fd)) || (!locked && errno == EWOULDBLOCK)) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    if (m_fd < 0) {
        noteError(EEXIST);  // every name tried was taken
        m_temporary.clear();
    }
}

WholeFileWriter::~WholeFileWriter()
{
    discard();
}

void WholeFileWriter::discard()
{
    // Removed while still locked, so that nobody else takes it for abandoned meanwhile.
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_failed = true;
}

void WholeFileWriter::noteError(int number)
{
    if (m_error == 0)
        m_error = number;
}

bool WholeFileWriter::write(const char* data, qint64 size)
{
    if (m_fd < 0 || m_failed)
        return false;
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A write that takes nothing without an error has met the end of the volume.
            noteError(written < 0 ? errno : ENOSPC);
            m_failed = true;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool WholeFileWriter::copyPermissionsFrom(const QString& path)
{
    struct stat source = {};
    return m_fd >= 0 && ::stat(QFile::encodeName(path).constData(), &source) == 0
           && ::fchmod(m_fd, source.st_mode & 07777) == 0;
}

bool WholeFileWriter::commit()
{
    if (m_fd < 0 || m_failed) {
        discard();
        return false;
    }
    // The lock belongs to the open file, not to one descriptor: a second one keeps it until
    // the temporary file has the target's name, while the first is closed to see its errors.
    const int lock = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    // Delayed allocation may report a full volume only here, in the sync or the close.
    const bool synced = ::fsync(m_fd) == 0;
    if (!synced)
        noteError(errno);
    const bool closed = ::close(m_fd) == 0;
    if (!closed)
        noteError(errno);
    m_fd = -1;
    const QByteArray target = QFile::encodeName(m_target);
    const bool renamed = synced && closed
                         && (m_existing == Existing::Replace
                                 ? ::rename(m_temporary.constData(), target.constData()) == 0
                                 : renameWithoutReplacing(m_temporary.constData(), target.constData()));
    if (renamed)
        m_temporary.clear();
    else {
        noteError(errno);
        discard();
    }
    if (lock >= 0)
        ::close(lock);
    if (!renamed)
        return false;
    syncDirectoryOf(m_target);
    return true;
}

bool WholeFileWriter::writeFile(const QString& target, const QByteArray& data)
{
    WholeFileWriter writer(target);
    return writer.write(data) && writer.commit();
}

int WholeFileWriter::removeAbandonedTemporaries(const QString& target)
{
    const QFileInfo info(target);
    const QString prefix = temporaryPrefix(info.fileName());
    const QDir directory(info.absolutePath());
    int removed = 0;
    for (const QString& name : directory.entryList(QDir::Files | QDir::Hidden)) {
        if (!isTemporaryName(name, prefix))
            continue;
        const QByteArray path = QFile::encodeName(directory.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat status = {};
        // A lock that can be taken is one no writer holds; removed while it is held here.
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid()
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && namesFile(path, fd)
            && ::unlink(path.constData()) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
}
