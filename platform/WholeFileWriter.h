#pragma once

#include <QByteArray>
#include <QString>

/// Writes a file whole or not at all. The data goes to a new temporary file beside the target,
/// named ".<target's name>.<8 hex digits>.tmp"; commit() makes it the target only when every
/// byte has reached the device.
///
/// Every step is checked where its error shows: each write (unbuffered, so a full volume
/// fails there and not in a buffer flushed later), the sync and the close. Any failure, or a
/// writer destroyed without a successful commit, removes the temporary file and leaves the
/// target as it was.
///
/// No file is ever created through a symbolic link: the temporary file is new (it fails
/// rather than follow a link planted at its name) and takes the target's place by a rename,
/// which replaces a name and never writes where a link points. A replaced file keeps its
/// permissions; a new one gets 0666 less the umask.
///
/// While it exists the temporary file is locked (flock), so removeAbandonedTemporaries()
/// tells the temporaries of running writers from those a killed process left behind.
class WholeFileWriter {
public:
    /// What happens to a file that already has the target's name.
    enum class Existing {
        /// It is replaced. A symbolic link at the name is written through (the file at the
        /// end of its chain is replaced and the link stays) only when every link of the chain
        /// and that regular file belong to the user running the program, as with settings
        /// kept as links into the user's own repository. A link of someone else, a link to
        /// someone else's file and a dangling link are left alone and the writer fails:
        /// following them would write where another user chose, or take their file from them.
        Replace,
        /// Nothing at the name is ever replaced, a symbolic link (dangling or not) included:
        /// the writer fails. For copies into folders that others may write to, such as /tmp.
        Keep,
    };

    explicit WholeFileWriter(const QString& target, Existing existing = Existing::Replace);
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    /// False when the target may not be written (see Existing) or the temporary file could not
    /// be created (missing or read-only folder).
    bool isOpen() const { return m_fd >= 0; }

    /// Appends data; false on any error, after which commit() fails.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& data) { return write(data.constData(), data.size()); }

    /// The temporary file's descriptor, for a library that writes the file itself and seeks
    /// back to finish it (an audio encoder); -1 when not open. It stays the writer's: the
    /// library must not close it, and tells of its own write errors, on which the caller
    /// drops the writer instead of committing.
    int descriptor() const { return m_fd; }

    /// Gives the new file the permission bits of the file at path.
    bool copyPermissionsFrom(const QString& path);

    /// Syncs and closes the new file and gives it the target's name. With Existing::Keep a
    /// name taken by then is never replaced and the commit fails. True when the target now
    /// holds exactly what was written.
    bool commit();

    /// The system's error number (errno) of the first step that failed, for telling the user
    /// why: EEXIST when the target may not be written (see Existing), ENOSPC for a full
    /// volume, EACCES or EROFS for a folder that cannot be written. 0 while nothing failed.
    int error() const { return m_error; }

    /// Writes data as the file at target, replacing it; true when it is there whole.
    static bool writeFile(const QString& target, const QByteArray& data);

    /// Removes the temporary files that writers of target left beside it when their process
    /// ended before the commit (a kill, a power failure): those of target's exact naming that
    /// are regular files of the user running the program and that no writer holds locked.
    /// Nothing else is touched. The number removed.
    static int removeAbandonedTemporaries(const QString& target);

private:
    /// Creates the locked temporary file in directory for a target named fileName.
    void createTemporary(const QString& directory, const QString& fileName);
    void discard();
    /// Keeps number as error() unless an earlier failure is kept already.
    void noteError(int number);

    QString m_target;  // the name that commit() renames onto; empty when it may not be written
    Existing m_existing;
    QByteArray m_temporary;  // encoded path, empty when none
    int m_fd = -1;
    bool m_failed = false;
    int m_error = 0;
};
