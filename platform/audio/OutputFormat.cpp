#include "platform/audio/OutputFormat.h"

#include "platform/audio/AudioLibrary.h"

#include <algorithm>
#include <bit>

std::optional<OutputFormat> OutputFormat::fromMode(int mode, int rate)
{
    if (rate < kLowestRate || rate > kHighestRate)
        return std::nullopt;
    switch (mode) {
    case AudioLibrary::kMode8BitMono:
        return OutputFormat{rate, 1, 1};
    case AudioLibrary::kMode8BitStereo:
        return OutputFormat{rate, 2, 1};
    case AudioLibrary::kMode16BitMono:
        return OutputFormat{rate, 1, 2};
    case AudioLibrary::kMode16BitStereo:
        return OutputFormat{rate, 2, 2};
    default:
        return std::nullopt;
    }
}

int deviceBufferFrames(int rate, int bufferMs)
{
    // The mixing buffer length set by the user (300 ms and more) is a latency target from
    // mixers that had to render far ahead. SDL asks for each buffer just in time, so a long
    // one would only delay the first sound and blur volume changes: the fade-out sets a new
    // volume every 100 ms and the level must be heard falling. 200 ms (8192 frames at
    // 44100 Hz, 2048 at 11200 Hz) still ramps each buffer to a new level; shorter buffers
    // wake the sound server so often that the audio thread's CPU share doubles at 100 ms and
    // rises tenfold at 50 ms (bench/cpu_share.sh).
    constexpr int kLongestMs = 200;
    constexpr int kFewestFrames = 64;
    const long long wanted = static_cast<long long>(rate) * std::min(bufferMs, kLongestMs) / 1000;
    const auto frames = std::bit_floor(static_cast<unsigned long long>(std::max<long long>(wanted, 1)));
    return std::max(kFewestFrames, static_cast<int>(frames));
}
