#include "platform/audio/HeardSnapshots.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>

void HeardSnapshots::setWatched(bool watched)
{
    if (watched == this->watched())
        return;
    if (watched) {
        auto ring = std::make_unique<std::array<Snapshot, kCapacity>>();
        std::lock_guard lock(m_mutex);
        m_ring = std::move(ring);
        m_next = 0;
        m_count = 0;
    }
    m_watched.store(watched, std::memory_order_relaxed);
    if (!watched) {
        std::lock_guard lock(m_mutex);
        m_ring.reset();
        m_next = 0;
        m_count = 0;
    }
}

void HeardSnapshots::record(const openmpt::module& module, Clock::time_point heardAt)
{
    std::unique_lock lock(m_mutex, std::try_to_lock);
    if (!lock.owns_lock() || !m_ring)
        return;
    Snapshot& snapshot = (*m_ring)[m_next];
    snapshot.module = &module;
    snapshot.heardAt = heardAt;
    snapshot.order = module.get_current_order();
    snapshot.pattern = module.get_current_pattern();
    snapshot.row = module.get_current_row();
    snapshot.channels = std::clamp(module.get_num_channels(), 0, kMaxChannels);
    for (std::int32_t channel = 0; channel < snapshot.channels; ++channel) {
        snapshot.levels[2 * channel] = module.get_current_channel_vu_left(channel);
        snapshot.levels[2 * channel + 1] = module.get_current_channel_vu_right(channel);
    }
    m_next = (m_next + 1) % kCapacity;
    m_count = std::min(m_count + 1, kCapacity);
}

std::optional<HeardSnapshots::Snapshot> HeardSnapshots::heardAt(Clock::time_point at,
                                                                 std::optional<Clock::time_point>* nextRowAt) const
{
    if (nextRowAt)
        nextRowAt->reset();
    std::lock_guard lock(m_mutex);
    // From the newest back: later snapshots are heard later, so the first one heard by now
    // is the one heard now.
    std::optional<Clock::time_point> nextRow;
    for (std::size_t back = 1; back <= m_count; ++back) {
        const Snapshot& snapshot = (*m_ring)[(m_next + kCapacity - back) % kCapacity];
        if (snapshot.heardAt <= at) {
            if (nextRowAt)
                *nextRowAt = nextRow;
            return snapshot;
        }
        const Snapshot& before = (*m_ring)[(m_next + kCapacity - back - 1) % kCapacity];
        if (back < m_count && (before.row != snapshot.row || before.order != snapshot.order))
            nextRow = snapshot.heardAt;
    }
    return std::nullopt;
}
