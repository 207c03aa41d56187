#pragma once

#include <QByteArray>
#include <QString>

/// Writes a file whole or not at all. The data goes to a new temporary file beside the target;
/// commit() makes it the target only when every byte has reached the device.
///
/// Every step is checked where its error shows: each write (unbuffered, so a full volume
/// fails there and not in a buffer flushed later), the sync and the close. Any failure, or a
/// writer destroyed without a successful commit, removes the temporary file and leaves the
/// target as it was.
///
/// A target that is a symbolic link is written through it: the linked file is replaced and the
/// link stays. A replaced file keeps its permissions; a new one gets 0666 less the umask.
class WholeFileWriter {
public:
    enum class Existing { Replace, Keep };

    explicit WholeFileWriter(const QString& target);
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    /// False when the temporary file could not be created (missing or read-only folder).
    bool isOpen() const { return m_fd >= 0; }

    /// Appends data; false on any error, after which commit() fails.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& data) { return write(data.constData(), data.size()); }

    /// Gives the new file the permission bits of the file at path.
    bool copyPermissionsFrom(const QString& path);

    /// Syncs and closes the new file and gives it the target's name. With Existing::Keep a
    /// target that exists by then is never replaced and the commit fails. True when the target
    /// now holds exactly what was written.
    bool commit(Existing existing = Existing::Replace);

    /// Writes data as the file at target, replacing it; true when it is there whole.
    static bool writeFile(const QString& target, const QByteArray& data);

private:
    void discard();

    QString m_target;
    QByteArray m_temporary;  // encoded path, empty when none
    int m_fd = -1;
    bool m_failed = false;
};
