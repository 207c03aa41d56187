#pragma once

#include "app/InstanceMessage.h"

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

class QLockFile;
class QSocketNotifier;

/// One running instance per user and display. The running instance holds a lock file for its
/// whole life and listens on a local socket beside it, both in a directory only its user can
/// enter; a second start finds the lock held, connects, hands over its file and waits until the
/// instance has handled it.
///
/// Wire format: the client sends the text as InstanceMessage writes it (UTF-8 followed by one
/// NUL byte); the server answers one byte when the text has been handled and closes the
/// connection. Connections that send more than kMaxMessageBytes, or nothing complete within
/// kIdleTimeoutMs, are dropped unhandled.
///
/// Plain sockets and a socket notifier of the event loop serve it: Qt's local sockets would
/// bring in its network library, and with it a megabyte of memory the jukebox never uses.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxMessageBytes = InstanceMessage::kMaxBytes;
    static constexpr int kIdleTimeoutMs = 10000;
    /// Second starts read at the same time; more wait in the system's queue of connections.
    static constexpr int kMaxPendingConnections = 64;
    /// How long a second start waits for the instance to take its text: while the instance
    /// is still starting, or so busy that its queue of waiting starts is full.
    static constexpr int kHandOverTimeoutMs = 30000;

    /// The socket path for caption on this user's display, in a directory only this user can
    /// enter: $XDG_RUNTIME_DIR when it is one, else "jukarium-<uid>" in the temporary
    /// directory, made with mode 0700 when missing. Empty when that name is taken by a
    /// directory that is not private (another owner, access for group or others, a symbolic
    /// link): such a start cannot meet the others safely and runs on its own.
    static QString EndpointName(const QString& caption);

    /// Becomes the running instance, or hands text to the one that runs and returns nullptr.
    /// A start that finds the lock held by a live process never becomes a second instance: it
    /// waits until that one takes the text, kHandOverTimeoutMs at most. A lock whose process
    /// is gone (a killed instance) is taken over; one made by another user is ignored. When
    /// nullptr is returned, *handedOver (if given) tells whether the instance took the text:
    /// it answered, or still held the connection after the few seconds a file takes to load.
    /// Needs no application object, so a second start stays light. The caller's thread
    /// blocks while waiting.
    static std::unique_ptr<SingleInstance> Claim(const QString& endpoint, const QString& text,
                                                 bool* handedOver = nullptr);

    /// Hands text to the running instance as Claim does, but never becomes one.
    enum class Delivery { Taken, NoInstance, NotTaken };
    static Delivery HandOverOnly(const QString& endpoint, const QString& text);

    /// Opens the endpoint, replacing a socket left by a killed instance. Needs the application
    /// object (the server is served by its event loop). False when the endpoint cannot be
    /// opened. Second starts that come now wait until Serve().
    bool Listen();

    /// Hands over the files of second starts from now on, beginning with those that waited.
    void Serve();

    /// Closes the endpoint, then releases the lock, so that the next instance's endpoint is
    /// never removed by this one.
    ~SingleInstance() override;

signals:
    /// A second start handed over text. The connection is answered once the slots return.
    void fileReceived(const QString& text);

private:
    class Connection;

    SingleInstance(QString endpoint, std::unique_ptr<QLockFile> lock);
    /// The lock when no instance holds it; otherwise null, after handing text to the instance.
    static std::unique_ptr<QLockFile> lockOrHandOver(const QString& endpoint, const QString& text,
                                                     bool* handedOver);
    void acceptConnection();
    void readFrom(Connection* connection);
    /// Closes a connection that brought no text, or too much.
    void drop(Connection* connection);
    /// Stops waiting for more of connection.
    void forget(Connection* connection);
    void closeEndpoint();

    QString m_endpoint;
    std::unique_ptr<QLockFile> m_lock;
    int m_listener = -1;
    std::unique_ptr<QSocketNotifier> m_listening;
    QSet<Connection*> m_pending;
};
