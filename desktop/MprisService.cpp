#include "desktop/MprisService.h"

#include "desktop/MediaWindow.h"
#include "desktop/MprisAdaptors.h"
#include "playback/ClassModPlayer.h"
#include "session/JukeboxSession.h"
#include "settings/ClassOptions.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QHash>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
constexpr double kMicroseconds = 1e6;
constexpr int kFullVolume = 100;

qlonglong microseconds(double seconds) { return qlonglong(std::llround(seconds * kMicroseconds)); }

}  // namespace

std::unique_ptr<MprisService> MprisService::Offer(QDBusConnection bus, JukeboxSession& session,
                                                  MediaWindow& window)
{
    if (!bus.isConnected())
        return nullptr;
    std::unique_ptr<MprisService> service(new MprisService(bus, session, window));
    if (!bus.registerObject(kObjectPath, service.get(), QDBusConnection::ExportAdaptors))
        return nullptr;
    const QString ownName =
        kServiceName + QStringLiteral(".instance") + QString::number(QCoreApplication::applicationPid());
    for (const QString& name : {kServiceName, ownName}) {
        if (bus.registerService(name)) {
            service->m_name = name;
            return service;
        }
    }
    bus.unregisterObject(kObjectPath);
    return nullptr;
}

MprisService::MprisService(QDBusConnection bus, JukeboxSession& session, MediaWindow& window)
    : m_bus(std::move(bus)),
      m_session(session),
      m_player(session.player()),
      m_window(window)
{
    new MprisRootAdaptor(*this);
    new MprisPlayerAdaptor(*this);
    m_announcement.setSingleShot(true);
    connect(&m_announcement, &QTimer::timeout, this, &MprisService::announceChanges);
    connect(&m_session, &JukeboxSession::moduleLoaded, this, [this] {
        ++m_track;
        Refresh();
    });
    connect(&m_session, &JukeboxSession::moduleClosed, this, &MprisService::Refresh);
    // Another subsong is another track, with a length of its own.
    connect(&m_session, &JukeboxSession::subsongChanged, this, [this] {
        ++m_track;
        Refresh();
    });
    connect(&m_session, &JukeboxSession::playingChanged, this, &MprisService::Refresh);
    connect(&m_session, &JukeboxSession::stoppedAtStart, this, &MprisService::Refresh);
    // Whether there is a slot to go to may have changed.
    connect(&m_session, &JukeboxSession::slotChanged, this, &MprisService::Refresh);
    connect(&m_session, &JukeboxSession::seeked, this, [this] { emit Seeked(Position()); });
    m_announced = playerProperties();
}

MprisService::~MprisService()
{
    if (!m_name.isEmpty())
        m_bus.unregisterService(m_name);
    m_bus.unregisterObject(kObjectPath);
}

// --- Properties

QString MprisService::PlaybackStatus() const
{
    if (m_player.Playing())
        return QStringLiteral("Playing");
    return m_player.ModulePath().isEmpty() || m_session.StoppedAtStart() ? QStringLiteral("Stopped") : QStringLiteral("Paused");
}

QString MprisService::trackId() const
{
    return m_player.ModulePath().isEmpty() ? kNoTrack
                                           : QStringLiteral("/org/jukarium/track/%1").arg(m_track);
}

QVariantMap MprisService::Metadata() const
{
    QVariantMap metadata{{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId()))}};
    const QString path = m_player.ModulePath();
    if (path.isEmpty())
        return metadata;
    const ModuleDetails details = m_player.Details();
    QString title = m_session.CurrentModuleTitle();
    if (details.subsongs.size() > 1)
        title += QStringLiteral(" (subsong %1)").arg(details.subsong + 1);
    metadata.insert(QStringLiteral("xesam:title"), title);
    metadata.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    metadata.insert(QStringLiteral("mpris:length"), microseconds(details.durationSeconds));
    if (!details.message.isEmpty()) {
        static const QRegularExpression kLineEnd(QStringLiteral("\r\n|\r|\n"));
        metadata.insert(QStringLiteral("xesam:comment"), details.message.split(kLineEnd));
    }
    if (!details.artist.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{details.artist});
    return metadata;
}

double MprisService::Volume() const
{
    return m_player.OutputVolume() / double(kFullVolume);
}

qlonglong MprisService::Position() const
{
    return microseconds(m_player.PlayTime());
}

bool MprisService::CanGoNext() const { return m_session.SlotAway(1) != 0; }
bool MprisService::CanGoPrevious() const { return m_session.SlotAway(-1) != 0; }

QString MprisService::LoopStatus() const
{
    switch (m_session.options().AtTheEnd()) {
    case ClassOptions::SongEnd::RepeatIt:
        return QStringLiteral("Track");
    case ClassOptions::SongEnd::PlayNextSlot:
    case ClassOptions::SongEnd::PlayEverySubsong:
        return QStringLiteral("Playlist");
    case ClassOptions::SongEnd::Stop:
        break;
    }
    return QStringLiteral("None");
}

void MprisService::SetLoopStatus(const QString& status)
{
    static const QHash<QString, ClassOptions::SongEnd> kRules = {
        {QStringLiteral("Track"), ClassOptions::SongEnd::RepeatIt},
        {QStringLiteral("Playlist"), ClassOptions::SongEnd::PlayNextSlot},
        {QStringLiteral("None"), ClassOptions::SongEnd::Stop}};
    // Anything else changes nothing, nor does the status there is ("Playlist" is also every
    // subsong, then the next slot).
    if (const auto rule = kRules.constFind(status); rule != kRules.constEnd() && status != LoopStatus()) {
        m_player.SetSongEnd(*rule);
        Refresh();
    }
}
bool MprisService::CanPlay() const { return !m_player.ModulePath().isEmpty() || CanGoNext(); }
bool MprisService::CanPause() const { return !m_player.ModulePath().isEmpty(); }
bool MprisService::CanSeek() const { return !m_player.ModulePath().isEmpty(); }

QVariantMap MprisService::playerProperties() const
{
    return {
        {QStringLiteral("PlaybackStatus"), PlaybackStatus()},
        {QStringLiteral("Metadata"), Metadata()},
        {QStringLiteral("Volume"), Volume()},
        {QStringLiteral("CanGoNext"), CanGoNext()},
        {QStringLiteral("CanGoPrevious"), CanGoPrevious()},
        {QStringLiteral("CanPlay"), CanPlay()},
        {QStringLiteral("CanPause"), CanPause()},
        {QStringLiteral("CanSeek"), CanSeek()},
        {QStringLiteral("LoopStatus"), LoopStatus()},
    };
}

void MprisService::Refresh()
{
    if (!m_announcement.isActive())
        m_announcement.start(0);
}

void MprisService::announceChanges()
{
    const QVariantMap now = playerProperties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        // Metadata holds an object path, which QVariant cannot compare: its track id and
        // contents change together, so the track id stands for it.
        const bool same = it.key() == QStringLiteral("Metadata")
                              ? m_announced.value(it.key()).toMap().value(QStringLiteral("mpris:trackid"))
                                        .value<QDBusObjectPath>() == QDBusObjectPath(trackId())
                              : m_announced.value(it.key()) == it.value();
        if (!same)
            changed.insert(it.key(), it.value());
    }
    m_announced = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    m_bus.send(signal);
}

// --- Commands
// Each runs after the answer on the bus, in the session's line of outside requests: a command
// never runs inside a box, and a flood of them never queues without bound.

void MprisService::Raise()
{
    m_session.Request([this] { m_window.RaiseWindow(); });
}

void MprisService::Quit()
{
    m_session.Request([this] { m_window.QuitWindow(); });
}

void MprisService::Play() { m_session.RequestPlay(); }
void MprisService::Pause() { m_session.RequestPause(); }
void MprisService::PlayPause() { m_session.RequestPlayPause(); }
void MprisService::Stop() { m_session.RequestStop(); }
void MprisService::Next() { m_session.RequestNeighbour(1); }
void MprisService::Previous() { m_session.RequestNeighbour(-1); }

void MprisService::Seek(qlonglong offset)
{
    m_session.Request([this, offset] {
        if (m_player.ModulePath().isEmpty())
            return;
        const double target = std::max(0.0, m_player.PlayTime() + offset / kMicroseconds);
        // A jump past the end goes on to the next module, as media controls expect.
        if (target > m_player.Details().durationSeconds)
            m_session.RequestNeighbour(1);
        else
            m_player.SeekTo(target);
    });
}

void MprisService::SetPosition(const QString& track, qlonglong position)
{
    m_session.Request([this, track, position] {
        // A request meant for an earlier module is ignored.
        if (track != trackId() || m_player.ModulePath().isEmpty() || position < 0
            || position > microseconds(m_player.Details().durationSeconds))
            return;
        m_player.SeekTo(position / kMicroseconds);
    });
}

void MprisService::SetVolume(double volume)
{
    // Not a number would clamp to itself, and round to a muted output.
    if (std::isnan(volume))
        return;
    m_player.SetOutputVolume(int(std::lround(std::clamp(volume, 0.0, 1.0) * kFullVolume)));
    Refresh();
}

void MprisService::OpenUri(const QString& uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return;
    m_window.OpenFile(url.toLocalFile());
}
