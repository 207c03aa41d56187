#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>

class JukeboxSession;

/// Keeps the computer from suspending while a module plays: the login manager's "sleep"
/// inhibitor (org.freedesktop.login1 on the system bus, held as long as its file descriptor
/// is open), or where that cannot be had, the desktop portal's suspend inhibition
/// (org.freedesktop.portal.Inhibit on the session bus, held until its request is closed).
/// Released when play stops or pauses, and at the end. Never an idle or screen saver
/// inhibition: the screen may go dark while music plays. Without either service nothing
/// happens. Every call is asynchronous, so the window never waits for a bus. GUI thread only.
class SleepInhibitor : public QObject {
    Q_OBJECT
public:
    /// Listens to session, which must outlive this object.
    SleepInhibitor(QDBusConnection systemBus, QDBusConnection sessionBus, JukeboxSession& session);
    ~SleepInhibitor() override;

private:
    /// Holds or releases as play asks; a change while a service is asked waits for its answer.
    void setWanted(bool wanted);
    void askLoginManager();
    void askPortal();
    /// The last service asked answered: what it gave is kept while play wants it, else given
    /// back.
    void answered();
    void release();

    QDBusConnection m_systemBus;
    QDBusConnection m_sessionBus;
    bool m_wanted = false;
    bool m_asking = false;
    QDBusUnixFileDescriptor m_loginLock;  // the login manager's inhibitor while held
    QString m_portalRequest;              // the portal's request object while held
};
