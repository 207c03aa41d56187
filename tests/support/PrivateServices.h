#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>

/// The desktop's services for a test, each its own and ended with it: a bus of the real
/// dbus-daemon, the desktop's test doubles of python3-dbusmock on it, and a PulseAudio server
/// that plays into a null sink. Each one that cannot start here says why in whyNot(), so the
/// test skips with that message.

/// A private bus: a session bus, or one standing in for the system bus.
class PrivateBus {
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        m_daemon.start(daemon, {"--session", "--nofork", "--print-address"});
        if (!m_daemon.waitForReadyRead(5000))
            return;
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        m_name = QStringLiteral("test-bus-%1").arg(m_daemon.processId());
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(m_name);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    /// Empty when no dbus-daemon runs.
    const QString& address() const { return m_address; }
    QDBusConnection connection() const { return QDBusConnection::connectToBus(m_address, m_name); }

private:
    QProcess m_daemon;
    QString m_address;
    QString m_name;
};

/// A template of python3-dbusmock (notification_daemon, logind, ...) serving on bus; on a bus
/// that stands in for the system bus when the template is one of the system's.
class MockService {
public:
    MockService(const PrivateBus& bus, const QString& templateName, const QString& busName,
                bool systemBus = false)
    {
        const QString python = pythonWithDbusmock();
        if (python.isEmpty() || bus.address().isEmpty() || !m_log.open())
            return;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(systemBus ? "DBUS_SYSTEM_BUS_ADDRESS" : "DBUS_SESSION_BUS_ADDRESS", bus.address());
        m_mock.setProcessEnvironment(environment);
        m_mock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_mock.start(python, {"-m", "dbusmock", systemBus ? "--system" : "--session", "--template", templateName,
                              "--logfile", m_log.fileName()});
        m_mock.waitForStarted(5000);
        QDBusConnection client = bus.connection();
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000 && m_mock.state() == QProcess::Running) {
            if (client.interface()->isServiceRegistered(busName).value()) {
                m_running = true;
                return;
            }
            QThread::msleep(50);
        }
    }
    ~MockService()
    {
        m_mock.terminate();
        if (!m_mock.waitForFinished(5000)) {
            m_mock.kill();
            m_mock.waitForFinished();
        }
    }
    MockService(const MockService&) = delete;
    MockService& operator=(const MockService&) = delete;

    bool running() const { return m_running; }

    /// The calls the service took, one a line: the time, the method, its arguments.
    QStringList calls() const
    {
        QFile log(m_log.fileName());
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts)
                                             : QStringList();
    }

    /// A python 3 that has dbusmock: the system's (where Debian installs it) before the PATH's.
    static QString pythonWithDbusmock()
    {
        for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStandardPaths::findExecutable("python3")}) {
            if (python.isEmpty() || !QFileInfo(python).isExecutable())
                continue;
            QProcess probe;
            probe.start(python, {"-c", "import dbusmock"});
            if (probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
                return python;
        }
        return QString();
    }

private:
    QTemporaryFile m_log{QDir::tempPath() + "/dbusmock-XXXXXX.log"};
    QProcess m_mock;
    bool m_running = false;
};

/// A PulseAudio server of its own, playing into a null sink in real time; pactl() asks it.
class PrivateSoundServer {
public:
    PrivateSoundServer()
    {
        const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (pulseaudio.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty())
            return;
        m_socket = m_dir.path() + "/pulse.sock";
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_dir.path());
        environment.insert("XDG_RUNTIME_DIR", m_dir.path());
        m_server.setProcessEnvironment(environment);
        m_server.setStandardOutputFile(QProcess::nullDevice());
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.start(pulseaudio, {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                                    "-L", "module-null-sink sink_name=nullsink rate=44100",
                                    "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + m_socket});
        m_server.waitForStarted(5000);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000 && m_server.state() == QProcess::Running) {
            if (QFileInfo(m_socket).exists() && pactl({"info"}).contains("nullsink"))
                return;
            QThread::msleep(50);
        }
        m_socket.clear();
    }
    ~PrivateSoundServer()
    {
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished();
        }
    }
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    /// For PULSE_SERVER; empty when the server did not start.
    QString address() const { return m_socket.isEmpty() ? QString() : "unix:" + m_socket; }

    /// What pactl prints for arguments, asked of this server.
    QString pactl(const QStringList& arguments) const
    {
        QProcess pactl;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PULSE_SERVER", "unix:" + m_socket);
        pactl.setProcessEnvironment(environment);
        pactl.start(QStringLiteral("pactl"), arguments);
        pactl.waitForFinished(10000);
        return QString::fromUtf8(pactl.readAllStandardOutput());
    }

private:
    QTemporaryDir m_dir;
    QString m_socket;
    QProcess m_server;
};
