#pragma once

#include <QString>
#include <QStringList>

/// Where the desktop looks for programs, file types and default applications.
struct DesktopLocations {
    QString dataHome;      ///< $XDG_DATA_HOME: applications/ and mime/ are written below it
    QString configHome;    ///< $XDG_CONFIG_HOME: mimeapps.list is merged there
    QStringList dataDirs;  ///< $XDG_DATA_DIRS: only searched for an installed icon

    /// The user's locations from the environment, with the freedesktop defaults
    /// (~/.local/share, ~/.config, /usr/local/share:/usr/share).
    static DesktopLocations fromEnvironment();
};

/// The desktop file ID and the MIME types the program registers for.
namespace DesktopFileLinks {
inline const QString kDesktopId = QStringLiteral("jukarium.desktop");
inline const QStringList kMimeTypes = {
    QStringLiteral("audio/x-mod"), QStringLiteral("audio/x-s3m"), QStringLiteral("audio/x-xm"),
    QStringLiteral("application/x-jukarium-disc")};
}  // namespace DesktopFileLinks

/// Makes programPath (absolute) the desktop's handler of module and disc files:
/// - applications/jukarium.desktop below where.dataHome, running programPath with the file;
/// - mime/packages/jukarium.xml below where.dataHome, declaring the four types, followed by
///   update-mime-database on that mime/ directory where the tool is installed;
/// - the "[Default Applications]" entries of the four types in where.configHome/mimeapps.list,
///   keeping every other line of the user's.
/// A file is rewritten, whole, only when its content changes. Failures are silent: a file that
/// cannot be written keeps its old content. GUI thread; waits for update-mime-database.
void WriteDesktopFileLinks(const QString& programPath, const DesktopLocations& where);
