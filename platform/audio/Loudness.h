#pragma once

/// What EBU R 128 tells of one song as the jukebox renders it.
struct Loudness {
    /// Below this integrated loudness (the standard's absolute gate) a song counts as silent.
    static constexpr double kSilentLufs = -70.0;

    double integratedLufs = kSilentLufs;  // LUFS; kSilentLufs for a silent song
    double truePeakDbtp = -100.0;         // dB of the highest true peak of any channel

    bool operator==(const Loudness&) const = default;
};
