#pragma once

#include <QByteArray>
#include <QString>

#include <sqlite3.h>

class SqliteStatement;

/// One connection to an SQLite database file, closed when destroyed. A connection belongs to
/// the thread that uses it; give each thread its own. Errors are returned, never thrown: false
/// or an invalid statement, with the database's words in lastError().
class SqliteDatabase {
public:
    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    /// Opens (and with create, makes) the file at path, waiting up to 5 s for a lock another
    /// connection holds. False, with the reason in lastError(), when it cannot.
    bool open(const QString& path, bool create = true);
    bool isOpen() const { return m_db != nullptr; }
    void close();

    /// Runs sql, one or more statements without results. False on the first that fails.
    bool exec(const char* sql);
    /// The statement, invalid (see SqliteStatement::isValid) when sql does not compile.
    SqliteStatement prepare(const char* sql);
    /// The one integer sql returns, or fallback when it returns none or fails.
    qint64 integer(const char* sql, qint64 fallback = -1);
    qint64 lastInsertId() const { return sqlite3_last_insert_rowid(m_db); }
    /// The last error's code (SQLITE_OK without one) and words.
    int lastErrorCode() const { return m_db ? sqlite3_errcode(m_db) : SQLITE_CANTOPEN; }
    QString lastError() const;

private:
    friend class SqliteStatement;
    sqlite3* m_db = nullptr;
    QString m_openError;
};

/// A compiled statement of one connection; parameters are numbered from 1, columns from 0.
class SqliteStatement {
public:
    SqliteStatement() = default;
    explicit SqliteStatement(sqlite3_stmt* statement) : m_statement(statement) {}
    ~SqliteStatement() { sqlite3_finalize(m_statement); }
    SqliteStatement(SqliteStatement&& other) noexcept : m_statement(other.m_statement) { other.m_statement = nullptr; }
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isValid() const { return m_statement != nullptr; }

    SqliteStatement& bind(int index, qint64 value);
    SqliteStatement& bind(int index, int value) { return bind(index, qint64(value)); }
    SqliteStatement& bind(int index, double value);
    /// Bytes as a BLOB (a file path keeps its bytes, whatever their encoding).
    SqliteStatement& bind(int index, const QByteArray& bytes);
    /// Text as UTF-8.
    SqliteStatement& bind(int index, const QString& text);

    /// Steps once: true while it returns a row. false at the end or on an error, which done()
    /// then tells apart.
    bool next();
    /// Runs a statement without results to its end; true when it worked. Resets it for reuse.
    bool run();
    /// After next() returned false: whether the statement ended without an error.
    bool done() const { return m_lastStep == SQLITE_DONE; }
    /// Clears the bindings' effect and rewinds, for the next use.
    void reset();

    qint64 integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    double real(int column) const { return sqlite3_column_double(m_statement, column); }
    QByteArray bytes(int column) const;
    QString text(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_lastStep = SQLITE_OK;
};
