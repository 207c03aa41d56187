#include "support/JukeboxProgram.h"

#include "support/TestEnvironment.h"

#include "app/SingleInstance.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

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
    auto process = std::make_unique<QProcess>();
    process->setProgram(TestEnvironment::jukariumBinary());
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
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
