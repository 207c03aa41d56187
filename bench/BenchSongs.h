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

/// How long each row of rowBeeps() lasts: 3 ticks of 20 ms.
constexpr double kRowBeepSeconds = 0.06;
constexpr int kRowBeepPatternRows = 64;
constexpr int kRowBeepOrders = 16;
/// Every this many rows, from row 0 on, rowBeeps() beeps twice as long.
constexpr int kRowBeepLongEvery = 16;

/// A beep at the start of every row and silence after it, on one channel panned to the
/// middle: kRowBeepOrders orders of one pattern of kRowBeepPatternRows rows (about a minute),
/// so that each row's sound starts at a sharp edge that a recording tells apart from its
/// neighbours'. Beeps last about 20 ms, and 40 ms on every kRowBeepLongEvery-th row, so that a
/// recording tells each beep's row among kRowBeepLongEvery without counting from the first
/// (a fresh stream may lose its first milliseconds).
ModuleMaker::Song rowBeeps();

constexpr int kVariedSongs = 24;

/// The n-th (0 to kVariedSongs - 1) of a family of short four-channel songs that fit every format, each with
/// its own name, speed, samples, pitch and number of patterns, so that no two are alike.
ModuleMaker::Song variedSong(int n);

constexpr int kLevelSongs = 5;

/// The n-th (0 to kLevelSongs - 1) of songs of very different loudness, about 23 seconds
/// each: from one channel of a soft sine at a low volume to 16 channels of saws at full
/// volume, in XM, S3M, MOD, IT and XM in turn, for levelling modules.
ModuleMaker::Song levelSong(int n);

/// The format of levelSong(n).
ModuleMaker::Format levelSongFormat(int n);

}  // namespace BenchSongs
