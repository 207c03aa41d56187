#include "desktop/SleepInhibitor.h"

#include "session/JukeboxSession.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString kWho = QStringLiteral("Jukarium");
const QString kWhy = QStringLiteral("A module is playing");
const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
// The portal's flag for suspending; logout (1), user switch (2) and idle (8) stay free.
constexpr uint kPortalSuspend = 4;

}  // namespace

SleepInhibitor::SleepInhibitor(QDBusConnection systemBus, QDBusConnection sessionBus, JukeboxSession& session)
    : m_systemBus(std::move(systemBus)), m_sessionBus(std::move(sessionBus))
{
    connect(&session, &JukeboxSession::playingChanged, this, &SleepInhibitor::setWanted);
    setWanted(session.player().Playing());
}

SleepInhibitor::~SleepInhibitor() { release(); }

void SleepInhibitor::setWanted(bool wanted)
{
    m_wanted = wanted;
    if (m_asking)
        return;
    const bool held = m_loginLock.isValid() || !m_portalRequest.isEmpty();
    if (wanted && !held)
        askLoginManager();
    else if (!wanted)
        release();
}

void SleepInhibitor::askLoginManager()
{
    QDBusMessage inhibit = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    inhibit << QStringLiteral("sleep") << kWho << kWhy << QStringLiteral("block");
    m_asking = true;
    auto* answer = new QDBusPendingCallWatcher(m_systemBus.asyncCall(inhibit), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answer) {
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *answer;
        answer->deleteLater();
        if (reply.isError() || !reply.value().isValid()) {
            askPortal();
            return;
        }
        m_loginLock = reply.value();
        answered();
    });
}

void SleepInhibitor::askPortal()
{
    QDBusMessage inhibit = QDBusMessage::createMethodCall(kPortal, QStringLiteral("/org/freedesktop/portal/desktop"),
                                                          QStringLiteral("org.freedesktop.portal.Inhibit"),
                                                          QStringLiteral("Inhibit"));
    inhibit << QString() << kPortalSuspend << QVariantMap{{QStringLiteral("reason"), kWhy}};
    auto* answer = new QDBusPendingCallWatcher(m_sessionBus.asyncCall(inhibit), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answer) {
        const QDBusPendingReply<QDBusObjectPath> reply = *answer;
        answer->deleteLater();
        if (!reply.isError())
            m_portalRequest = reply.value().path();
        answered();
    });
}

void SleepInhibitor::answered()
{
    m_asking = false;
    // Play may have stopped meanwhile. Without either service it goes on uninhibited; the
    // next start of play asks again.
    if (!m_wanted)
        release();
}

void SleepInhibitor::release()
{
    // The login manager lets go once every copy of its descriptor is closed.
    m_loginLock = QDBusUnixFileDescriptor();
    if (!m_portalRequest.isEmpty()) {
        m_sessionBus.asyncCall(QDBusMessage::createMethodCall(kPortal, m_portalRequest,
                                                              QStringLiteral("org.freedesktop.portal.Request"),
                                                              QStringLiteral("Close")));
        m_portalRequest.clear();
    }
}
