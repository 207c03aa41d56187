#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

/// What the fuzz targets share: checks that end the run as a crash libFuzzer reports, and
/// files for the parsers that read only files.

/// Ends the run, naming what did not hold, when ok is false. libFuzzer keeps the input that
/// did it as crash-<hash>.
inline void fuzzCheck(bool ok, const char* what)
{
    if (ok)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

/// The input as bytes, without a copy. Not NUL-terminated, so the address sanitizer sees a
/// parser that reads one byte past the end.
inline QByteArray fuzzBytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

/// A private directory for this run's files, removed when the run ends normally. On a RAM
/// file system where there is one: a disc saves with fsync, which on a real disc would make
/// every input cost milliseconds.
inline QString fuzzDirectory()
{
    static const std::unique_ptr<QTemporaryDir> directory = [] {
        for (const QString& parent : {QStringLiteral("/dev/shm"), QDir::tempPath()}) {
            auto made = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/jukarium-fuzz-XXXXXX"));
            if (made->isValid())
                return made;
        }
        fuzzCheck(false, "a temporary directory can be made");
        return std::unique_ptr<QTemporaryDir>();
    }();
    return directory->path();
}

/// The file called name in fuzzDirectory(), holding content from now on; its full path.
inline QString fuzzFile(const QString& name, const QByteArray& content)
{
    const QString path = fuzzDirectory() + u'/' + name;
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size(),
              "the input can be written to a file");
    return path;
}
