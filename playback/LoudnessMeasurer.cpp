#include "playback/LoudnessMeasurer.h"

#include "playback/LoudnessCache.h"

#include <QThread>

#include <sys/resource.h>
#include <unistd.h>

LoudnessMeasurer::LoudnessMeasurer(LoudnessCache& cache, MeasureLoudness measure)
    : m_cache(cache), m_measure(std::move(measure))
{
    qRegisterMetaType<LoudnessJob>();
    qRegisterMetaType<Loudness>();
}

LoudnessMeasurer::~LoudnessMeasurer()
{
    {
        QMutexLocker locked(&m_lock);
        m_ending = true;
        m_jobsWaiting.wakeAll();
    }
    if (m_thread)
        m_thread->wait();
}

void LoudnessMeasurer::measureFirst(const LoudnessJob& job)
{
    QMutexLocker locked(&m_lock);
    m_first.removeAll(job);
    m_first.prepend(job);
    startWork();
}

void LoudnessMeasurer::measureAhead(const QList<LoudnessJob>& jobs)
{
    QMutexLocker locked(&m_lock);
    m_ahead = jobs;
    if (!m_ahead.isEmpty())
        startWork();
}

void LoudnessMeasurer::startWork()
{
    m_jobsWaiting.wakeAll();
    if (m_thread)
        return;
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->setObjectName(QStringLiteral("jk-loudness"));
    m_thread->start();
}

std::optional<LoudnessJob> LoudnessMeasurer::next()
{
    QMutexLocker locked(&m_lock);
    while (!m_ending && m_first.isEmpty() && m_ahead.isEmpty())
        m_jobsWaiting.wait(&m_lock);
    if (m_ending)
        return std::nullopt;
    return !m_first.isEmpty() ? m_first.takeFirst() : m_ahead.takeFirst();
}

void LoudnessMeasurer::run()
{
    // Below everything else of the program, the sound device's thread above all (on Linux
    // each thread has a nice value of its own), but not at the lowest: with a machine kept busy
    // by others (a build), that left the module that plays at its own level for a whole song.
    // A thread may not take back a nice value it has given up, so one value serves the song
    // heard now and those measured ahead.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    while (const std::optional<LoudnessJob> job = next()) {
        const QString hash = LoudnessCache::contentHash(job->path);
        if (hash.isEmpty())
            continue;  // no file to measure
        const QString key = LoudnessCache::keyOf(hash, job->quality, job->subsong);
        if (!m_cache.lookup(key)) {
            const std::optional<Loudness> loudness =
                m_measure(job->path, job->quality, job->subsong, m_ending,
                          [this, &key](const Loudness& early) { emit measuredEarly(key, early); });
            if (!loudness)
                continue;  // no module, or ending
            m_cache.insert(key, *loudness);
        }
        emit measured(*job);
    }
}
