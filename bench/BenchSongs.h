#pragma once

#include "tools/modulemaker/ModuleMaker.h"

// Songs the benchmarks play, made with the module maker so that no module from elsewhere is
// needed.
namespace BenchSongs {

/// One looped square tone on channel 0 from the very first row, at full volume, panned hard
/// to one side (XM panning 0: left, 255: right), the other side silent. A second start that
/// plays the right tone over a fading left one is told apart by the channel.
ModuleMaker::Song sideTone(int panning);

/// A real-size song: 32 channels, all busy with a mix of waveforms, one-shot and looped
/// samples and volume changes, over 24 different patterns of 64 rows in 48 orders (about
/// six minutes). Its cost is that of the modules people play, not of a small test song.
ModuleMaker::Song longSong();

/// A short, busy four-channel song that fits MOD, S3M and XM.
ModuleMaker::Song busySong();

constexpr int kVariedSongs = 24;

/// The n-th (0 to kVariedSongs - 1) of a family of short four-channel songs that fit every format, each with
/// its own name, speed, samples, pitch and number of patterns, so that no two are alike.
ModuleMaker::Song variedSong(int n);

}  // namespace BenchSongs
