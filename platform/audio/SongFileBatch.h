#pragma once

#include "platform/audio/SongFile.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

/// One song of a batch: the module file and how to save it. An artist or comment tag left
/// empty is filled from the module; a subsong the module does not have is its first.
struct SongFileTask {
    QString modulePath;
    SongFileJob job;
};

/// Saves songs as audio files one after the other on a worker thread of its own, below the
/// priority of the audio thread, each from a module loaded there apart from the one that plays.
/// Created and used on the GUI thread, where its signals arrive; the GUI never waits for it but
/// when it is destroyed.
class SongFileBatch : public QObject {
    Q_OBJECT
public:
    explicit SongFileBatch(QList<SongFileTask> tasks, QObject* parent = nullptr);
    /// Cancels, and waits for the worker to see it: at most one piece of rendering.
    ~SongFileBatch() override;

    /// Begins the first task. Once only.
    void start();
    /// The file being written is removed and no further one is begun; finished() follows.
    void cancel();

    const QList<SongFileTask>& tasks() const { return m_tasks; }

signals:
    /// Task index (from 0) has begun.
    void fileStarted(int index);
    /// How far task index has come, 0 to 1; about ten times a second.
    void progressed(int index, double fraction);
    void fileFinished(int index, const SongFileResult& result);
    /// Every task is done, or the batch was cancelled; nothing follows.
    void finished();

private:
    /// The worker's work: each task in turn until done or cancelled.
    void run();
    /// Runs signal on the GUI thread, unless the batch is gone by then.
    template <typename Signal>
    void announce(Signal signal);

    const QList<SongFileTask> m_tasks;
    std::atomic<bool> m_cancel{false};
    std::unique_ptr<QThread> m_thread;
};
