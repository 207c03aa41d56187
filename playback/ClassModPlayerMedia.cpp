// What the desktop's media controls need of the player beyond the window's commands.
#include "playback/ClassModPlayer.h"

#include "settings/ClassOptions.h"

#include <algorithm>

namespace {
constexpr int kFullOutputVolume = 100;
}  // namespace

ModuleDetails ClassModPlayer::Details() const
{
    ModuleDetails details;
    if (m_module != 0)
        m_library.getModuleDetails(m_module, &details);
    return details;
}

double ClassModPlayer::PlayTime() const
{
    return m_module != 0 ? m_library.getPlayTime() : 0;
}

void ClassModPlayer::SeekTo(double seconds)
{
    if (m_module == 0)
        return;
    m_library.setPlayTime(seconds);
    m_playTime = 0;  // this jump is announced once, below
    PollPosition();
    emit seeked();
}

void ClassModPlayer::SelectSubsong(int index)
{
    const ModuleDetails details = Details();
    if (index < 0 || index >= details.subsongs.size())
        return;
    m_library.selectSubsong(m_module, index);
    ApplyLevel(m_module, m_modulePath, index, m_level);
    m_songSeconds = details.subsongs[index].seconds;
    m_playTime = 0;
    PollPosition();
    ShowTime(true);
    emit subsongChanged();
    if (!m_playing)
        ContinuePlaying();
}

void ClassModPlayer::StepSubsong(int step)
{
    const QList<int> shown = ShownSubsongs();
    const qsizetype at = shown.indexOf(Details().subsong) + step;
    if (at >= 0 && at < shown.size())
        SelectSubsong(shown[at]);
}

QList<int> ClassModPlayer::ShownSubsongs() const
{
    const ModuleDetails details = Details();
    const int shortest = m_options.ShortestSubsong();
    // Where every one is short, none is junk.
    const bool anyLongEnough = std::any_of(details.subsongs.begin(), details.subsongs.end(),
                                           [shortest](const Subsong& subsong) { return subsong.seconds >= shortest; });
    QList<int> shown;
    for (int index = 0; index < details.subsongs.size(); ++index) {
        if (!anyLongEnough || index == details.subsong || details.subsongs[index].seconds >= shortest)
            shown << index;
    }
    return shown;
}

void ClassModPlayer::SetShortestSubsong(int seconds)
{
    m_options.SetShortestSubsong(seconds);
    UpdateEndRule();
    emit songEndChanged();
}

void ClassModPlayer::StopAtStart()
{
    StopThen(QString(), [this] { SeekTo(0); });
}

int ClassModPlayer::OutputVolume() const
{
    return m_options.OutputVolume();
}

void ClassModPlayer::SetOutputVolume(int percent)
{
    m_options.SetOutputVolume(std::clamp(percent, 0, kFullOutputVolume));
    m_library.setOutputGain(m_options.OutputVolume() / double(kFullOutputVolume));
}

void ClassModPlayer::ApplyStoredOutputVolume()
{
    // The library starts at full volume: only a lower one needs telling.
    if (m_options.OutputVolume() != kFullOutputVolume)
        SetOutputVolume(m_options.OutputVolume());
}
