#include "platform/FileCopy.h"

#include "platform/RegularFile.h"
#include "platform/WholeFileWriter.h"

#include <QFile>

namespace FileCopy {

bool CopyWithoutOverwrite(const QString& source, const QString& target)
{
    QFile in;
    if (!RegularFile::OpenForReading(in, source))
        return false;
    WholeFileWriter out(target, WholeFileWriter::Existing::Keep);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 read = in.read(buffer.data(), buffer.size());
        if (read < 0)
            return false;
        if (read == 0)
            break;
        if (!out.write(buffer.constData(), read))
            return false;
    }
    // The source is deleted once every copy is made: the copy must be on the device by then.
    return out.copyPermissionsFrom(source) && out.commit();
}

}  // namespace FileCopy
