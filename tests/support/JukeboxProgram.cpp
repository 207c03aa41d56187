#include "support/JukeboxProgram.h"

#include "support/TestEnvironment.h"

#include "app/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

#include <csignal>

#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

JukeboxProgram::~JukeboxProgram()
{
    for (auto& process : m_processes) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
}

QProcess& JukeboxProgram::start(const QStringList& arguments)
{
    return start(arguments, QDir::currentPath(), QProcessEnvironment::systemEnvironment());
}

QProcess& JukeboxProgram::start(const QStringList& arguments, const QString& workingDirectory,
                                const QProcessEnvironment& environment)
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(TestEnvironment::jukariumBinary());
    process->setArguments(arguments);
    process->setWorkingDirectory(workingDirectory);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A test that crashes takes the program with it: left running, it would hold the test
    // runner's output open and stall the whole suite.
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process->start();
    process->waitForStarted(5000);
    m_processes.push_back(std::move(process));
    return *m_processes.back();
}

bool JukeboxProgram::waitForInstance()
{
    const QString endpoint = SingleInstance::EndpointName(QStringLiteral("Vorn Jukarium"));
    QElapsedTimer guard;
    guard.start();
    while (guard.elapsed() < 20000) {
        QLocalSocket probe;
        probe.connectToServer(endpoint);
        if (probe.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    return false;
}

int JukeboxProgram::runningCount() const
{
    int running = 0;
    for (const auto& process : m_processes)
        running += process->state() != QProcess::NotRunning;
    return running;
}

NoRuntimeDirectory::NoRuntimeDirectory()
{
    ::chmod(QFile::encodeName(m_shared.path()).constData(), 01777);
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(m_shared.path()));
}

NoRuntimeDirectory::~NoRuntimeDirectory()
{
    qputenv("XDG_RUNTIME_DIR", m_runtime);
    if (m_hadTemporary)
        qputenv("TMPDIR", m_temporary);
    else
        qunsetenv("TMPDIR");
}

QString NoRuntimeDirectory::endpointFolder() const
{
    return m_shared.path() + QStringLiteral("/jukarium-") + QString::number(::geteuid());
}
