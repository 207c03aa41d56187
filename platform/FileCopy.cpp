#include "platform/FileCopy.h"

#include "platform/RegularFile.h"
#include "platform/WholeFileWriter.h"

#include <QFile>

#include <cerrno>

namespace FileCopy {

namespace {

CopyResult failed(int error)
{
    if (error == EEXIST)
        return {CopyResult::Outcome::TargetTaken, QString()};
    return {CopyResult::Outcome::Failed, qt_error_string(error)};
}

}  // namespace

CopyResult CopyWithoutOverwrite(const QString& source, const QString& target)
{
    QFile in;
    errno = 0;
    if (!RegularFile::OpenForReading(in, source)) {
        // Opened but refused (a folder, a pipe) leaves no error number behind.
        const QString reason = errno != 0 ? qt_error_string(errno)
                                          : QStringLiteral("The module is no regular file");
        return {CopyResult::Outcome::Failed, reason};
    }
    WholeFileWriter out(target, WholeFileWriter::Existing::Keep);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 read = in.read(buffer.data(), buffer.size());
        if (read < 0)
            return {CopyResult::Outcome::Failed, in.errorString()};
        if (read == 0)
            break;
        if (!out.write(buffer.constData(), read))
            return failed(out.error());
    }
    // The source is deleted once every copy is made: the copy must be on the device by then.
    if (!out.copyPermissionsFrom(source))
        return failed(out.isOpen() ? errno : out.error());
    if (!out.commit())
        return failed(out.error());
    return {CopyResult::Outcome::Copied, QString()};
}

}  // namespace FileCopy
