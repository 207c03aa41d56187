#pragma once

#include <QString>
#include <QStringList>

/// Where the desktop looks for programs, file types and default applications.
struct DesktopLocations {
    QString dataHome;        ///< $XDG_DATA_HOME: applications/, icons/, mime/ are written below
    QString configHome;      ///< $XDG_CONFIG_HOME: mimeapps.list is extended there
    QStringList configDirs;  ///< $XDG_CONFIG_DIRS: only read, for defaults chosen system-wide
    QStringList dataDirs;    ///< $XDG_DATA_DIRS: only read, for defaults chosen system-wide
    QStringList desktops;    ///< $XDG_CURRENT_DESKTOP in lower case: whose own lists are read too

    /// The user's locations from the environment, with the freedesktop defaults
    /// (~/.local/share, ~/.config, /etc/xdg, /usr/local/share:/usr/share, no desktop).
    static DesktopLocations fromEnvironment();
};

/// The desktop file ID and the MIME types the program registers for.
namespace DesktopFileLinks {
inline const QString kDesktopId = QStringLiteral("jukarium.desktop");
/// The types the installed desktop entry names (its MimeType key), in its order: the module
/// types that shared-mime-info defines, the disc, then the module types of
/// resources/jukarium-mime.xml. Any thread after the first call.
const QStringList& MimeTypes();
}  // namespace DesktopFileLinks

/// Makes programPath (absolute) the desktop's handler of module and disc files:
/// - icons/hicolor/scalable/apps/jukarium.svg below where.dataHome, the icon the entry names,
///   so that a program run from anywhere (a build tree too) shows it;
/// - applications/jukarium.desktop below where.dataHome: the installed entry, whose command
///   lines (the file's and its actions') run programPath;
/// - mime/packages/jukarium.xml below where.dataHome, declaring the types, followed by
///   update-mime-database on that mime/ directory where the tool is installed;
/// - in where.configHome/mimeapps.list, jukarium.desktop as the default application of each
///   type that has none yet in any mimeapps.list the desktop reads (the user's, the desktops'
///   own, the system's). A default chosen before is never replaced, and the user's list keeps
///   every byte that is not a new entry (WithDefaultApplication).
/// A file is rewritten, whole, only when its content changes. Failures are silent: a file that
/// cannot be written keeps its old content. GUI thread; waits for update-mime-database.
void WriteDesktopFileLinks(const QString& programPath, const DesktopLocations& where);
