#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

/// The PCM format of the sound output: what the device plays and what OutputRenderer writes.
struct OutputFormat {
    /// The rates libopenmpt renders at, in frames per second.
    static constexpr int kLowestRate = 8000;
    static constexpr int kHighestRate = 192000;

    /// Frames per second, kLowestRate to kHighestRate.
    int rate = 44100;
    /// 1 (mono) or 2 (stereo, left first).
    int channels = 2;
    /// 1: unsigned 8-bit, silence 128; 2: signed 16-bit in the machine's byte order.
    int bytesPerSample = 2;

    int frameBytes() const { return channels * bytesPerSample; }
    /// How long frames frames sound.
    std::chrono::nanoseconds duration(std::int64_t frames) const
    {
        return std::chrono::nanoseconds(frames * 1000000000 / rate);
    }

    /// The format of an output mode (AudioLibrary::kMode8BitMono and its siblings) at rate;
    /// nothing for another mode or a rate out of range.
    static std::optional<OutputFormat> fromMode(int mode, int rate);

    friend bool operator==(const OutputFormat&, const OutputFormat&) = default;
};

/// How a sound device is driven: the frames SDL asks for at a time (a period), and how many
/// milliseconds of sound the sound server is asked to keep queued ahead (0: none asked; SDL's
/// driver then queues about two periods).
struct DeviceTiming {
    int periodFrames = 0;
    int serverLatencyMs = 0;
};

/// The timing for a mixing buffer length of bufferMs milliseconds at rate.
///
/// serverKeepsLatency (a sound server that queues as much as asked, whatever the period):
/// periods of at most 24 ms, and a server latency of the mixing buffer length, at most
/// 500 ms. Otherwise the period is the latency: at most the mixing buffer length and never
/// above 200 ms. Periods are the largest powers of two within those times, at least 64 frames.
DeviceTiming deviceTiming(int rate, int bufferMs, bool serverKeepsLatency);
