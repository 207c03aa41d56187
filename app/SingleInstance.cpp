#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#include <unistd.h>

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kLockTimeoutMs = 15000;
constexpr int kWriteTimeoutMs = 5000;
// A running instance fades out (up to 3 s) and loads before it answers. A file it keeps
// longer is delivered all the same: it is then showing the user a message about it.
constexpr int kHandledTimeoutMs = 6000;

QString displayName()
{
    for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return QStringLiteral("none");
}

bool instanceAnswers(QLocalSocket& socket, const QString& endpoint)
{
    socket.connectToServer(endpoint);
    return socket.waitForConnected(kConnectTimeoutMs);
}

}  // namespace

QString SingleInstance::EndpointName(const QString& caption)
{
    QString display = displayName();
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + QLatin1Char('/') + caption + QLatin1Char('-') + display;
    return QDir::tempPath() + QLatin1Char('/') + caption + QLatin1Char('-') +
           QString::number(getuid()) + QLatin1Char('-') + display;
}

std::unique_ptr<SingleInstance> SingleInstance::Claim(const QString& endpoint)
{
    // The lock makes simultaneous starts take turns: each either finds the instance or
    // becomes it, and only one can become it.
    auto lock = std::make_unique<QLockFile>(endpoint + QLatin1String(".lock"));
    lock->setStaleLockTime(0);  // stale only when its process is gone
    const bool locked = lock->tryLock(kLockTimeoutMs);

    QLocalSocket probe;
    if (instanceAnswers(probe, endpoint) || !locked)
        return nullptr;
    return std::unique_ptr<SingleInstance>(new SingleInstance(endpoint, std::move(lock)));
}

bool SingleInstance::Listen()
{
    QLocalServer::removeServer(m_endpoint);  // the endpoint of an instance that was killed
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const bool listening = m_server->listen(m_endpoint);
    m_lock.reset();
    return listening;
}

bool SingleInstance::SendFileToInstance(const QString& endpoint, const QString& text)
{
    QLocalSocket socket;
    if (!instanceAnswers(socket, endpoint))
        return false;
    QByteArray message = text.toUtf8();
    message.append('\0');
    socket.write(message);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kWriteTimeoutMs))
            return false;
    }
    if (socket.waitForReadyRead(kHandledTimeoutMs))
        return true;
    return socket.state() == QLocalSocket::ConnectedState;
}

void SingleInstance::Serve()
{
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    acceptConnections();
}

SingleInstance::SingleInstance(QString endpoint, std::unique_ptr<QLockFile> lock)
    : m_endpoint(std::move(endpoint)), m_lock(std::move(lock)) {}

SingleInstance::~SingleInstance()
{
    // Sockets still waiting belong to the server; deleting them reports their end to us, so
    // they go while everything they report to is still here.
    for (QLocalSocket* socket : m_pending.keys())
        socket->disconnect(this);
    m_server.reset();
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        m_pending.insert(socket, QByteArray());
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, this, [this, socket] { drop(socket); });
        idle->start(kIdleTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { drop(socket); });
        readFrom(socket);
    }
}

void SingleInstance::readFrom(QLocalSocket* socket)
{
    const auto pending = m_pending.find(socket);
    if (pending == m_pending.end())
        return;
    pending->append(socket->readAll());
    const qsizetype end = pending->indexOf('\0');
    if (end < 0) {
        if (pending->size() > kMaxMessageBytes)
            drop(socket);
        return;
    }
    if (end > kMaxMessageBytes) {
        drop(socket);
        return;
    }
    const QString text = QString::fromUtf8(pending->left(end));
    m_pending.erase(pending);
    emit fileReceived(text);
    socket->write("\x01", 1);
    socket->flush();
    socket->disconnectFromServer();
    socket->deleteLater();
}

void SingleInstance::drop(QLocalSocket* socket)
{
    if (m_pending.remove(socket) == 0)
        return;
    socket->abort();
    socket->deleteLater();
}
