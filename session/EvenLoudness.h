#pragma once

#include "playback/LoudnessMeasurer.h"
#include "playback/PlayerHost.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class ClassOptions;
class LoudnessCache;

/// Where the loudness of songs comes from: the cache file (under $XDG_CACHE_HOME/jukarium/)
/// and the measurement (measureLoudness). Without a measurement no song is levelled.
struct LoudnessSource {
    QString cacheFile;
    MeasureLoudness measure;
};

/// The levels of songs when every module plays at the same loudness (the option "Even
/// loudness" at its target): each song's gain brings its integrated loudness to the target,
/// but never its true peak above kHighestPeakDbtp. Figures come from the cache, or are
/// measured on the measurer's thread, the song that plays first, then those measureAhead()
/// gave. A long song that plays while it is measured is levelled by the figures of its start
/// meanwhile. While the option is off nothing is measured and no file is read.
/// GUI thread only.
class EvenLoudness : public QObject {
    Q_OBJECT
public:
    /// The highest true peak a gain may raise a song to: -1 dBTP, less half a dB for what a
    /// meter at a higher rate sees between the samples that the measurement does not.
    static constexpr double kHighestPeakDbtp = -1.5;

    /// options must outlive this object.
    EvenLoudness(const ClassOptions& options, LoudnessSource source);
    ~EvenLoudness() override;

    /// The level of subsong of the module at path now: none while its figures are measured
    /// (it is measured first), or a gain without figures from those of its start; without gain
    /// while the option is off or the file cannot be read.
    std::optional<SongLevel> LevelOf(const QString& path, int subsong);
    /// Songs to measure ahead, in order, after the one that plays; nothing while the option is off.
    void MeasureAhead(const QList<std::pair<QString, int>>& songs);

    /// The gain that levels a song of loudness to targetLufs; 0 for a silent song.
    static double GainFor(const Loudness& loudness, int targetLufs);

signals:
    /// The figures of a song became known: levels may have changed.
    void songMeasured();

private:
    bool levelling() const;
    /// The content hash of the file at path, read again only where its size or time changed.
    QString hashOf(const QString& path);

    const ClassOptions& m_options;
    std::unique_ptr<LoudnessCache> m_cache;
    std::unique_ptr<LoudnessMeasurer> m_measurer;  // none without a measurement
    struct KnownFile {
        qint64 size = 0;
        QDateTime modified;
        QString hash;
    };
    QHash<QString, KnownFile> m_files;
    /// The figures of the start of songs, by cache key, until the whole song is measured.
    QHash<QString, Loudness> m_early;
};
