#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <functional>

/// A module file found by walkFolder().
struct FoundFile {
    QByteArray path;
    qint64 size = 0;
    qint64 mtimeNs = 0;
};

/// What walkFolder() passed over.
struct WalkCounts {
    /// Folders that could not be read (no permission, vanished while walked).
    int unreadableFolders = 0;
    /// Folders reached again through a symbolic link (a loop, or a second way in).
    int repeatedFolders = 0;
    /// Every folder entered, root first.
    QList<QByteArray> entered;
};

/// Calls found for every regular file below root (bytes of any encoding) whose extension is a
/// module type (any case), following symbolic links but entering each folder once. Stops early
/// when cancel turns true. False when root itself cannot be read (missing, vanished, no
/// folder). Any thread; found runs on the caller's.
bool walkFolder(const QByteArray& root, const std::function<void(FoundFile&&)>& found, WalkCounts& counts,
                const std::atomic<bool>& cancel);
