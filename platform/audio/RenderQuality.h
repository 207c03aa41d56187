#pragma once

#include <algorithm>
#include <array>

/// How modules are rendered: libopenmpt's own settings, with the range of each. A plain value,
/// for any thread.
struct RenderQuality {
    /// The interpolation filters by their taps, in the order the options dialog offers them:
    /// 1 (none), 2 (linear), 4 (cubic), 8 (windowed sinc).
    static constexpr std::array<int, 4> kInterpolationTaps = {1, 2, 4, 8};
    /// Stereo separation in percent: 0 is mono, 100 the module's own, 200 the widest.
    static constexpr int kMinStereoSeparation = 0;
    static constexpr int kMaxStereoSeparation = 200;
    /// Volume ramping strength: the library's choice (the lowest value), 0 (off) or up to
    /// kMaxVolumeRamping (strongest).
    static constexpr int kDefaultVolumeRamping = -1;
    static constexpr int kMaxVolumeRamping = 10;

    int interpolationTaps = 8;                  // one of kInterpolationTaps
    int stereoSeparation = 100;                 // kMinStereoSeparation to kMaxStereoSeparation
    bool amigaResampler = false;                // the Amiga's own sound for Amiga formats
    int volumeRamping = kDefaultVolumeRamping;  // kDefaultVolumeRamping to kMaxVolumeRamping

    /// This with each setting brought into its range.
    RenderQuality withinRanges() const
    {
        RenderQuality quality = *this;
        quality.interpolationTaps =
            std::clamp(interpolationTaps, kInterpolationTaps.front(), kInterpolationTaps.back());
        quality.stereoSeparation = std::clamp(stereoSeparation, kMinStereoSeparation, kMaxStereoSeparation);
        quality.volumeRamping = std::clamp(volumeRamping, kDefaultVolumeRamping, kMaxVolumeRamping);
        return quality;
    }

    bool operator==(const RenderQuality&) const = default;
};
