#include "platform/audio/LoudnessMeter.h"

#include "platform/audio/ModuleFile.h"
#include "platform/audio/ModuleQuality.h"

#include <ebur128.h>
#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kChunkFrames = 4096;
/// Songs longer than this are measured over their first hour: enough to know them by.
constexpr double kLongestMeasuredSeconds = 3600;

struct MeterState {
    void operator()(ebur128_state* state) const { ebur128_destroy(&state); }
};

double decibels(double linear) { return linear > 0 ? 20 * std::log10(linear) : -100.0; }

/// The figures of what meter has been given so far; none when libebur128 fails.
std::optional<Loudness> figures(ebur128_state* meter, unsigned channels)
{
    double integrated = 0;
    if (ebur128_loudness_global(meter, &integrated) != EBUR128_SUCCESS)
        return std::nullopt;
    double peak = 0;
    for (unsigned channel = 0; channel < channels; ++channel) {
        double channelPeak = 0;
        if (ebur128_true_peak(meter, channel, &channelPeak) != EBUR128_SUCCESS)
            return std::nullopt;
        peak = std::max(peak, channelPeak);
    }
    Loudness loudness;
    // Silence measures as minus infinity.
    loudness.integratedLufs = std::isfinite(integrated) ? std::max(integrated, Loudness::kSilentLufs)
                                                        : Loudness::kSilentLufs;
    loudness.truePeakDbtp = decibels(peak);
    return loudness;
}

}  // namespace

std::optional<Loudness> measureLoudness(const QString& path, const RenderQuality& quality, int subsong,
                                        const std::atomic<bool>& cancel,
                                        const std::function<void(const Loudness&)>& early)
{
    const std::unique_ptr<LoadedModule> loaded = loadModuleFile(path);
    if (!loaded)
        return std::nullopt;
    openmpt::module& module = *loaded->module;
    constexpr unsigned kChannels = 2;
    const std::unique_ptr<ebur128_state, MeterState> meter(
        ebur128_init(kChannels, kLoudnessMeasureRate, EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK));
    if (!meter)
        return std::nullopt;
    std::vector<float> samples(kChunkFrames * kChannels);
    try {
        applyRenderQuality(module, quality.withinRanges());
        if (subsong > 0 && subsong < loaded->details.subsongs.size())
            module.select_subsong(subsong);
        // One pass: the first read of nothing is the song's end.
        module.ctl_set_text("play.at_end", "stop");
        const auto longest = static_cast<std::size_t>(kLongestMeasuredSeconds * kLoudnessMeasureRate);
        auto earlyAt = static_cast<std::size_t>(kEarlyLoudnessSeconds * kLoudnessMeasureRate);
        if (!early || loaded->details.subsongs.value(subsong).seconds <= kEarlyLoudnessSeconds)
            earlyAt = longest;
        for (std::size_t rendered = 0; rendered < longest;) {
            if (rendered >= earlyAt) {
                earlyAt = longest;
                if (const auto soFar = figures(meter.get(), kChannels))
                    early(*soFar);
            }
            if (cancel.load(std::memory_order_relaxed))
                return std::nullopt;
            const std::size_t got = module.read_interleaved_stereo(kLoudnessMeasureRate, kChunkFrames, samples.data());
            if (got == 0)
                break;
            if (ebur128_add_frames_float(meter.get(), samples.data(), got) != EBUR128_SUCCESS)
                return std::nullopt;
            rendered += got;
        }
    } catch (...) {
        return std::nullopt;  // a module that fails while rendering has no figure
    }
    return figures(meter.get(), kChannels);
}
