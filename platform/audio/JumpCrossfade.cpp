#include "platform/audio/JumpCrossfade.h"

#include <algorithm>

JumpCrossfade::JumpCrossfade(int rate, int channels)
    : m_tailFrames(static_cast<std::size_t>(std::max(rate * kTailMs / 1000, 1))),
      m_channels(static_cast<std::size_t>(channels)),
      m_tail(m_tailFrames * m_channels),
      m_done(m_tailFrames)
{
}

void JumpCrossfade::start(const float* tail)
{
    std::copy_n(tail, m_tail.size(), m_tail.begin());
    m_done = 0;
}

void JumpCrossfade::mixInto(float* samples, std::size_t frames)
{
    // Frame k of the tail is heard at 1 - (k + 1) / (n + 1): the first almost whole, as it
    // follows on the sound before the jump, the last almost gone, before the sound after it
    // goes on alone.
    const float step = 1.0f / static_cast<float>(m_tailFrames + 1);
    const std::size_t mixed = std::min(frames, remaining());
    for (std::size_t frame = 0; frame < mixed; ++frame, ++m_done) {
        const float fadeIn = static_cast<float>(m_done + 1) * step;
        const float* tail = m_tail.data() + m_done * m_channels;
        float* sample = samples + frame * m_channels;
        for (std::size_t channel = 0; channel < m_channels; ++channel)
            sample[channel] = tail[channel] + (sample[channel] - tail[channel]) * fadeIn;
    }
}
