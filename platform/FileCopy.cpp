#include "platform/FileCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <unistd.h>

namespace FileCopy {

qint64 FileSize(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.size() : 0;
}

bool CopyWithoutOverwrite(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QTemporaryFile out(QFileInfo(target).absolutePath() + QStringLiteral("/.jukarium-copy-XXXXXX"));
    if (!out.open())
        return false;  // the temporary file removes itself on every way out below

    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 read = in.read(buffer.data(), buffer.size());
        if (read < 0)
            return false;
        if (read == 0)
            break;
        if (out.write(buffer.constData(), read) != read)
            return false;
    }
    // The source is deleted once every copy is made: the copy must be on the device by then.
    if (!out.flush() || ::fsync(out.handle()) != 0)
        return false;
    out.setPermissions(in.permissions());
    if (!out.rename(target))  // fails when target exists; never replaces it
        return false;
    out.setAutoRemove(false);  // it would otherwise delete the finished copy under its new name
    return true;
}

}  // namespace FileCopy
