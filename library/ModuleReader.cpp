#include "library/ModuleReader.h"

#include <QCryptographicHash>

#include <libopenmpt/libopenmpt.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <sstream>

namespace {

/// Larger files are not read: the largest real modules are a few MiB.
constexpr qint64 kMaxModuleBytes = 64 * 1024 * 1024;

QString upperExtension(const QByteArray& path)
{
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QString() : QString::fromLatin1(name.mid(dot + 1)).toUpper();
}

QString text(const std::string& s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size())).trimmed();
}

/// The file's bytes, with size and time filled in; empty when it is no regular file, too
/// large or unreadable. Opened without blocking, so a named pipe never hangs the reader.
QByteArray readWhole(const QByteArray& path, ModuleRecord& record)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray content;
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        record.size = info.st_size;
        record.mtimeNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        if (info.st_size > 0 && info.st_size <= kMaxModuleBytes) {
            content.resize(info.st_size);
            qsizetype got = 0;
            while (got < content.size()) {
                const ssize_t n = ::read(fd, content.data() + got, size_t(content.size() - got));
                if (n <= 0)
                    break;
                got += n;
            }
            content.truncate(got);
        }
    }
    ::close(fd);
    return content;
}

void readModule(const QByteArray& content, ModuleRecord& record)
{
    std::ostringstream log;  // libopenmpt's warnings stay here, unread
    // Sample data is all that rendering needs and metadata does not.
    const std::map<std::string, std::string> ctls{{"load.skip_samples", "1"}, {"load.skip_plugins", "1"}};
    openmpt::module module(content.constData(), size_t(content.size()), log, ctls);
    record.state = ModuleRecord::State::Read;
    record.format = text(module.get_metadata("type")).toUpper();
    record.title = text(module.get_metadata("title"));
    record.artist = text(module.get_metadata("artist"));
    record.tracker = text(module.get_metadata("tracker"));
    // "message" would make one of the sample names where there is none: they are kept already.
    record.message = text(module.get_metadata("message_raw"));
    record.channels = module.get_num_channels();
    for (int subsong = 0; subsong < module.get_num_subsongs(); ++subsong) {
        module.select_subsong(subsong);
        record.subsongSeconds << module.get_duration_seconds();
    }
    QStringList names;
    for (const std::vector<std::string>& list : {module.get_instrument_names(), module.get_sample_names()})
        for (const std::string& name : list)
            if (const QString n = text(name); !n.isEmpty() && !names.contains(n))
                names << n;  // an instrument often bears the name of its sample
    record.names = names.join(QLatin1Char('\n'));
}

}  // namespace

ModuleRecord readModuleRecord(const QByteArray& path)
{
    ModuleRecord record;
    record.path = path;
    record.format = upperExtension(path);
    const QByteArray content = readWhole(path, record);
    if (content.isEmpty())
        return record;
    record.hash = QCryptographicHash::hash(content, QCryptographicHash::Md5);
    try {
        readModule(content, record);
    } catch (...) {
        // Refused by libopenmpt: indexed by name only.
        ModuleRecord unread;
        unread.path = record.path;
        unread.size = record.size;
        unread.mtimeNs = record.mtimeNs;
        unread.hash = record.hash;
        unread.format = upperExtension(path);
        return unread;
    }
    if (record.format.isEmpty())
        record.format = upperExtension(path);
    return record;
}
