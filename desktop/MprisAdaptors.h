#pragma once

#include "desktop/MprisService.h"

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

/// org.mpris.MediaPlayer2: the program as a whole.
class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)
public:
    explicit MprisRootAdaptor(MprisService& service);

    bool canQuit() const { return true; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return false; }
    QString identity() const { return QStringLiteral("Jukarium"); }
    QString desktopEntry() const { return QStringLiteral("jukarium"); }
    QStringList supportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList supportedMimeTypes() const;

public slots:
    void Raise() { m_service.Raise(); }
    void Quit() { m_service.Quit(); }

private:
    MprisService& m_service;
};

/// org.mpris.MediaPlayer2.Player: playing, the current module, the volume.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
public:
    explicit MprisPlayerAdaptor(MprisService& service);

    QString playbackStatus() const { return m_service.PlaybackStatus(); }
    /// Modules play at their own speed only: the rate cannot be set.
    double rate() const { return 1.0; }
    QVariantMap metadata() const { return m_service.Metadata(); }
    double volume() const { return m_service.Volume(); }
    void setVolume(double volume) { m_service.SetVolume(volume); }
    qlonglong position() const { return m_service.Position(); }
    bool canGoNext() const { return m_service.CanGoNext(); }
    bool canGoPrevious() const { return m_service.CanGoPrevious(); }
    bool canPlay() const { return m_service.CanPlay(); }
    bool canPause() const { return m_service.CanPause(); }
    bool canSeek() const { return m_service.CanSeek(); }
    bool canControl() const { return true; }
    QString loopStatus() const { return m_service.LoopStatus(); }
    void setLoopStatus(const QString& status) { m_service.SetLoopStatus(status); }

public slots:
    void Next() { m_service.Next(); }
    void Previous() { m_service.Previous(); }
    void Pause() { m_service.Pause(); }
    void PlayPause() { m_service.PlayPause(); }
    void Stop() { m_service.Stop(); }
    void Play() { m_service.Play(); }
    void Seek(qlonglong offset) { m_service.Seek(offset); }
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position)
    {
        m_service.SetPosition(trackId.path(), position);
    }
    void OpenUri(const QString& uri) { m_service.OpenUri(uri); }

signals:
    void Seeked(qlonglong position);

private:
    MprisService& m_service;
};
