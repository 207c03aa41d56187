#include "playback/ClassModPlayer.h"

void ClassModPlayer::ToggleChannelMute(int channel)
{
    if (channel < 0 || channel >= m_mutedChannels.size())
        return;
    QList<bool> wanted = m_mutedChannels;
    wanted[channel] = !wanted[channel];
    SetMutedChannels(wanted);
}

void ClassModPlayer::SoloChannel(int channel)
{
    if (channel < 0 || channel >= m_mutedChannels.size())
        return;
    QList<bool> solo(m_mutedChannels.size(), true);
    solo[channel] = false;
    SetMutedChannels(m_mutedChannels == solo ? QList<bool>(m_mutedChannels.size(), false) : solo);
}

void ClassModPlayer::UnmuteAllChannels()
{
    SetMutedChannels(QList<bool>(m_mutedChannels.size(), false));
}

void ClassModPlayer::SetMutedChannels(const QList<bool>& wanted)
{
    if (wanted == m_mutedChannels)
        return;
    for (int channel = 0; channel < wanted.size(); ++channel) {
        if (wanted[channel] != m_mutedChannels[channel])
            m_library.setChannelMuted(m_module, channel, wanted[channel]);
    }
    m_mutedChannels = wanted;
    emit channelMutesChanged();
}

HeardStatus ClassModPlayer::Heard() const
{
    HeardStatus status;
    m_library.getHeardStatus(&status);
    return status;
}
