#include "platform/audio/ChannelMutes.h"

#include <libopenmpt/libopenmpt_ext.hpp>

void ChannelMutes::set(openmpt::ext::interactive& interactive, int channel, bool muted,
                       std::size_t renderedFrames)
{
    if (muted == m_channels.contains(channel))
        return;
    if (muted) {
        m_channels.insert(channel, {interactive.get_channel_volume(channel), renderedFrames, false});
        interactive.set_channel_volume(channel, 0.0);
        return;
    }
    const Muted unmuted = m_channels.take(channel);
    if (unmuted.underMuteStatus)
        interactive.set_channel_mute_status(channel, false);
    else
        interactive.set_channel_volume(channel, unmuted.volume);
}

bool ChannelMutes::settle(openmpt::ext::interactive& interactive, std::size_t renderedFrames,
                          std::size_t glideFrames)
{
    bool gliding = false;
    for (auto muted = m_channels.begin(); muted != m_channels.end(); ++muted) {
        if (muted->underMuteStatus)
            continue;
        if (renderedFrames - muted->mutedAtFrame < glideFrames) {
            gliding = true;
            continue;
        }
        interactive.set_channel_mute_status(muted.key(), true);
        interactive.set_channel_volume(muted.key(), muted->volume);
        muted->underMuteStatus = true;
    }
    return gliding;
}
