#pragma once

#include <chrono>
#include <cstddef>
#include <optional>

/// When the frames that a sound device's thread writes are heard, worked out from how the
/// server takes them, since SDL 2 does not tell how much a sound server holds (and PulseAudio
/// holds about half of the latency it was asked for, or more where its sink keeps more).
///
/// The server plays the stream at the format's rate without a pause, so what it holds shrinks
/// by the time since the last write, and a write is heard once what was held before it has
/// played; nothing is heard before it was written, so a stream that ran dry starts over with
/// the next write. Only that would drift where the server's clock and ours part (a sound card's
/// crystal), over the hours a stream lives when modules follow on. But the server makes the
/// thread wait only when it holds all it keeps: after such a wait, it holds what it held after
/// the first wait of the stream, whatever the clocks did.
///
/// Threads: the device thread, under the device lock; resume() also the thread that holds that
/// lock to park the device.
class StreamClock {
public:
    using Clock = std::chrono::steady_clock;

    /// rate: frames per second of the stream, more than 0.
    explicit StreamClock(int rate) : m_rate(rate) {}

    /// The thread is about to write frames frames (a period) at now: when the first of them is
    /// heard.
    Clock::time_point write(Clock::time_point now, std::size_t frames);
    /// The thread has made the last write's frames and hands them to the server at now; a
    /// wait from here to the next write of half a period or more is the server's.
    void handedOver(Clock::time_point now) { m_handedOver = now; }
    /// The device was parked (its thread held) until now: that wait was not the server's.
    void resume() { m_resumed = true; }

private:
    int m_rate;
    std::optional<Clock::time_point> m_lastWrite;
    std::optional<Clock::time_point> m_handedOver;
    double m_queued = 0;  // frames held after the last write, not yet heard then
    std::optional<double> m_fullQueue;  // frames held before the first write after a wait
    bool m_resumed = false;
};
