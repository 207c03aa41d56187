#include "platform/WholeFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// The file that writing to path really changes: the end of a chain of symbolic links.
QString writtenPath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString resolved = info.canonicalFilePath();
    // A dangling link names the file to be created.
    return resolved.isEmpty() ? info.symLinkTarget() : resolved;
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

WholeFileWriter::WholeFileWriter(const QString& target) : m_target(writtenPath(target))
{
    const QFileInfo info(m_target);
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const QString name = QStringLiteral(".%1.%2.tmp")
                                 .arg(info.fileName().left(100))
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
        m_temporary = QFile::encodeName(info.absolutePath() + u'/' + name);
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        m_temporary.clear();
        return;
    }
    struct stat existing = {};
    if (::stat(QFile::encodeName(m_target).constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(m_fd, existing.st_mode & 07777);
}

WholeFileWriter::~WholeFileWriter()
{
    discard();
}

void WholeFileWriter::discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
    m_failed = true;
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

bool WholeFileWriter::commit(Existing existing)
{
    if (m_fd < 0 || m_failed) {
        discard();
        return false;
    }
    // Delayed allocation may report a full volume only here, in the sync or the close.
    const bool synced = ::fsync(m_fd) == 0;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    const QByteArray target = QFile::encodeName(m_target);
    const bool renamed = synced && closed
                         && (existing == Existing::Replace
                                 ? ::rename(m_temporary.constData(), target.constData()) == 0
                                 : renameWithoutReplacing(m_temporary.constData(), target.constData()));
    if (!renamed) {
        discard();
        return false;
    }
    m_temporary.clear();
    syncDirectoryOf(m_target);
    return true;
}

bool WholeFileWriter::writeFile(const QString& target, const QByteArray& data)
{
    WholeFileWriter writer(target);
    return writer.write(data) && writer.commit();
}
