#include "bench/BenchSongs.h"

namespace BenchSongs {

using namespace ModuleMaker;

Song sideTone(int panning)
{
    Song song;
    song.name = QStringLiteral("Side Tone");
    song.channels = 1;
    song.samples = {{QStringLiteral("Tone"), Waveform::Square, 32, 2048, true, 0, 64, panning}};
    Pattern pattern;
    pattern.notes.append({0, 0, kNoteC4, 1, -1});
    song.patterns = {pattern};
    song.orders = {0};
    return song;
}

Song rowBeeps()
{
    Song song;
    song.name = QStringLiteral("Row Beeps");
    song.channels = 1;
    song.speed = 3;
    // At C-4, 64 points sound for about 20 ms and 240 for about 40 ms, with the 13 ms that
    // libopenmpt takes to let a sample's end die away. A square wave starts at its full level
    // at once.
    song.samples = {{QStringLiteral("Short Beep"), Waveform::Square, 16, 64, false, 0, 64, 128},
                    {QStringLiteral("Long Beep"), Waveform::Square, 16, 240, false, 0, 64, 128}};
    Pattern pattern;
    pattern.rows = kRowBeepPatternRows;
    for (int row = 0; row < pattern.rows; ++row)
        pattern.notes.append({row, 0, kNoteC4, row % kRowBeepLongEvery == 0 ? 2 : 1, -1});
    song.patterns = {pattern};
    song.orders = QList<int>(kRowBeepOrders, 0);
    return song;
}

Song longSong()
{
    Song song;
    song.name = QStringLiteral("Long Bench Song");
    song.channels = 32;
    const Waveform waveforms[] = {Waveform::Square, Waveform::Saw, Waveform::Triangle,
                                  Waveform::Sine, Waveform::Noise};
    for (int i = 0; i < 16; ++i) {
        const bool looped = i % 3 != 2;
        song.samples.append({QStringLiteral("Voice %1").arg(i + 1), waveforms[i % 5],
                             16 << (i % 4), 8192 + 2048 * (i % 8), looped, looped ? 0 : 3000,
                             40 + i, 16 * (i % 16)});
    }
    constexpr int kPatterns = 24;
    for (int p = 0; p < kPatterns; ++p) {
        Pattern pattern;
        for (int channel = 0; channel < song.channels; ++channel) {
            // Each channel strikes every 2 to 8 rows, so that most voices sound at once.
            const int every = 2 + (channel + p) % 4 * 2;
            for (int row = channel % every; row < pattern.rows; row += every) {
                const int note = noteNumber(2 + (channel + row / every) % 5, (row * 7 + channel * 5 + p) % 12);
                pattern.notes.append({row, channel, note, 1 + (channel + p) % 16, 24 + (row * 3 + channel) % 40});
            }
        }
        song.patterns.append(pattern);
    }
    for (int i = 0; i < 2 * kPatterns; ++i)
        song.orders.append(i % kPatterns);
    return song;
}

Song busySong()
{
    Song song;
    song.name = QStringLiteral("Busy Bench Song");
    song.speed = 3;
    song.samples = {{QStringLiteral("Saw"), Waveform::Saw, 32, 2048, true, 0, 48, 64},
                    {QStringLiteral("Square"), Waveform::Square, 64, 2048, true, 0, 48, 192}};
    Pattern pattern;
    for (int row = 0; row < 64; row += 2) {
        for (int channel = 0; channel < 4; ++channel)
            pattern.notes.append({row, channel, noteNumber(3 + channel % 2, (row + 3 * channel) % 12), 1 + channel % 2, -1});
    }
    song.patterns = {pattern};
    song.orders = {0, 0};
    return song;
}

Song variedSong(int n)
{
    Song song;
    song.name = QStringLiteral("Varied Song %1").arg(n + 1, 2, 10, QLatin1Char('0'));
    song.speed = 3 + n % 4;
    const Waveform waveforms[] = {Waveform::Square, Waveform::Saw, Waveform::Triangle,
                                  Waveform::Sine, Waveform::Noise};
    for (int i = 0; i < 1 + n % 3; ++i)
        song.samples.append({QStringLiteral("Voice %1").arg(i + 1), waveforms[(n + i) % 5], 16 << ((n + i) % 3),
                             1024 * (1 + (n + i) % 6), i != 2, 0, 40 + i * 8, 64 + 64 * i});
    for (int p = 0; p < 1 + n % 5; ++p) {
        Pattern pattern;
        for (int row = p % 2; row < pattern.rows; row += 2) {
            for (int channel = 0; channel < 4; ++channel) {
                // Octaves 3 and 4: within MOD's C-3 to B-5.
                const int note = noteNumber(3 + channel % 2, (row + 3 * channel + n) % 12);
                pattern.notes.append({row, channel, note, 1 + (channel + p) % static_cast<int>(song.samples.size()), -1});
            }
        }
        song.patterns.append(pattern);
    }
    for (int i = 0; i < song.patterns.size() + 1; ++i)
        song.orders.append(i % song.patterns.size());
    return song;
}

Song levelSong(int n)
{
    constexpr int kChannels[kLevelSongs] = {1, 2, 4, 8, 16};
    constexpr int kVolumes[kLevelSongs] = {6, 16, 32, 48, 64};
    constexpr Waveform kWaveforms[kLevelSongs] = {Waveform::Sine, Waveform::Triangle, Waveform::Square,
                                                  Waveform::Saw, Waveform::Saw};
    Song song;
    song.name = QStringLiteral("Level Song %1").arg(n + 1);
    song.channels = kChannels[n];
    song.samples = {{QStringLiteral("Voice"), kWaveforms[n], 32, 2048, true, 0, kVolumes[n], 128}};
    for (int p = 0; p < 3; ++p) {
        Pattern pattern;
        // A chord that changes every eight rows, octaves 3 and 4: within MOD's range.
        for (int row = 0; row < pattern.rows; row += 8) {
            for (int channel = 0; channel < song.channels; ++channel)
                pattern.notes.append({row, channel, noteNumber(3 + channel % 2, (row / 8 + 4 * channel + p) % 12), 1, -1});
        }
        song.patterns.append(pattern);
    }
    song.orders = {0, 1, 2};
    return song;
}

Format levelSongFormat(int n)
{
    constexpr Format kFormats[kLevelSongs] = {Format::Xm, Format::S3m, Format::Mod, Format::It, Format::Xm};
    return kFormats[n];
}

}  // namespace BenchSongs
