#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

/// Starts the real jukebox program in the test's environment (headless, fresh home) and
/// ends whatever is still running when it goes out of scope.
class JukeboxProgram {
public:
    ~JukeboxProgram();

    /// Starts the program with arguments; the process is owned here.
    QProcess& start(const QStringList& arguments = {});

    /// Starts the program with arguments in workingDirectory and with environment.
    QProcess& start(const QStringList& arguments, const QString& workingDirectory,
                    const QProcessEnvironment& environment);

    /// Waits until a running instance answers on its endpoint. False after a guard time.
    static bool waitForInstance();

    /// Processes of this object that are still running.
    int runningCount() const;

private:
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

/// While it exists, the programs started and the endpoints named have no runtime directory, as
/// on a desktop that gives none, and a fresh temporary directory that every user may create
/// names in, like /tmp.
class NoRuntimeDirectory {
public:
    NoRuntimeDirectory();
    ~NoRuntimeDirectory();
    NoRuntimeDirectory(const NoRuntimeDirectory&) = delete;
    NoRuntimeDirectory& operator=(const NoRuntimeDirectory&) = delete;

    QString temporaryDirectory() const { return m_shared.path(); }

    /// The folder a start of this user keeps its endpoint in there.
    QString endpointFolder() const;

private:
    QTemporaryDir m_shared;
    const QByteArray m_runtime = qgetenv("XDG_RUNTIME_DIR");
    const bool m_hadTemporary = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray m_temporary = qgetenv("TMPDIR");
};
