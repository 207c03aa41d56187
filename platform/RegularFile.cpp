#include "platform/RegularFile.h"

#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

namespace {

/// A descriptor of the regular file at path, opened without blocking, or -1.
int openRegular(const QString& path)
{
    // The system reads a name only up to a NUL: such a name would open another file.
    if (path.contains(QChar(0)))
        return -1;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool OpenForReading(QFile& file, const QString& path)
{
    const int fd = openRegular(path);
    if (fd < 0)
        return false;
    file.setFileName(path);
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

std::optional<QByteArray> ReadAll(const QString& path, qint64 maxBytes)
{
    QFile file;
    if (!OpenForReading(file, path) || (maxBytes != kNoLimit && file.size() > maxBytes))
        return std::nullopt;
    // One byte more than allowed tells a file that grew since it was opened. Asked for no more
    // than its size and that byte, as Qt sets aside all it is asked for before reading.
    QByteArray data = maxBytes == kNoLimit ? file.readAll() : file.read(std::min(maxBytes, file.size()) + 1);
    if (file.error() != QFileDevice::NoError || (maxBytes != kNoLimit && data.size() > maxBytes))
        return std::nullopt;
    return data;
}

qint64 Size(const QString& path)
{
    QFile file;
    return OpenForReading(file, path) ? file.size() : 0;
}

}  // namespace RegularFile
