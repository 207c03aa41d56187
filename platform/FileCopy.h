#pragma once

#include <QString>

/// Copying module files without ever losing or replacing one. They block until done.
namespace FileCopy {

/// How a copy ended. Tests as true when the copy is complete.
struct CopyResult {
    enum class Outcome {
        Copied,
        TargetTaken,  ///< something (a file, a link, a folder) already has the target's name
        Failed,       ///< any other reason, told by reason
    };
    Outcome outcome = Outcome::Failed;
    /// Why a Failed copy failed, as the system words it ("No space left on device"); empty
    /// otherwise.
    QString reason;

    explicit operator bool() const { return outcome == Outcome::Copied; }
};

/// Copies source to target, failing when target exists, or is a symbolic link (dangling or
/// not), which would put the copy where whoever planted it chose. The data goes to a temporary
/// file beside target, is flushed to the device and only then takes target's name, so a
/// failure (full volume, read error, name taken) never leaves a partial or foreign file
/// behind.
CopyResult CopyWithoutOverwrite(const QString& source, const QString& target);

}  // namespace FileCopy
