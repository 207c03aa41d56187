#pragma once

#include "tools/modulemaker/ModuleMaker.h"

#include <QString>

// Songs the audio tests make for themselves.
namespace TestSongs {

constexpr const char* kToneSongName = "Tone Test Song";
constexpr int kToneSongOrders = 6;
constexpr int kToneSongPatterns = 4;
constexpr int kToneSongChannels = 4;

/// Continuous sound from three looped samples named "Square Lead", "Saw Bass" and
/// "Sine Pad", over four 16-row patterns in six orders (about one second each). Fits all
/// three formats.
ModuleMaker::Song toneSong();

/// Seconds from one beat of beatSong() to the next: 4 rows of 3 ticks of 20 ms.
constexpr double kBeatSeconds = 0.24;

/// A short click on channel 0, panned hard left (XM), every kBeatSeconds and silence between,
/// over eight orders of one 16-row pattern.
ModuleMaker::Song beatSong();

/// How long each order of steadyToneSong() lasts: 64 rows of 6 ticks of 20 ms.
constexpr double kSteadyToneOrderSeconds = 7.68;

/// One sine tone at C-4 (261 Hz), at full volume in the middle, struck at the first row of each
/// of its two orders and held through the order (64 rows, kSteadyToneOrderSeconds): a waveform
/// so smooth that any cut in it stands out. A jump to the start of an order strikes it anew;
/// one into the middle of an order is silent until the next (libopenmpt does not sync samples
/// to a jump). XM only.
ModuleMaker::Song steadyToneSong();

/// Writes song in format to dir/name.<extension> and returns the path; empty on failure.
QString write(const ModuleMaker::Song& song, ModuleMaker::Format format, const QString& dir,
              const QString& name);

}  // namespace TestSongs
