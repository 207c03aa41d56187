#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// What the library keeps of one module file.
struct ModuleRecord {
    /// How far the module could be read.
    enum class State {
        Read = 0,        ///< every field below comes from the module
        Unreadable = 1,  ///< libopenmpt refused it, or the file could not be read: name only
        TooSlow = 2,     ///< reading it took longer than the time limit: name only
    };

    /// The file's full path as the file system spells it, bytes of any encoding.
    QByteArray path;
    qint64 size = 0;
    /// Modification time in nanoseconds since 1970.
    qint64 mtimeNs = 0;
    /// MD5 of the file's content; empty where the file could not be read.
    QByteArray hash;
    State state = State::Unreadable;
    /// Upper case, as libopenmpt names the type ("IT", "XM"); the file's extension when unread.
    QString format;
    QString title;
    QString artist;
    QString tracker;
    int channels = 0;
    /// Each subsong's length in seconds, in order.
    QList<double> subsongSeconds;
    /// Instrument names, then sample names, one per line, blank ones and repeats left out.
    QString names;
    QString message;
};

/// The file name part of path (after the last "/"), shown readably: invalid UTF-8 bytes
/// become replacement characters. The stored path keeps the bytes.
QString readableFileName(const QByteArray& path);
/// The whole path shown readably, as readableFileName().
QString readablePath(const QByteArray& path);
