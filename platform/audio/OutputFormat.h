#pragma once

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

    /// The format of an output mode (AudioLibrary::kMode8BitMono and its siblings) at rate;
    /// nothing for another mode or a rate out of range.
    static std::optional<OutputFormat> fromMode(int mode, int rate);

    friend bool operator==(const OutputFormat&, const OutputFormat&) = default;
};

/// Frames per device buffer for a mixing buffer length of bufferMs milliseconds at rate: the
/// largest power of two not above that length, and never above 200 ms nor below 64 frames.
int deviceBufferFrames(int rate, int bufferMs);
