// Every module at the same loudness: the gain of the loaded and the queued module's songs.
#include "playback/ClassModPlayer.h"

#include "playback/PlayerHost.h"

void ClassModPlayer::UpdateLevels()
{
    const std::optional<SongLevel> shown = m_level;
    ApplyLevel(m_module, m_modulePath, Details().subsong, m_level);
    ApplyLevel(m_queued, m_queuedPath, m_queuedSubsong, m_queuedLevel);
    if (m_infosShown && m_level != shown)
        m_host.SetInfoLines(InfoLines());
}

void ClassModPlayer::ApplyLevel(ModuleHandle module, const QString& path, int subsong,
                                std::optional<SongLevel>& applied)
{
    if (module == 0)
        return;
    const std::optional<SongLevel> wanted = m_host.SongLevelOf(path, subsong);
    if (!wanted) {
        // Until it is known the song keeps the gain it has, which is near for another subsong
        // or quality; the figures it had are no longer its own.
        if (applied)
            applied->loudness.reset();
        return;
    }
    const double before = applied ? applied->gainDb : 0;
    applied = wanted;
    if (wanted->gainDb != before)
        m_library.setModuleGain(module, wanted->gainDb);
}

QString ClassModPlayer::LevelText(const Loudness& loudness, double gainDb)
{
    // A gain that rounds to zero shows no sign.
    const double gain = std::abs(gainDb) < 0.05 ? 0.0 : gainDb;
    return QStringLiteral("Loudness: %1 LUFS, peak %2 dBTP, gain %3%4 dB")
        .arg(loudness.integratedLufs, 0, 'f', 1)
        .arg(loudness.truePeakDbtp, 0, 'f', 1)
        .arg(gain > 0 ? QStringLiteral("+") : QString())
        .arg(gain, 0, 'f', 1);
}
