#include "library/LibraryIndexer.h"

#include "library/FolderWalk.h"
#include "library/LibraryStore.h"
#include "library/ModuleReader.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace {

/// Readers and the writer yield to the audio thread and to the GUI: a nice value of 10 on
/// their own thread (Linux sets it per thread).
void lowerThreadPriority()
{
    setpriority(PRIO_PROCESS, id_t(gettid()), 10);
}

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool isBelow(const QByteArray& path, const QByteArray& folder)
{
    const QByteArray prefix = folder.endsWith('/') ? folder : folder + '/';
    return path.startsWith(prefix);
}

/// A record for a module given up after the time limit: name, size and time only.
ModuleRecord tooSlowRecord(const QByteArray& path)
{
    ModuleRecord record;
    record.path = path;
    record.state = ModuleRecord::State::TooSlow;
    struct stat info {};
    if (stat(path.constData(), &info) == 0) {
        record.size = info.st_size;
        record.mtimeNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    }
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    record.format = QString::fromLatin1(name.mid(name.lastIndexOf('.') + 1)).toUpper();
    return record;
}

}  // namespace

/// What the writer shares with the readers. Readers given up on keep it alive until they end.
struct LibraryIndexer::Scan {
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::condition_variable resultReady;
    // Under mutex:
    std::vector<QByteArray> jobs;
    size_t nextJob = 0;
    std::deque<ModuleRecord> results;
    struct Reader {
        QByteArray current;
        qint64 startedMs = 0;  // 0 while between modules
        bool abandoned = false;
        bool ended = false;
    };
    std::vector<std::shared_ptr<Reader>> readers;
    std::vector<std::thread> threads;  // of readers not given up on

    void startReader(const std::shared_ptr<Scan>& self);
    static void read(const std::shared_ptr<Scan>& scan, const std::shared_ptr<Reader>& me);
};

void LibraryIndexer::Scan::startReader(const std::shared_ptr<Scan>& self)
{
    auto reader = std::make_shared<Reader>();
    readers.push_back(reader);
    threads.emplace_back(&Scan::read, self, reader);
}

void LibraryIndexer::Scan::read(const std::shared_ptr<Scan>& scan, const std::shared_ptr<Reader>& me)
{
    lowerThreadPriority();
    for (;;) {
        QByteArray path;
        {
            std::lock_guard lock(scan->mutex);
            if (scan->cancel || scan->nextJob >= scan->jobs.size())
                break;
            path = scan->jobs[scan->nextJob++];
            me->current = path;
            me->startedMs = nowMs();
        }
        ModuleRecord record = readModuleRecord(path);
        std::lock_guard lock(scan->mutex);
        me->startedMs = 0;
        if (me->abandoned)
            return;  // its module is indexed as too slow already; a fresh reader took over
        scan->results.push_back(std::move(record));
        scan->resultReady.notify_one();
    }
    std::lock_guard lock(scan->mutex);
    me->ended = true;
    scan->resultReady.notify_one();
}

LibraryIndexer::LibraryIndexer(QString databasePath, QObject* parent)
    : QObject(parent), m_databasePath(std::move(databasePath))
{
    qRegisterMetaType<IndexProgress>();
    qRegisterMetaType<IndexSummary>();
}

LibraryIndexer::~LibraryIndexer()
{
    cancel();
    joinScan();
}

void LibraryIndexer::cancel()
{
    if (m_scan) {
        m_scan->cancel = true;
        m_scan->resultReady.notify_all();
    }
}

void LibraryIndexer::joinScan()
{
    if (m_writer.joinable())
        m_writer.join();
    m_scan.reset();
}

void LibraryIndexer::start(const QList<QByteArray>& folders)
{
    if (m_running)
        return;
    joinScan();
    m_running = true;
    m_scan = std::make_shared<Scan>();
    const int readers = m_readerCount > 0 ? m_readerCount : std::max(1, int(std::thread::hardware_concurrency()));
    m_writer = std::thread([this, scan = m_scan, folders, readers, path = m_databasePath] {
        lowerThreadPriority();
        IndexSummary summary;
        QElapsedTimer sinceProgress;
        sinceProgress.start();
        const auto report = [&](bool force) {
            if (!force && sinceProgress.elapsed() < 100)
                return;
            sinceProgress.restart();
            QMetaObject::invokeMethod(this, [this, p = summary.progress] { emit progressChanged(p); },
                                      Qt::QueuedConnection);
        };

        LibraryStore store;
        if (!store.open(path)) {
            summary.error = store.database().lastError();
        } else {
            store.setScanComplete(false);
            QHash<QByteArray, LibraryStore::KnownFile> unseen = store.knownFiles();
            QHash<QByteArray, qint64> changedIds;
            QList<QByteArray> missingFolders;

            // Walk: unchanged files are done at once, the others become jobs.
            for (const QByteArray& folder : folders) {
                WalkCounts counts;
                const bool walked = walkFolder(folder, [&](FoundFile&& file) {
                    ++summary.progress.found;
                    const auto known = unseen.constFind(file.path);
                    if (known != unseen.cend()) {
                        const bool same = known->size == file.size && known->mtimeNs == file.mtimeNs;
                        if (same)
                            ++summary.progress.indexed;
                        else
                            changedIds.insert(file.path, known->id);
                        unseen.erase(known);
                        if (same)
                            return;
                    }
                    scan->jobs.push_back(std::move(file.path));
                    summary.progress.left = int(scan->jobs.size());
                    report(false);
                }, counts, scan->cancel);
                summary.unreadableFolders += counts.unreadableFolders;
                summary.repeatedFolders += counts.repeatedFolders;
                summary.walkedFolders += counts.entered;
                if (!walked) {
                    ++summary.missingFolders;
                    missingFolders << folder;
                }
            }
            summary.progress.walked = true;
            report(true);

            // Read on the readers, write here in one transaction per wake.
            QSet<qint64> unseenIds;
            for (const auto& known : std::as_const(unseen))
                unseenIds.insert(known.id);
            {
                std::lock_guard lock(scan->mutex);
                for (int n = 0; n < readers; ++n)
                    scan->startReader(scan);
            }
            QElapsedTimer reading;
            reading.start();
            int read = 0;
            for (bool more = true; more;) {
                std::deque<ModuleRecord> batch;
                {
                    std::unique_lock lock(scan->mutex);
                    scan->resultReady.wait_for(lock, std::chrono::milliseconds(100), [&] {
                        return !scan->results.empty()
                            || std::all_of(scan->readers.begin(), scan->readers.end(),
                                           [](const auto& r) { return r->ended || r->abandoned; });
                    });
                    batch.swap(scan->results);
                    // A reader stuck in one module is given up on: the module is indexed by
                    // name and a fresh reader goes on with the rest.
                    const qint64 now = nowMs();
                    for (size_t n = 0; n < scan->readers.size(); ++n) {
                        auto& reader = scan->readers[n];
                        if (reader->abandoned || reader->startedMs == 0 || now - reader->startedMs < kReadTimeLimitMs)
                            continue;
                        reader->abandoned = true;
                        batch.push_back(tooSlowRecord(reader->current));
                        scan->threads[n].detach();
                        scan->startReader(scan);
                    }
                    more = !batch.empty()
                        || !std::all_of(scan->readers.begin(), scan->readers.end(),
                                        [](const auto& r) { return r->ended || r->abandoned; });
                }
                if (batch.empty())
                    continue;
                bool written = store.begin();
                for (const ModuleRecord& record : batch) {
                    struct stat info {};
                    if (record.hash.isEmpty() && stat(record.path.constData(), &info) != 0) {
                        // Not unreadable: gone, and out of the index like any file gone.
                        ++summary.vanished;
                        if (const qint64 before = changedIds.value(record.path))
                            store.remove(before);
                        continue;
                    }
                    qint64 id = changedIds.value(record.path);
                    if (!id && !record.hash.isEmpty()) {
                        // A file moved: the entry it left behind is taken over.
                        const qint64 before = store.idOfContent(record.hash, record.size);
                        if (unseenIds.remove(before))
                            id = before;
                    }
                    if (id)
                        ++summary.updated;
                    else
                        ++summary.added;
                    summary.unreadable += record.state == ModuleRecord::State::Unreadable;
                    summary.tooSlow += record.state == ModuleRecord::State::TooSlow;
                    written = written && store.put(record, id);
                }
                written = written && store.commit();
                if (!written) {
                    summary.error = store.database().lastError();
                    store.database().exec("ROLLBACK");
                    scan->cancel = true;
                }
                read += int(batch.size());
                summary.progress.indexed += int(batch.size());
                summary.progress.left = std::max(0, summary.progress.left - int(batch.size()));
                if (reading.elapsed() > 500 && read > 0)
                    summary.progress.secondsLeft = int(qint64(summary.progress.left) * reading.elapsed() / read / 1000);
                report(false);
            }
            for (std::thread& thread : scan->threads)
                if (thread.joinable())
                    thread.join();

            summary.cancelled = scan->cancel && summary.error.isEmpty();
            if (!scan->cancel) {
                // Entries under folders that could not be walked stay until they can be.
                store.begin();
                for (auto known = unseen.cbegin(); known != unseen.cend(); ++known) {
                    const bool keep = std::any_of(missingFolders.cbegin(), missingFolders.cend(),
                                                  [&](const QByteArray& f) { return isBelow(known.key(), f); });
                    if (!keep && unseenIds.contains(known->id) && store.remove(known->id))
                        ++summary.removed;
                }
                store.commit();
                store.setScanComplete(true);
            }
        }
        summary.progress.secondsLeft = 0;
        QMetaObject::invokeMethod(this, [this, summary] {
            m_running = false;
            joinScan();
            emit progressChanged(summary.progress);
            emit finished(summary);
        }, Qt::QueuedConnection);
    });
}
