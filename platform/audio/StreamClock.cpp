#include "platform/audio/StreamClock.h"

#include <algorithm>

StreamClock::Clock::time_point StreamClock::write(Clock::time_point now, std::size_t frames)
{
    using Seconds = std::chrono::duration<double>;
    double queued = 0;
    if (m_lastWrite)
        queued = std::max(0.0, m_queued - Seconds(now - *m_lastWrite).count() * m_rate);
    const Seconds halfPeriod(0.5 * static_cast<double>(frames) / m_rate);
    const bool serverWaited = !m_resumed && m_handedOver && now - *m_handedOver >= halfPeriod;
    if (queued == 0) {
        m_fullQueue.reset();  // ran dry: the stream starts over, and holds what it holds anew
    } else if (serverWaited) {
        if (m_fullQueue)
            queued = *m_fullQueue;
        else
            m_fullQueue = queued;
    }
    m_queued = queued + static_cast<double>(frames);
    m_lastWrite = now;
    m_resumed = false;
    return now + std::chrono::duration_cast<Clock::duration>(Seconds(queued / m_rate));
}
