#include "desktop/ModuleNotifications.h"

#include "playback/ClassModPlayer.h"
#include "session/JukeboxSession.h"
#include "settings/ClassOptions.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kProgram = QStringLiteral("jukarium");
constexpr int kServersTimeout = -1;

QDBusMessage call(const QString& method)
{
    return QDBusMessage::createMethodCall(ModuleNotifications::kService, kPath, kInterface, method);
}

}  // namespace

ModuleNotifications::ModuleNotifications(QDBusConnection bus, JukeboxSession& session, WindowActive windowActive)
    : m_bus(std::move(bus)), m_session(session), m_windowActive(std::move(windowActive))
{
    connect(&m_session, &JukeboxSession::moduleLoaded, this,
            [this](const QString&, const QString& title, int slot) { moduleLoaded(title, slot); });
    // Titles and disc names may hold "<" or "&", which a service that reads markup would take
    // for tags.
    auto* capabilities = new QDBusPendingCallWatcher(m_bus.asyncCall(call(QStringLiteral("GetCapabilities"))), this);
    connect(capabilities, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answer) {
        const QDBusPendingReply<QStringList> reply = *answer;
        m_markup = !reply.isError() && reply.value().contains(QStringLiteral("body-markup"));
        answer->deleteLater();
    });
}

void ModuleNotifications::moduleLoaded(const QString& title, int slot)
{
    if (!m_session.options().Notify() || m_session.player().LoadedOrigin() == ClassModPlayer::Origin::User
        || m_windowActive())
        return;
    QStringList lines;
    if (const QString artist = m_session.player().Details().artist.trimmed(); !artist.isEmpty())
        lines << artist;
    if (slot != 0) {
        const QString disc = QFileInfo(m_session.DiscCaption()).completeBaseName();
        lines << (disc.isEmpty() ? QStringLiteral("Slot %1").arg(slot)
                                 : QStringLiteral("Slot %1 \u00B7 %2").arg(QString::number(slot), disc));
    }
    show({title, lines.join(QLatin1Char('\n'))});
}

void ModuleNotifications::show(const Bubble& bubble)
{
    if (m_showing) {
        m_waiting = bubble;
        return;
    }
    QDBusMessage notify = call(QStringLiteral("Notify"));
    const QVariantMap hints = {{QStringLiteral("desktop-entry"), kProgram}, {QStringLiteral("transient"), true}};
    notify << QStringLiteral("Jukarium") << m_shown << kProgram << bubble.summary
           << (m_markup ? bubble.body.toHtmlEscaped() : bubble.body) << QStringList() << hints
           << kServersTimeout;
    m_showing = true;
    auto* answer = new QDBusPendingCallWatcher(m_bus.asyncCall(notify), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answer) {
        const QDBusPendingReply<uint> reply = *answer;
        answer->deleteLater();
        if (!reply.isError())
            m_shown = reply.value();
        m_showing = false;
        if (m_waiting)
            show(*std::exchange(m_waiting, std::nullopt));
    });
}
