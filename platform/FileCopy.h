#pragma once

#include <QString>

/// Copying module files without ever losing or replacing one. They block until done.
namespace FileCopy {

/// Copies source to target, failing when target exists, or is a symbolic link (dangling or
/// not), which would put the copy where whoever planted it chose. The data goes to a temporary
/// file beside target, is flushed to the device and only then takes target's name, so a
/// failure (full volume, read error, name taken) never leaves a partial or foreign file
/// behind. True when target is complete.
bool CopyWithoutOverwrite(const QString& source, const QString& target);

}  // namespace FileCopy
