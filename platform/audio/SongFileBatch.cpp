#include "platform/audio/SongFileBatch.h"

#include "platform/audio/ModuleFile.h"

#include <QElapsedTimer>
#include <QThread>

#include <sys/resource.h>
#include <unistd.h>

namespace {

/// The worker's niceness: the audio thread (at 0) always comes first, so that saving never
/// makes the music that plays stutter.
constexpr int kWorkerNiceness = 10;
constexpr qint64 kProgressIntervalMs = 100;

SongFileResult saveTask(SongFileTask task, const std::atomic<bool>& cancel,
                        const std::function<void(double)>& progress)
{
    QString reason;
    const std::unique_ptr<LoadedModule> loaded = loadModuleFile(task.modulePath, &reason);
    if (!loaded)
        return {SongFileResult::Outcome::Failed, QStringLiteral("the module was not loaded: ") + reason};
    SongFileJob& job = task.job;
    if (job.tags.artist.isEmpty())
        job.tags.artist = loaded->details.artist;
    if (job.tags.comment.isEmpty())
        job.tags.comment = loaded->details.message;
    if (job.song.subsong < 0 || job.song.subsong >= loaded->details.subsongs.size())
        job.song.subsong = 0;
    return writeSongFile(*loaded->module, job, cancel, progress);
}

}  // namespace

SongFileBatch::SongFileBatch(QList<SongFileTask> tasks, QObject* parent)
    : QObject(parent), m_tasks(std::move(tasks))
{
}

SongFileBatch::~SongFileBatch()
{
    cancel();
    if (m_thread)
        m_thread->wait();
}

void SongFileBatch::start()
{
    if (m_thread)
        return;
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->start();
}

void SongFileBatch::cancel()
{
    m_cancel.store(true);
}

template <typename Signal>
void SongFileBatch::announce(Signal signal)
{
    QMetaObject::invokeMethod(this, signal, Qt::QueuedConnection);
}

void SongFileBatch::run()
{
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kWorkerNiceness);
    for (int index = 0; index < m_tasks.size() && !m_cancel.load(); ++index) {
        announce([this, index] { emit fileStarted(index); });
        QElapsedTimer sinceShown;
        sinceShown.start();
        const auto progress = [&](double fraction) {
            if (sinceShown.elapsed() >= kProgressIntervalMs) {
                sinceShown.restart();
                announce([this, index, fraction] { emit progressed(index, fraction); });
            }
        };
        const SongFileResult result = saveTask(m_tasks.at(index), m_cancel, progress);
        announce([this, index, result] { emit fileFinished(index, result); });
    }
    announce([this] { emit finished(); });
}
