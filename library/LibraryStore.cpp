#include "library/LibraryStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Two- and three-letter prefixes get their own index entries, so that typing the first
// letters of a word answers without walking every word that starts with them.
constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS modules(
  id INTEGER PRIMARY KEY,
  path BLOB NOT NULL UNIQUE,
  size INTEGER NOT NULL,
  mtime INTEGER NOT NULL,
  hash BLOB,
  state INTEGER NOT NULL,
  format TEXT NOT NULL,
  tracker TEXT NOT NULL,
  channels INTEGER NOT NULL,
  length REAL NOT NULL,
  subsongs TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS modules_content ON modules(hash);
CREATE VIRTUAL TABLE IF NOT EXISTS text USING fts5(
  title, artist, filename, names, message,
  tokenize = 'unicode61 remove_diacritics 2', prefix = '2 3');
CREATE TABLE IF NOT EXISTS facts(name TEXT PRIMARY KEY, value);
)sql";

QString joinedSeconds(const QList<double>& seconds)
{
    QStringList parts;
    for (double s : seconds)
        parts << QString::number(s, 'f', 3);
    return parts.join(QLatin1Char(' '));
}

}  // namespace

QString readableFileName(const QByteArray& path)
{
    return QString::fromUtf8(path.mid(path.lastIndexOf('/') + 1));
}

QString readablePath(const QByteArray& path)
{
    return QString::fromUtf8(path);
}

bool LibraryStore::open(const QString& path)
{
    m_setAsideMessage.clear();
    QDir().mkpath(QFileInfo(path).absolutePath());
    bool newer = false;
    if (openFile(path)) {
        const qint64 version = m_db.integer("PRAGMA user_version");
        newer = version > kSchemaVersion;
        // A header that reads but tables that do not are damage all the same.
        if (version >= 0 && !newer && createTables())
            return true;
    }
    m_db.close();
    if (!QFileInfo::exists(path))
        return false;  // nothing to set aside: the folder is not writable
    setAside(path, newer ? QStringLiteral(".newer") : QStringLiteral(".damaged"));
    return openFile(path) && createTables();
}

bool LibraryStore::openFile(const QString& path)
{
    // NORMAL sync in WAL mode loses no committed batch to a killed process.
    return m_db.open(path) && m_db.exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL");
}

bool LibraryStore::createTables()
{
    if (!m_db.exec(kSchema))
        return false;
    if (!m_db.exec(("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str()))
        return false;
    m_insertModule = m_db.prepare(
        "INSERT INTO modules(path, size, mtime, hash, state, format, tracker, channels, length, subsongs)"
        " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    m_updateModule = m_db.prepare(
        "UPDATE modules SET path = ?1, size = ?2, mtime = ?3, hash = ?4, state = ?5, format = ?6, tracker = ?7,"
        " channels = ?8, length = ?9, subsongs = ?10 WHERE id = ?11");
    m_deleteModule = m_db.prepare("DELETE FROM modules WHERE id = ?1");
    m_insertText = m_db.prepare(
        "INSERT INTO text(rowid, title, artist, filename, names, message) VALUES(?1, ?2, ?3, ?4, ?5, ?6)");
    m_deleteText = m_db.prepare("DELETE FROM text WHERE rowid = ?1");
    return m_insertModule.isValid() && m_updateModule.isValid() && m_deleteModule.isValid()
        && m_insertText.isValid() && m_deleteText.isValid();
}

void LibraryStore::setAside(const QString& path, const QString& suffix)
{
    const QString aside = path + suffix + QDateTime::currentDateTimeUtc().toString(QStringLiteral("-yyyyMMdd-hhmmss"));
    QFile::remove(aside);
    QFile::rename(path, aside);
    for (const char* extra : {"-wal", "-shm"}) {
        QFile::remove(aside + QLatin1String(extra));
        QFile::rename(path + QLatin1String(extra), aside + QLatin1String(extra));
    }
    m_setAsideMessage = suffix == QLatin1String(".newer")
        ? QStringLiteral("The library file was written by a newer version and was set aside as \"%1\"; "
                         "the library is built again.").arg(aside)
        : QStringLiteral("The library file was damaged and was set aside as \"%1\"; "
                         "the library is built again.").arg(aside);
}

QHash<QByteArray, LibraryStore::KnownFile> LibraryStore::knownFiles()
{
    QHash<QByteArray, KnownFile> known;
    SqliteStatement rows = m_db.prepare("SELECT path, id, size, mtime FROM modules");
    while (rows.next())
        known.insert(rows.bytes(0), KnownFile{rows.integer(1), rows.integer(2), rows.integer(3)});
    return known;
}

qint64 LibraryStore::idOfContent(const QByteArray& hash, qint64 size)
{
    SqliteStatement row = m_db.prepare("SELECT id FROM modules WHERE hash = ?1 AND size = ?2");
    row.bind(1, hash).bind(2, size);
    return row.next() ? row.integer(0) : 0;
}

std::optional<ModuleRecord> LibraryStore::record(qint64 id)
{
    SqliteStatement row = m_db.prepare(
        "SELECT m.path, m.size, m.mtime, m.hash, m.state, m.format, m.tracker, m.channels, m.subsongs,"
        " t.title, t.artist, t.names, t.message FROM modules m JOIN text t ON t.rowid = m.id WHERE m.id = ?1");
    if (!row.bind(1, id).next())
        return std::nullopt;
    ModuleRecord record;
    record.path = row.bytes(0);
    record.size = row.integer(1);
    record.mtimeNs = row.integer(2);
    record.hash = row.bytes(3);
    record.state = ModuleRecord::State(row.integer(4));
    record.format = row.text(5);
    record.tracker = row.text(6);
    record.channels = int(row.integer(7));
    for (const QString& seconds : row.text(8).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        record.subsongSeconds << seconds.toDouble();
    record.title = row.text(9);
    record.artist = row.text(10);
    record.names = row.text(11);
    record.message = row.text(12);
    return record;
}

bool LibraryStore::put(const ModuleRecord& record, qint64 id)
{
    SqliteStatement& module = id ? m_updateModule : m_insertModule;
    module.bind(1, record.path)
        .bind(2, record.size)
        .bind(3, record.mtimeNs)
        .bind(5, int(record.state))
        .bind(6, record.format)
        .bind(7, record.tracker)
        .bind(8, record.channels)
        .bind(9, record.subsongSeconds.value(0))
        .bind(10, joinedSeconds(record.subsongSeconds));
    if (!record.hash.isEmpty())
        module.bind(4, record.hash);
    if (id)
        module.bind(11, id);
    if (!module.run())
        return false;
    const qint64 row = id ? id : m_db.lastInsertId();
    if (id && !m_deleteText.bind(1, row).run())
        return false;
    return m_insertText.bind(1, row)
        .bind(2, record.title)
        .bind(3, record.artist)
        .bind(4, readableFileName(record.path))
        .bind(5, record.names)
        .bind(6, record.message)
        .run();
}

bool LibraryStore::remove(qint64 id)
{
    return m_deleteModule.bind(1, id).run() && m_deleteText.bind(1, id).run();
}

bool LibraryStore::scanComplete()
{
    return m_db.integer("SELECT value FROM facts WHERE name = 'scan complete'", 1) != 0;
}

bool LibraryStore::setScanComplete(bool complete)
{
    return m_db.exec(complete ? "INSERT OR REPLACE INTO facts VALUES('scan complete', 1)"
                              : "INSERT OR REPLACE INTO facts VALUES('scan complete', 0)");
}
