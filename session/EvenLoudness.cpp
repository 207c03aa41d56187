#include "session/EvenLoudness.h"

#include "playback/LoudnessCache.h"
#include "settings/ClassOptions.h"

#include <QFileInfo>

#include <algorithm>

EvenLoudness::EvenLoudness(const ClassOptions& options, LoudnessSource source)
    : m_options(options), m_cache(std::make_unique<LoudnessCache>(source.cacheFile))
{
    if (source.measure) {
        m_measurer = std::make_unique<LoudnessMeasurer>(*m_cache, std::move(source.measure));
        connect(m_measurer.get(), &LoudnessMeasurer::measured, this, &EvenLoudness::songMeasured);
        connect(m_measurer.get(), &LoudnessMeasurer::measuredEarly, this,
                [this](const QString& key, const Loudness& loudness) {
                    // A bound for songs left before they were measured whole.
                    constexpr qsizetype kMostEarlyFigures = 100;
                    if (m_early.size() >= kMostEarlyFigures)
                        m_early.clear();
                    m_early.insert(key, loudness);
                    emit songMeasured();
                });
    }
}

// The measurer's thread uses the cache until the measurer ends.
EvenLoudness::~EvenLoudness() { m_measurer.reset(); }

bool EvenLoudness::levelling() const { return m_options.EvenLoudness() && m_measurer; }

std::optional<SongLevel> EvenLoudness::LevelOf(const QString& path, int subsong)
{
    if (!levelling())
        return SongLevel();
    const QString hash = hashOf(path);
    if (hash.isEmpty())
        return SongLevel();
    const RenderQuality& quality = m_options.PlaybackQuality();
    const QString key = LoudnessCache::keyOf(hash, quality, subsong);
    const std::optional<Loudness> loudness = m_cache->lookup(key);
    if (loudness) {
        m_early.remove(key);
        return SongLevel{loudness, GainFor(*loudness, m_options.LoudnessTarget())};
    }
    m_measurer->measureFirst({path, subsong, quality});
    const auto early = m_early.constFind(key);
    if (early == m_early.cend())
        return std::nullopt;
    return SongLevel{std::nullopt, GainFor(*early, m_options.LoudnessTarget())};
}

void EvenLoudness::MeasureAhead(const QList<std::pair<QString, int>>& songs)
{
    if (!m_measurer)
        return;
    QList<LoudnessJob> jobs;
    if (levelling()) {
        for (const auto& [path, subsong] : songs)
            jobs.append({path, subsong, m_options.PlaybackQuality()});
    }
    m_measurer->measureAhead(jobs);
}

double EvenLoudness::GainFor(const Loudness& loudness, int targetLufs)
{
    if (loudness.integratedLufs <= Loudness::kSilentLufs)
        return 0;
    return std::min(targetLufs - loudness.integratedLufs, kHighestPeakDbtp - loudness.truePeakDbtp);
}

QString EvenLoudness::hashOf(const QString& path)
{
    // A bound for a long session; reading a file again costs little.
    constexpr qsizetype kMostFilesKnown = 1000;
    if (m_files.size() > kMostFilesKnown && !m_files.contains(path))
        m_files.clear();
    const QFileInfo info(path);
    KnownFile& known = m_files[path];
    if (known.hash.isEmpty() || known.size != info.size() || known.modified != info.lastModified())
        known = {info.size(), info.lastModified(), LoudnessCache::contentHash(path)};
    return known.hash;
}
