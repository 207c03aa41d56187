#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

/// Starts the real jukebox program in the test's environment (headless, fresh home) and
/// ends whatever is still running when it goes out of scope.
class JukeboxProgram {
public:
    ~JukeboxProgram();

    /// Starts the program with arguments; the process is owned here.
    QProcess& start(const QStringList& arguments = {});

    /// Waits until a running instance answers on its endpoint. False after a guard time.
    static bool waitForInstance();

    /// Processes of this object that are still running.
    int runningCount() const;

private:
    std::vector<std::unique_ptr<QProcess>> m_processes;
};
