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

/// Writes song in format to dir/name.<extension> and returns the path; empty on failure.
QString write(const ModuleMaker::Song& song, ModuleMaker::Format format, const QString& dir,
              const QString& name);

}  // namespace TestSongs
