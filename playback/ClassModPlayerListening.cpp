// How the player sounds and what it does when a song ends.
#include "playback/ClassModPlayer.h"

#include "playback/PlayerHost.h"

void ClassModPlayer::SetRenderQuality(const RenderQuality& quality)
{
    m_options.SetPlaybackQuality(quality);
    m_library.setRenderQuality(quality);
    emit renderQualityChanged();
}

void ClassModPlayer::ApplyStoredRenderQuality()
{
    // The library starts with the default quality: only another one needs telling.
    if (m_options.PlaybackQuality() != RenderQuality())
        m_library.setRenderQuality(m_options.PlaybackQuality());
}

void ClassModPlayer::SetSongEnd(ClassOptions::SongEnd action)
{
    m_options.SetAtTheEnd(action);
    UpdateEndRule();
    emit songEndChanged();
}

void ClassModPlayer::UpdateEndRule()
{
    const ClassOptions::SongEnd action = m_options.AtTheEnd();
    // A module that is no slot's has no next slot: it repeats, or, playing every subsong,
    // goes round its subsongs (the session queues each next one).
    const bool slotModule = m_host.PlaysDiscSlot();
    const bool repeat = action == ClassOptions::SongEnd::RepeatIt
        || (action == ClassOptions::SongEnd::PlayNextSlot && !slotModule)
        || (action == ClassOptions::SongEnd::PlayEverySubsong && !slotModule && ShownSubsongs().size() <= 1);
    if (repeat == m_repeat)
        return;  // the library hears of changes only
    m_repeat = repeat;
    m_library.setRepeat(repeat);
}

void ClassModPlayer::SongEnded()
{
    // The song ended by itself: nothing left to fade.
    m_positionTimer.stop();
    m_library.stopModule(m_module);
    m_playing = false;
    m_host.SetStatusText(QStringLiteral("Playback stopped"));
    emit playingChanged();
    if (ClassOptions::GoesToNextSlot(m_options.AtTheEnd()) && m_host.PlaysDiscSlot())
        m_host.PlayNextSlot();
}
