#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

#include <memory>

class ClassModPlayer;
class JukeboxSession;
class MediaWindow;

/// The jukebox on the desktop's media controls (media keys, the panel's player, playerctl):
/// the MPRIS 2 interfaces org.mpris.MediaPlayer2 and org.mpris.MediaPlayer2.Player at
/// /org/mpris/MediaPlayer2, under the name org.mpris.MediaPlayer2.jukarium.
///
/// Commands reach the session's player and disc, and the window.
/// They run in the session's line of outside requests after the call has been answered, since
/// they may ask a question. Changes of properties are announced with PropertiesChanged once
/// the event loop is back, so a change of module goes from playing to playing with new
/// metadata, never through what lay between (the position, which changes all the time, is not
/// announced: it is read, and jumps are announced with Seeked). GUI thread only.
class MprisService : public QObject {
    Q_OBJECT
public:
    static inline const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.jukarium");
    static inline const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");

    /// Offers the interfaces on bus. Null when the bus is not connected or the object cannot be
    /// registered; the program then runs without media controls. When another jukebox (on
    /// another display) holds the name, this one is offered under a name with its process id.
    static std::unique_ptr<MprisService> Offer(QDBusConnection bus, JukeboxSession& session,
                                               MediaWindow& window);
    ~MprisService() override;

    /// Announces what changed since the last announcement, once the event loop is back.
    void Refresh();

    // What the adaptors ask and command.
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    double Volume() const;
    qlonglong Position() const;
    bool CanGoNext() const;
    bool CanGoPrevious() const;
    bool CanPlay() const;
    bool CanPause() const;
    bool CanSeek() const;
    /// What happens when a song ends: "Track" (it repeats), "Playlist" (the next slot of the
    /// disc plays), "None" (play stops); setting it changes that option.
    QString LoopStatus() const;
    void SetLoopStatus(const QString& status);

    void Raise();
    void Quit();
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong offset);
    void SetPosition(const QString& trackId, qlonglong position);
    void SetVolume(double volume);
    void OpenUri(const QString& uri);

signals:
    /// The play time jumped, to position microseconds.
    void Seeked(qlonglong position);

private:
    MprisService(QDBusConnection bus, JukeboxSession& session, MediaWindow& window);
    /// The properties of interface as announced.
    QVariantMap playerProperties() const;
    QString trackId() const;
    void announceChanges();

    QDBusConnection m_bus;
    QString m_name;
    JukeboxSession& m_session;
    ClassModPlayer& m_player;
    MediaWindow& m_window;
    int m_track = 0;  // counts loaded modules, for track ids that change with each
    QVariantMap m_announced;  // the player properties as last announced
    QTimer m_announcement;
};
