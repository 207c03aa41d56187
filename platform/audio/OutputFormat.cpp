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

namespace {

constexpr int kFewestFrames = 64;

int powerOfTwoFrames(int rate, int milliseconds)
{
    const long long wanted = static_cast<long long>(rate) * milliseconds / 1000;
    const auto frames = std::bit_floor(static_cast<unsigned long long>(std::max<long long>(wanted, 1)));
    return std::max(kFewestFrames, static_cast<int>(frames));
}

}  // namespace

DeviceTiming deviceTiming(int rate, int bufferMs, bool serverKeepsLatency)
{
    // The mixing buffer length (300 ms and more) is how long a volume change or a jump takes
    // to be heard. A server that keeps it queued wakes the device thread a few times a second
    // whatever the period, so the period can be short: a device mostly starts with one period
    // of silence (SDL 2 runs its thread before the device is unpaused) and closes after
    // sleeping two. Shorter than 24 ms, the writes to the server cost CPU; longer than
    // 500 ms, the fade-out is heard too late; 500 ms halves the server's work against 200 ms.
    constexpr int kPeriodMs = 24;
    constexpr int kLongestServerLatencyMs = 500;
    if (serverKeepsLatency)
        return {powerOfTwoFrames(rate, kPeriodMs), std::min(bufferMs, kLongestServerLatencyMs)};
    // Otherwise the driver queues about two periods: a long period delays the first sound and
    // blurs the fade-out's steps, which come every 100 ms; 200 ms still ramps each period to
    // a new level, and shorter ones wake the device so often that its CPU share doubles at
    // 100 ms and rises tenfold at 50 ms.
    constexpr int kLongestPeriodMs = 200;
    return {powerOfTwoFrames(rate, std::min(bufferMs, kLongestPeriodMs)), 0};
}
