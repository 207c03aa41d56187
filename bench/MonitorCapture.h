#pragma once

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

/// What the sound server played, recorded from its monitor inside this process through SDL's
/// default capture device, with the time each frame was played on the steady clock, which is
/// CLOCK_MONOTONIC here as it is for the audio library's snapshots.
///
/// The server hands the monitor over in small pieces (a capture period of 256 frames). A piece
/// that arrives at time t ending at frame n was played no later than t; the earliest of all
/// t - n / rate is when frame 0 was played, and frame k then at that time plus k / rate. So a
/// frame's time is when the sink mixed it, which it does at a steady pace up to its latency
/// ahead: while the monitor records, about a capture period. A stream that comes or goes can
/// make the sink mix a few milliseconds again, which moves the times of the frames after it by
/// as much; clicks at known moments tell how much (ClickDevice in heard_row_offset).
///
/// Threads: SDL's capture thread appends; everything else on one thread of the caller's.
class MonitorCapture {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kRate = 44100;

    /// Records SDL's default capture device (for PulseAudio, PULSE_SOURCE names the monitor,
    /// such as "nullsink.monitor") as 16-bit stereo at kRate, for up to seconds; null when it
    /// does not open. SDL's audio must be started.
    static std::unique_ptr<MonitorCapture> open(int seconds);
    /// Stops recording.
    ~MonitorCapture();
    MonitorCapture(const MonitorCapture&) = delete;
    MonitorCapture& operator=(const MonitorCapture&) = delete;

    /// Waits until the recording holds what was played up to at, for at most timeout (the
    /// capture thread takes a while at times); whether it does.
    bool waitFor(Clock::time_point at, std::chrono::milliseconds timeout) const;

    /// A sound in the recording: when it began, and how long until it fell silent.
    struct Sound {
        Clock::time_point start;
        Clock::duration length;
    };
    /// The sounds that began between from and to: runs of frames louder than threshold (of
    /// 32767, either channel) with no quiet of frames no louder within them, after at least
    /// that much quiet.
    std::vector<Sound> sounds(Clock::time_point from, Clock::time_point to, int threshold,
                              std::chrono::milliseconds quiet) const;

private:
    MonitorCapture() = default;
    static void callback(void* self, std::uint8_t* stream, int length);
    Clock::time_point timeOf(std::size_t frame) const;

    SDL_AudioDeviceID m_id = 0;
    mutable std::mutex m_mutex;
    std::vector<std::int16_t> m_samples;  // interleaved left and right
    std::optional<Clock::time_point> m_origin;  // when frame 0 was played
};
