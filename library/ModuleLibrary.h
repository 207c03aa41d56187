#pragma once

#include "library/LibraryIndexer.h"
#include "library/LibrarySearch.h"
#include "library/LibraryStore.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

class Registry;

/// The module library as the program sees it: the folders the user gave it (kept in the
/// registry under "...\1.0\Library", value "Folders"), the database of what they hold, the
/// scans that keep it up to date and the searches that answer from it. After each scan the
/// folders walked (up to kMaxWatchedFolders) are watched, and a change in one scans again
/// once the changes pause; changes beyond them are found by the next scan. The database opens on
/// first use; a damaged or newer one is set aside and rebuilt, said once through message().
/// GUI thread only.
class ModuleLibrary : public QObject {
    Q_OBJECT
public:
    /// Folders watched for changes at most: inotify's watches are a shared, limited resource.
    static constexpr int kMaxWatchedFolders = 4000;
    /// A change is scanned for once no other has come for this long.
    static constexpr int kChangePauseMs = 2000;

    /// registry is not owned and must outlive the library; databasePath is the SQLite file.
    ModuleLibrary(Registry& registry, QString databasePath, QObject* parent = nullptr);
    ~ModuleLibrary() override;

    const QString& databasePath() const { return m_databasePath; }

    /// The folders, as added (full paths).
    QStringList folders() const;
    /// Adds a folder (once) or removes one, then scans again.
    void addFolder(const QString& folder);
    void removeFolder(const QString& folder);

    /// Scans every folder now (unchanged files are not read again); nothing while one runs.
    void rescan();
    /// Scans when the last scan did not reach its end (the program ended during it). True when
    /// a scan started.
    bool resumeUnfinishedScan();
    void cancel() { m_indexer.cancel(); }
    bool indexing() const { return m_indexer.running(); }
    /// The last progress announced; all 0 before the first scan.
    const IndexProgress& progress() const { return m_progress; }
    LibraryIndexer& indexer() { return m_indexer; }

    /// Modules that answer query; empty when the database cannot be opened.
    QList<LibraryResult> search(const LibraryQuery& query);
    /// Everything kept of the module of a result's id; nothing when it is gone.
    std::optional<ModuleRecord> record(qint64 id) { return ensureOpen() ? m_store.record(id) : std::nullopt; }
    /// The number of modules indexed.
    qint64 moduleCount();

signals:
    void foldersChanged(const QStringList& folders);
    void progressChanged(const IndexProgress& progress);
    void indexingStarted();
    void indexingFinished(const IndexSummary& summary);
    /// Something the user must hear of once: the database was set aside, or cannot be opened.
    void message(const QString& text);

private:
    bool ensureOpen();
    void watch(const QList<QByteArray>& folders);
    void storeFolders(const QStringList& folders);

    Registry& m_registry;
    QString m_databasePath;
    LibraryStore m_store;
    bool m_openTried = false;
    bool m_rescanQueued = false;
    LibraryIndexer m_indexer;
    IndexProgress m_progress;
    QFileSystemWatcher m_watcher;
    QTimer m_changePause;
};
