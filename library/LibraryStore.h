#pragma once

#include "library/ModuleRecord.h"
#include "library/SqliteDatabase.h"

#include <QHash>
#include <QString>

#include <optional>

/// The library's database: one SQLite file in WAL mode, so that a reader never waits for the
/// indexer and a kill at any moment leaves every committed batch whole. Table "modules" holds
/// the file facts, the FTS5 table "text" (same row ids) the words searched: title, artist, file
/// name, instrument and sample names, message, folded for case and accents.
///
/// One store per thread: the indexer writes through its own, the window reads through another.
/// Errors are returned as false; nothing throws or prints.
class LibraryStore {
public:
    /// Raised whenever the tables change shape; a file of a higher version is set aside.
    static constexpr int kSchemaVersion = 1;

    /// Opens the database at path, making it and its folder when missing. A file that is no
    /// database, or holds one of a later version, is renamed aside (with its WAL files) and a
    /// fresh one made in its place; setAsideMessage() then says so. False when no database
    /// can be opened there at all.
    bool open(const QString& path);
    /// After open(): what was set aside and why, empty when nothing was.
    const QString& setAsideMessage() const { return m_setAsideMessage; }
    SqliteDatabase& database() { return m_db; }

    struct KnownFile {
        qint64 id = 0;
        qint64 size = 0;
        qint64 mtimeNs = 0;
    };
    /// Every indexed path with its row id, size and time.
    QHash<QByteArray, KnownFile> knownFiles();
    /// The row of an entry with this content, 0 when none.
    qint64 idOfContent(const QByteArray& hash, qint64 size);

    /// Everything kept of row id; nothing when there is no such row.
    std::optional<ModuleRecord> record(qint64 id);

    bool begin() { return m_db.exec("BEGIN"); }
    bool commit() { return m_db.exec("COMMIT"); }
    /// Writes record as row id (replacing what that row held), or as a new row when id is 0.
    bool put(const ModuleRecord& record, qint64 id);
    bool remove(qint64 id);

    /// Whether the last scan ran to its end; false while one runs or after it was cut off.
    bool scanComplete();
    bool setScanComplete(bool complete);

private:
    bool openFile(const QString& path);
    bool createTables();
    void setAside(const QString& path, const QString& suffix);

    SqliteDatabase m_db;
    QString m_setAsideMessage;
    SqliteStatement m_insertModule;
    SqliteStatement m_updateModule;
    SqliteStatement m_deleteModule;
    SqliteStatement m_insertText;
    SqliteStatement m_deleteText;
};
