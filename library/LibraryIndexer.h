#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

/// How far a scan has come; found counts every module file seen, indexed those read so far
/// (unchanged files count as indexed at once), left those still to read.
struct IndexProgress {
    int found = 0;
    int indexed = 0;
    int left = 0;
    /// Estimated from the reading rate so far; -1 until there is one.
    int secondsLeft = -1;
    /// Walking the folders is over; until then found still grows.
    bool walked = false;
};

/// How a scan ended.
struct IndexSummary {
    IndexProgress progress;
    bool cancelled = false;
    int added = 0;
    int updated = 0;
    int removed = 0;
    int unreadable = 0;  ///< modules libopenmpt refused: indexed by name only
    int tooSlow = 0;     ///< given up after kReadTimeLimitMs: indexed by name only
    int vanished = 0;    ///< found, then gone before they were read (a folder removed meanwhile)
    int unreadableFolders = 0;
    int repeatedFolders = 0;
    /// Folders asked for that could not be walked (missing, vanished): their entries stay.
    int missingFolders = 0;
    /// Every folder walked, for watching them for changes.
    QList<QByteArray> walkedFolders;
    /// The database's words where writing failed; empty when all was written.
    QString error;
};

/// Brings the library's database up to date with folders, on threads of its own: one walks
/// the folders and writes, readers (one per core, at a lower priority than the audio thread)
/// read the modules. Unchanged files (same size and time) are not read again; files no longer
/// found under a walked folder leave the index; a new file with the content of one that left
/// takes over its entry. Every batch is committed on its own, so a scan cut off at any moment
/// loses only the modules read since the last batch, and the next scan goes on from there.
///
/// Created and used on the GUI thread; progress and the end arrive there as signals.
class LibraryIndexer : public QObject {
    Q_OBJECT
public:
    /// A module that takes longer than this to read is given up and indexed by name.
    static constexpr int kReadTimeLimitMs = 10000;

    /// databasePath: the library's SQLite file (see LibraryStore).
    explicit LibraryIndexer(QString databasePath, QObject* parent = nullptr);
    /// Cancels a running scan and waits for its writer (not for a reader stuck in a module).
    ~LibraryIndexer() override;

    /// Starts a scan of folders (full paths as the file system spells them); nothing when one
    /// runs already. Files indexed under folders no longer in the list leave the index.
    void start(const QList<QByteArray>& folders);
    /// Asks a running scan to stop after what it has read; finished() follows.
    void cancel();
    bool running() const { return m_running; }

    /// Readers used at once; 0 (default) for one per core.
    void setReaderCount(int count) { m_readerCount = count; }

signals:
    /// At most ten times a second while a scan runs.
    void progressChanged(const IndexProgress& progress);
    /// Once per start(), after the last write.
    void finished(const IndexSummary& summary);

private:
    struct Scan;
    void joinScan();

    QString m_databasePath;
    int m_readerCount = 0;
    bool m_running = false;
    std::shared_ptr<Scan> m_scan;
    std::thread m_writer;
};

Q_DECLARE_METATYPE(IndexProgress)
Q_DECLARE_METATYPE(IndexSummary)
