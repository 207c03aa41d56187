#pragma once

#include <QString>

/// File system helpers of moving a disc. GUI thread; they block until done.
namespace ModuleCopy {

/// Size in bytes of the file at path; 0 when it cannot be opened (missing, a directory).
qint64 fileSize(const QString& path);

/// Copies source to target, failing when target exists. The data goes to a temporary file
/// beside target, is flushed to the device and only then takes target's name, so a failure
/// (full volume, read error, name taken) never leaves a partial or foreign file behind.
/// True when target is complete.
bool copyWithoutOverwrite(const QString& source, const QString& target);

}  // namespace ModuleCopy
