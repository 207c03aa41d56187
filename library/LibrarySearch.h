#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class LibraryStore;

/// What the user asks the library for. Every part left at its default matches everything.
struct LibraryQuery {
    /// Words typed: each must start a word somewhere in the title, artist, file name,
    /// instrument and sample names or message, without regard to case or accents.
    QString words;
    /// Upper case ("IT"); empty for any.
    QString format;
    /// Length range of the first subsong in seconds; negative for no bound.
    double minSeconds = -1;
    double maxSeconds = -1;
    /// 0 for any number.
    int channels = 0;
    /// Only modules below this folder (as the file system spells it); empty for any.
    QByteArray folder;
    /// At most this many results.
    int limit = 1000;
};

struct LibraryResult {
    qint64 id = 0;
    QByteArray path;
    QString title;
    QString artist;
    QString format;
    double seconds = 0;
    int channels = 0;
    /// The text that matched the words, with the matching words in [brackets]; empty
    /// without words.
    QString match;
    /// ModuleRecord::State as a number: 0 read, otherwise indexed by name only.
    int state = 0;
};

/// The FTS5 expression for words: each word (letters and digits) as a quoted prefix, all
/// required. Empty when words hold none.
QString matchExpression(const QString& words);

/// The modules of store that answer query, in the index's order. Empty on any error. The
/// store's thread.
QList<LibraryResult> searchLibrary(LibraryStore& store, const LibraryQuery& query);
