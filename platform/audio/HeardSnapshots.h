#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

namespace openmpt {
class module;
}

/// Where a module was in its song and how loud each of its channels was, at the moments that
/// its sound reaches the speaker. The sound device renders up to a few hundred milliseconds
/// ahead of what is heard; while someone watches, its thread records a snapshot after each
/// piece it renders, stamped with when that piece will be heard, and the GUI thread asks for
/// the one heard at a moment.
///
/// Threads: record() on the device thread, which it never keeps waiting (a snapshot that
/// would have to wait is left out); everything else on the GUI thread.
class HeardSnapshots {
public:
    using Clock = std::chrono::steady_clock;
    /// Channels with a level; a module's further channels have none.
    static constexpr int kMaxChannels = 128;
    /// Snapshots kept: more than the longest time between rendering and hearing (the largest
    /// server latency and period) holds at one a few milliseconds.
    static constexpr std::size_t kCapacity = 512;

    struct Snapshot {
        const openmpt::module* module = nullptr;
        Clock::time_point heardAt;
        std::int32_t order = 0;
        std::int32_t pattern = 0;
        std::int32_t row = 0;
        std::int32_t channels = 0;  // with a level, at most kMaxChannels
        /// Left and right level of each channel in turn, 0 (silent) to about 1 (full scale).
        std::array<float, 2 * kMaxChannels> levels{};
    };

    /// Whether the device thread records; off at first, so that nobody pays for snapshots
    /// nobody looks at (nor keeps memory for them). Turning it off forgets what was recorded.
    void setWatched(bool watched);
    bool watched() const { return m_watched.load(std::memory_order_relaxed); }

    /// Device thread: module's place and channel levels as they are now, heard at heardAt.
    void record(const openmpt::module& module, Clock::time_point heardAt);

    /// The latest snapshot heard at or before at, and when the next one that shows another
    /// row is heard (nothing where none is recorded yet); nothing before the first is heard.
    std::optional<Snapshot> heardAt(Clock::time_point at, std::optional<Clock::time_point>* nextRowAt = nullptr) const;

private:
    std::atomic<bool> m_watched{false};
    mutable std::mutex m_mutex;
    std::unique_ptr<std::array<Snapshot, kCapacity>> m_ring;  // while watched
    std::size_t m_next = 0;   // where the next snapshot goes
    std::size_t m_count = 0;  // how many are kept
};
