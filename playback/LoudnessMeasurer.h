#pragma once

#include "platform/audio/Loudness.h"
#include "platform/audio/RenderQuality.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class LoudnessCache;
class QThread;

/// A song to be measured: subsong (from 0) of the module at path, rendered as quality says.
struct LoudnessJob {
    QString path;
    int subsong = 0;
    RenderQuality quality;

    bool operator==(const LoudnessJob&) const = default;
};

/// Measures a song (measureLoudness): null when it cannot, or cancel turned true; early, where
/// the song is long, gets the figures of its start meanwhile. Called on the measuring thread.
using MeasureLoudness = std::function<std::optional<Loudness>(
    const QString& path, const RenderQuality& quality, int subsong, const std::atomic<bool>& cancel,
    const std::function<void(const Loudness&)>& early)>;

/// Measures songs one after the other on a thread of its own at a low priority (nice 10),
/// so that neither the window nor the sound device ever waits for it, and keeps each figure in
/// the cache. Songs the cache knows already (found by their content) are not measured again.
/// The thread starts with the first song to measure and waits, idle, for the next.
///
/// The owner's methods: GUI thread. measured() comes back to it as a queued signal.
class LoudnessMeasurer : public QObject {
    Q_OBJECT
public:
    /// cache must outlive the measurer.
    LoudnessMeasurer(LoudnessCache& cache, MeasureLoudness measure);
    /// Cancels the song being measured and ends the thread.
    ~LoudnessMeasurer() override;
    LoudnessMeasurer(const LoudnessMeasurer&) = delete;
    LoudnessMeasurer& operator=(const LoudnessMeasurer&) = delete;

    /// Measures job before any other that waits (the song that plays); a job waiting already
    /// moves to the front.
    void measureFirst(const LoudnessJob& job);
    /// The songs to measure after those measureFirst() gave, in order, in place of those given
    /// here before (the slots of the disc as they are now).
    void measureAhead(const QList<LoudnessJob>& jobs);

signals:
    /// job's figures are in the cache now: measured, or found there when its turn came.
    void measured(const LoudnessJob& job);
    /// The figures of the start of the song whose cache key is key, while it is measured.
    void measuredEarly(const QString& key, const Loudness& loudness);

private:
    /// Wakes the thread for a job, starting it where it has not started; under m_lock.
    void startWork();
    void run();
    /// The next job, waiting for one; none once the measurer ends.
    std::optional<LoudnessJob> next();

    LoudnessCache& m_cache;
    MeasureLoudness m_measure;
    std::unique_ptr<QThread> m_thread;  // started with the first job
    QMutex m_lock;
    QWaitCondition m_jobsWaiting;
    // Under m_lock.
    QList<LoudnessJob> m_first;
    QList<LoudnessJob> m_ahead;
    std::atomic<bool> m_ending{false};
};
