#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

/// One running instance per user and display. The running instance listens on a local
/// socket that only its user can reach, named from the instance caption; a second start
/// connects, hands over its file and waits until the instance has handled it.
///
/// Wire format: the client sends the text as UTF-8 followed by one NUL byte; the server
/// answers one byte when the text has been handled and closes the connection. Connections
/// that send more than kMaxMessageBytes, or nothing complete within kIdleTimeoutMs, are
/// dropped unhandled.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxMessageBytes = 64 * 1024;
    static constexpr int kIdleTimeoutMs = 10000;

    /// The socket path for caption on this user's display: in $XDG_RUNTIME_DIR, or the
    /// temporary directory with the user id in the name.
    static QString EndpointName(const QString& caption);

    /// Claims the right to become the running instance unless another one answers on
    /// endpoint; returns nullptr when one does. Needs no application object, so a second start
    /// stays light. The claim holds a lock that keeps simultaneous starts waiting until
    /// Listen() has opened the endpoint; stale endpoints of killed instances are taken over.
    static std::unique_ptr<SingleInstance> Claim(const QString& endpoint);

    /// Opens the endpoint and releases the lock. Needs the application object (the server is
    /// served by its event loop). False when the endpoint cannot be opened. Second starts
    /// that come now wait until Serve().
    bool Listen();

    /// Hands over the files of second starts from now on, beginning with those that waited.
    void Serve();

    /// Hands text to the instance on endpoint and waits until it has handled it, or a few
    /// seconds at most (a file it is still busy with, for example showing a message about
    /// it, counts as handed over). False when no instance took the text.
    static bool SendFileToInstance(const QString& endpoint, const QString& text);

    ~SingleInstance() override;

signals:
    /// A second start handed over text. The connection is answered once the slots return.
    void fileReceived(const QString& text);

private:
    SingleInstance(QString endpoint, std::unique_ptr<QLockFile> lock);
    void acceptConnections();
    void readFrom(QLocalSocket* socket);
    void drop(QLocalSocket* socket);

    QString m_endpoint;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
    QHash<QLocalSocket*, QByteArray> m_pending;
};
