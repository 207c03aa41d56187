#include "app/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cerrno>
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

// False when the path does not fit a socket address.
bool socketAddress(const QString& endpoint, sockaddr_un* address)
{
    *address = {};
    address->sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(endpoint);
    if (path.size() >= qsizetype(sizeof address->sun_path))
        return false;
    std::memcpy(address->sun_path, path.constData(), path.size());
    return true;
}

// While the instance's queue of waiting connections is full, waits for room, timeoutMs at most.
bool connectTo(int socket, const QString& endpoint, int timeoutMs)
{
    sockaddr_un address;
    if (!socketAddress(endpoint, &address))
        return false;
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
    std::unique_ptr<QLockFile> lock = lockOrHandOver(endpoint, text, handedOver);
    return lock ? std::unique_ptr<SingleInstance>(new SingleInstance(endpoint, std::move(lock))) : nullptr;
}

SingleInstance::Delivery SingleInstance::HandOverOnly(const QString& endpoint, const QString& text)
{
    bool handedOver = false;
    // A lock taken here is given back at once: nobody was there to take the text.
    if (lockOrHandOver(endpoint, text, &handedOver))
        return Delivery::NoInstance;
    return handedOver ? Delivery::Taken : Delivery::NotTaken;
}

std::unique_ptr<QLockFile> SingleInstance::lockOrHandOver(const QString& endpoint, const QString& text,
                                                          bool* handedOver)
{
    if (handedOver)
        *handedOver = false;
    const QByteArray message = InstanceMessage::write(text);
    const bool fits = !message.isEmpty();
    const QString lockPath = endpoint + QLatin1String(".lock");
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        removeIfForeign(lockPath);
        auto lock = std::make_unique<QLockFile>(lockPath);
        lock->setStaleLockTime(0);  // stale only when its process is gone
        if (lock->tryLock(0))
            return lock;
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

/// A second start's connection while its text arrives.
class SingleInstance::Connection : public QObject {
public:
    explicit Connection(int fd) : readable(fd, QSocketNotifier::Read, this), m_fd(fd)
    {
        idle.setSingleShot(true);
    }
    ~Connection() override
    {
        readable.setEnabled(false);  // before its descriptor goes
        ::close(m_fd);
    }
    int fd() const { return m_fd; }

    QByteArray received;
    QSocketNotifier readable;
    QTimer idle{this};

private:
    int m_fd;
};

bool SingleInstance::Listen()
{
    sockaddr_un address;
    if (!socketAddress(m_endpoint, &address))
        return false;
    ::unlink(address.sun_path);  // the endpoint of an instance that was killed
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // Starts queue up here while the instance is busy loading; the system may allow fewer.
    // The directory keeps others out; the mode says the same of the socket itself.
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
        || ::chmod(address.sun_path, 0600) != 0 || ::listen(m_listener, SOMAXCONN) != 0) {
        closeEndpoint();
        return false;
    }
    return true;
}

void SingleInstance::Serve()
{
    if (m_listener < 0)
        return;
    m_listening = std::make_unique<QSocketNotifier>(m_listener, QSocketNotifier::Read);
    connect(m_listening.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptConnection);
    acceptConnection();
}

SingleInstance::SingleInstance(QString endpoint, std::unique_ptr<QLockFile> lock)
    : m_endpoint(std::move(endpoint)), m_lock(std::move(lock)) {}

SingleInstance::~SingleInstance()
{
    qDeleteAll(m_pending);
    closeEndpoint();
    m_lock.reset();
}

void SingleInstance::closeEndpoint()
{
    m_listening.reset();
    if (m_listener < 0)
        return;
    ::close(m_listener);
    m_listener = -1;
    ::unlink(QFile::encodeName(m_endpoint).constData());
}

void SingleInstance::acceptConnection()
{
    // One at a time: the event loop must see the rest (a termination signal, the window)
    // between two. The socket stays readable while more wait, so the loop comes back for them.
    // Memory for texts on their way stays bounded: past the limit the listener rests until one
    // of them is handled or dropped.
    if (m_pending.size() >= kMaxPendingConnections) {
        m_listening->setEnabled(false);
        return;
    }
    const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0)
        return;  // none waiting (or the system is out of descriptors: they wait)
    auto* connection = new Connection(fd);
    m_pending.insert(connection);
    connect(&connection->idle, &QTimer::timeout, this, [this, connection] { drop(connection); });
    connection->idle.start(kIdleTimeoutMs);
    connect(&connection->readable, &QSocketNotifier::activated, this,
            [this, connection] { readFrom(connection); });
    readFrom(connection);
}

void SingleInstance::readFrom(Connection* connection)
{
    if (!m_pending.contains(connection))
        return;
    char chunk[4096];
    bool hungUp = false;
    for (;;) {
        const ssize_t got = ::recv(connection->fd(), chunk, sizeof chunk, MSG_DONTWAIT);
        if (got > 0) {
            connection->received.append(chunk, got);
            if (connection->received.size() > kMaxMessageBytes + 1)
                break;
            continue;
        }
        hungUp = !(got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR));
        break;
    }
    using State = InstanceMessage::Reading::State;
    const InstanceMessage::Reading message = InstanceMessage::read(connection->received);
    // Too long, or hung up (or failed) without a whole text: forgotten.
    if (message.state == State::Refused || (message.state == State::Incomplete && hungUp)) {
        drop(connection);
        return;
    }
    if (message.state == State::Incomplete)
        return;
    // No longer pending while it is handled: a message box shown meanwhile runs the event loop.
    forget(connection);
    emit fileReceived(message.text);
    ::send(connection->fd(), "\x01", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    connection->deleteLater();
}

void SingleInstance::drop(Connection* connection)
{
    if (m_pending.contains(connection)) {
        forget(connection);
        connection->deleteLater();
    }
}

void SingleInstance::forget(Connection* connection)
{
    m_pending.remove(connection);
    if (m_listening)
        m_listening->setEnabled(true);
    connection->readable.setEnabled(false);
    connection->idle.stop();
}
