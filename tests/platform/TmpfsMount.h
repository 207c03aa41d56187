#pragma once

#include <QDir>
#include <QProcess>
#include <QString>

/// A small tmpfs mounted on a directory, for a full or read-only volume in a test: tests run as
/// root, which ignores permission bits. Unmounted when destroyed. Needs the right to mount;
/// without it isMounted() is false and the test skips itself.
class TmpfsMount {
public:
    /// size as mount takes it ("1m", "64k").
    TmpfsMount(QString directory, const QString& size) : m_directory(std::move(directory))
    {
        QDir().mkpath(m_directory);
        m_mounted = run({"-t", "tmpfs", "-o", "size=" + size, "tmpfs", m_directory});
    }
    ~TmpfsMount()
    {
        if (m_mounted)
            QProcess::execute("umount", {m_directory});
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool isMounted() const { return m_mounted; }
    bool makeReadOnly() { return run({"-o", "remount,ro", m_directory}); }

private:
    static bool run(const QStringList& arguments) { return QProcess::execute("mount", arguments) == 0; }

    QString m_directory;
    bool m_mounted = false;
};
