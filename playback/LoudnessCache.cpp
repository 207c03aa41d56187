#include "playback/LoudnessCache.h"

#include "platform/RegularFile.h"
#include "platform/WholeFileWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QByteArray kHeader = QByteArrayLiteral("Jukarium loudness 1");

/// The entries of a cache file's text, oldest first; none when it is no such file.
std::optional<std::deque<std::pair<QString, Loudness>>> parse(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.value(0) != kHeader || !lines.constLast().isEmpty())
        return std::nullopt;
    lines.removeFirst();
    lines.removeLast();
    std::deque<std::pair<QString, Loudness>> entries;
    for (const QByteArray& line : std::as_const(lines)) {
        const QList<QByteArray> fields = line.split('\t');
        bool lufsRead = false;
        bool peakRead = false;
        Loudness loudness;
        if (fields.size() == 3) {
            loudness.integratedLufs = fields[1].toDouble(&lufsRead);
            loudness.truePeakDbtp = fields[2].toDouble(&peakRead);
        }
        if (!lufsRead || !peakRead || fields[0].isEmpty())
            return std::nullopt;
        entries.emplace_back(QString::fromUtf8(fields[0]), loudness);
    }
    return entries;
}

}  // namespace

LoudnessCache::LoudnessCache(QString file) : m_file(std::move(file)) {}

QString LoudnessCache::contentHash(const QString& path)
{
    QFile file;
    if (!RegularFile::OpenForReading(file, path))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

QString LoudnessCache::keyOf(const QString& hash, const RenderQuality& quality, int subsong)
{
    const RenderQuality within = quality.withinRanges();
    return QStringLiteral("%1 q%2,%3,%4,%5 s%6")
        .arg(hash)
        .arg(within.interpolationTaps)
        .arg(within.stereoSeparation)
        .arg(within.amigaResampler ? 1 : 0)
        .arg(within.volumeRamping)
        .arg(subsong);
}

std::optional<Loudness> LoudnessCache::lookup(const QString& key)
{
    QMutexLocker locked(&m_lock);
    loadOnce();
    const auto found = m_byKey.constFind(key);
    return found == m_byKey.cend() ? std::nullopt : std::optional<Loudness>(*found);
}

bool LoudnessCache::insert(const QString& key, const Loudness& loudness)
{
    QMutexLocker writing(&m_writing);
    QByteArray text;
    {
        QMutexLocker locked(&m_lock);
        loadOnce();
        if (m_byKey.contains(key))
            std::erase_if(m_entries, [&key](const Entry& entry) { return entry.key == key; });
        m_entries.push_back({key, loudness});
        m_byKey.insert(key, loudness);
        while (m_entries.size() > static_cast<std::size_t>(kMaxEntries)) {
            m_byKey.remove(m_entries.front().key);
            m_entries.pop_front();
        }
        text = this->text();
    }
    if (m_file.isEmpty())
        return true;
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    return WholeFileWriter::writeFile(m_file, text);
}

int LoudnessCache::size()
{
    QMutexLocker locked(&m_lock);
    loadOnce();
    return static_cast<int>(m_entries.size());
}

void LoudnessCache::loadOnce()
{
    if (m_loaded || m_file.isEmpty())
        return;
    m_loaded = true;
    // A kill before a commit leaves its temporary file beside the cache.
    WholeFileWriter::removeAbandonedTemporaries(m_file);
    if (!QFileInfo::exists(m_file))
        return;
    const std::optional<QByteArray> text = RegularFile::ReadAll(m_file);
    const auto entries = text ? parse(*text) : std::nullopt;
    if (!entries) {
        // Set aside, not lost: a damaged file may still tell someone what happened.
        const QString aside = m_file + QStringLiteral(".bad");
        QFile::remove(aside);
        QFile::rename(m_file, aside);
        return;
    }
    for (const auto& [key, loudness] : *entries) {
        m_entries.push_back({key, loudness});
        m_byKey.insert(key, loudness);
    }
}

QByteArray LoudnessCache::text() const
{
    QByteArray text = kHeader + '\n';
    for (const Entry& entry : m_entries) {
        text += entry.key.toUtf8() + '\t' + QByteArray::number(entry.loudness.integratedLufs, 'f', 2) + '\t'
            + QByteArray::number(entry.loudness.truePeakDbtp, 'f', 2) + '\n';
    }
    return text;
}
