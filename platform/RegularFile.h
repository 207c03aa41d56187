#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;

/// Reading files that must be regular files: modules, discs, settings, descriptions.
/// A named pipe, a device or a socket under such a name would block a plain open() for good
/// (a pipe until someone writes to it); these functions open without blocking and refuse
/// anything that is not a regular file. Symbolic links are followed. A name with a NUL in it
/// names no file.
namespace RegularFile {

inline constexpr qint64 kNoLimit = -1;

/// Opens file for reading when path names a regular file. False, with file closed, otherwise.
bool OpenForReading(QFile& file, const QString& path);

/// The whole content of the regular file at path; nothing when it is no regular file, cannot
/// be read, or holds more than maxBytes (kNoLimit: any size).
std::optional<QByteArray> ReadAll(const QString& path, qint64 maxBytes = kNoLimit);

/// Size in bytes of the regular file at path; 0 when there is none.
qint64 Size(const QString& path);

}  // namespace RegularFile
