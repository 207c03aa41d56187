#pragma once

#include "platform/audio/Loudness.h"
#include "platform/audio/RenderQuality.h"

#include <QHash>
#include <QMutex>
#include <QString>

#include <deque>
#include <optional>

/// The loudness of the songs measured so far, kept in a file so that no song is measured
/// twice, also after it was renamed or moved: each is found by its key (keyOf), made of what
/// decides its sound.
///
/// The file is text: the line "Jukarium loudness 1", then one line per song, oldest first:
/// key, integrated loudness and true peak, separated by tabs. It is read at the first lookup
/// or insert, and written whole after each insert (WholeFileWriter), so a kill at any moment
/// leaves the old file or the new one. A file that cannot be read as such is set aside as
/// "<file>.bad" (replacing an older one) and the cache starts empty, to be filled again as
/// songs are measured. It holds at most kMaxEntries songs: past that, the oldest go.
///
/// Threads: any; the entries are behind a lock held only to read or change them, never while
/// the file is written.
class LoudnessCache {
public:
    static constexpr int kMaxEntries = 10000;

    /// file: where the cache lives (its folder is made when missing); empty keeps it in
    /// memory only.
    explicit LoudnessCache(QString file);

    /// A hash of the content of the file at path, as text; empty when it cannot be read.
    /// Reads the whole file.
    static QString contentHash(const QString& path);
    /// The key of subsong (from 0) of the module whose contentHash is hash, rendered as
    /// quality says.
    static QString keyOf(const QString& hash, const RenderQuality& quality, int subsong);

    /// The figures kept under key; none when they are not known.
    std::optional<Loudness> lookup(const QString& key);
    /// Keeps loudness under key as the newest entry (replacing one under the same key) and
    /// writes the file. False when the file could not be written (the entry is kept anyway).
    bool insert(const QString& key, const Loudness& loudness);

    /// How many songs it holds.
    int size();

private:
    struct Entry {
        QString key;
        Loudness loudness;
    };
    /// Reads the file once; under the lock.
    void loadOnce();
    /// The file's text for entries; under the lock.
    QByteArray text() const;

    const QString m_file;
    QMutex m_lock;
    QMutex m_writing;  // one write of the file at a time, in the order of the inserts
    bool m_loaded = false;
    std::deque<Entry> m_entries;  // oldest first
    QHash<QString, Loudness> m_byKey;
};
