#include "app/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QTimer>

#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A running instance fades out (up to 3 s) and loads before it answers. A file it keeps
// longer is delivered all the same: it is then showing the user a message about it.
constexpr int kHandledTimeoutMs = 6000;
// How often a start looks again for an instance that holds the lock but does not listen yet.
constexpr int kRetryMs = 100;

QString displayName()
{
    for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return QStringLiteral("none");
}

// Not a symbolic link, owned by this user, closed to group and others.
bool isPrivateDirectory(const QString& path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 &&
           S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

QString privateDirectory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateDirectory(runtime))
        return runtime;
    // Every user may create names in the temporary directory, so this one may have been made
    // by someone else first: it is used only when it turns out to be ours and private.
    const QString own =
        QDir::tempPath() + QStringLiteral("/jukarium-") + QString::number(::geteuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    return isPrivateDirectory(own) ? own : QString();
}

// A lock that this user did not make names no instance of ours.
void removeIfForeign(const QString& lockPath)
{
    const QByteArray path = QFile::encodeName(lockPath);
    struct stat status = {};
    if (::lstat(path.constData(), &status) == 0 &&
        (!S_ISREG(status.st_mode) || status.st_uid != ::geteuid()))
        ::unlink(path.constData());
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// While the instance's queue of waiting connections is full, waits for room, timeoutMs at most.
bool connectTo(int socket, const QString& endpoint, int timeoutMs)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(endpoint);
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), path.size());
    const timeval timeout = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    return ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool listenerRunsAsThisUser(int socket)
{
    ucred peer = {};
    socklen_t size = sizeof peer;
    return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::geteuid();
}

bool sendAll(int socket, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes = bytes.sliced(sent);
    }
    return true;
}

// False when no instance of this user took message: none listens yet, its queue stayed full
// for waitMs, or it closed the connection unanswered because it is ending.
bool handOver(const QString& endpoint, const QByteArray& message, int waitMs)
{
    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!connectTo(socket.get(), endpoint, waitMs) || !listenerRunsAsThisUser(socket.get()) ||
        !sendAll(socket.get(), message))
        return false;
    pollfd answer = {socket.get(), POLLIN, 0};
    const int ready = ::poll(&answer, 1, kHandledTimeoutMs);
    if (ready == 0)
        return true;  // still busy with it
    char byte = 0;
    return ready > 0 && ::recv(socket.get(), &byte, 1, MSG_DONTWAIT) == 1;
}

}  // namespace

QString SingleInstance::EndpointName(const QString& caption)
{
    const QString directory = privateDirectory();
    if (directory.isEmpty())
        return QString();
    QString display = displayName();
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    return directory + QLatin1Char('/') + caption + QLatin1Char('-') + display;
}

std::unique_ptr<SingleInstance> SingleInstance::Claim(const QString& endpoint, const QString& text,
                                                      bool* handedOver)
{
    if (handedOver)
        *handedOver = false;
    QByteArray message = text.toUtf8();
    const bool fits = message.size() <= kMaxMessageBytes;
    message.append('\0');
    const QString lockPath = endpoint + QLatin1String(".lock");
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        removeIfForeign(lockPath);
        auto lock = std::make_unique<QLockFile>(lockPath);
        lock->setStaleLockTime(0);  // stale only when its process is gone
        if (lock->tryLock(0))
            return std::unique_ptr<SingleInstance>(new SingleInstance(endpoint, std::move(lock)));
        // The lock's live holder is the instance, listening or about to. However long it takes
        // to answer, it is there: this start must not become a second one.
        const qint64 left = kHandOverTimeoutMs - waited.elapsed();
        if (!fits || left <= 0)
            return nullptr;
        if (handOver(endpoint, message, static_cast<int>(left))) {
            if (handedOver)
                *handedOver = true;
            return nullptr;
        }
        QThread::msleep(kRetryMs);
    }
}

bool SingleInstance::Listen()
{
    QLocalServer::removeServer(m_endpoint);  // the endpoint of an instance that was killed
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Starts queue up here while the instance is busy loading; the system may allow fewer.
    m_server->setListenBacklogSize(SOMAXCONN);
    return m_server->listen(m_endpoint);
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
    m_lock.reset();
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
