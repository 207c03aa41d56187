#include "library/LibrarySearch.h"

#include "library/LibraryStore.h"

#include <QRegularExpression>

QString matchExpression(const QString& words)
{
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}\\p{M}]+"));
    QStringList terms;
    for (const QString& word : words.split(separators, Qt::SkipEmptyParts))
        terms << QLatin1Char('"') + word + QStringLiteral("\"*");
    return terms.join(QLatin1Char(' '));
}

QList<LibraryResult> searchLibrary(LibraryStore& store, const LibraryQuery& query)
{
    const QString match = matchExpression(query.words);
    QByteArray sql = match.isEmpty()
        ? "SELECT m.id, m.path, t.title, t.artist, m.format, m.length, m.channels, m.state, ''"
          " FROM modules m JOIN text t ON t.rowid = m.id WHERE 1"
        : "SELECT m.id, m.path, t.title, t.artist, m.format, m.length, m.channels, m.state,"
          " snippet(text, -1, '[', ']', '…', 8)"
          " FROM text t JOIN modules m ON m.id = t.rowid WHERE text MATCH ?1";
    if (!query.format.isEmpty())
        sql += " AND m.format = ?2";
    if (query.minSeconds >= 0)
        sql += " AND m.length >= ?3";
    if (query.maxSeconds >= 0)
        sql += " AND m.length <= ?4";
    if (query.channels > 0)
        sql += " AND m.channels = ?5";
    if (!query.folder.isEmpty())
        sql += " AND substr(m.path, 1, ?7) = ?6";
    sql += " LIMIT ?8";

    SqliteStatement statement = store.database().prepare(sql.constData());
    if (!statement.isValid())
        return {};
    if (!match.isEmpty())
        statement.bind(1, match);
    statement.bind(2, query.format).bind(3, query.minSeconds).bind(4, query.maxSeconds).bind(5, query.channels);
    if (!query.folder.isEmpty()) {
        const QByteArray prefix = query.folder.endsWith('/') ? query.folder : query.folder + '/';
        statement.bind(6, prefix).bind(7, qint64(prefix.size()));
    }
    statement.bind(8, query.limit);

    QList<LibraryResult> results;
    while (statement.next()) {
        results.append(LibraryResult{statement.integer(0), statement.bytes(1), statement.text(2), statement.text(3),
                                     statement.text(4), statement.real(5), int(statement.integer(6)),
                                     statement.text(8), int(statement.integer(7))});
    }
    return results;
}
