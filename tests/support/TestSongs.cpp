#include "support/TestSongs.h"

namespace TestSongs {

using namespace ModuleMaker;

Song toneSong()
{
    Song song;
    song.name = QString::fromLatin1(kToneSongName);
    song.channels = kToneSongChannels;
    song.speed = 3;
    song.samples = {
        {QStringLiteral("Square Lead"), Waveform::Square, 32, 1024, true, 0, 48, 128},
        {QStringLiteral("Saw Bass"), Waveform::Saw, 64, 1024, true, 0, 48, 128},
        {QStringLiteral("Sine Pad"), Waveform::Sine, 32, 1024, true, 0, 40, 128},
    };
    const int melodies[kToneSongPatterns][4] = {{0, 4, 7, 12}, {2, 5, 9, 14}, {4, 7, 11, 16}, {0, 7, 4, 0}};
    for (const auto& melody : melodies) {
        Pattern pattern;
        pattern.rows = 16;
        for (int beat = 0; beat < 4; ++beat)
            pattern.notes.append({beat * 4, 0, noteNumber(4, melody[beat]), 1, -1});
        pattern.notes.append({0, 1, noteNumber(3, melody[0]), 2, 40});
        pattern.notes.append({0, 2, noteNumber(4, melody[1]), 3, -1});
        song.patterns.append(pattern);
    }
    song.orders = {0, 1, 2, 3, 1, 2};
    return song;
}

Song beatSong()
{
    Song song;
    song.name = QStringLiteral("Beat Test Song");
    song.channels = 2;
    song.speed = 3;
    // Fades to 0 by its end: a sample that stops away from 0 leaves a slowly decaying offset
    // (the mixer's click removal), which would blur the silence between the beats.
    song.samples = {{QStringLiteral("Click"), Waveform::Square, 32, 256, false, 24, 64, 0}};
    Pattern pattern;
    pattern.rows = 16;
    for (int row = 0; row < pattern.rows; row += 4)
        pattern.notes.append({row, 0, kNoteC4, 1, -1});
    song.patterns = {pattern};
    song.orders = QList<int>(8, 0);
    return song;
}

Song steadyToneSong()
{
    Song song;
    song.name = QStringLiteral("Steady Tone Song");
    song.channels = 1;
    song.samples = {{QStringLiteral("Sine"), Waveform::Sine, 32, 1024, true, 0, 64, 128}};
    Pattern struck;
    struck.notes.append({0, 0, kNoteC4, 1, -1});
    song.patterns = {struck};
    song.orders = {0, 0};
    return song;
}

QString write(const Song& song, Format format, const QString& dir, const QString& name)
{
    const QString path = dir + QLatin1Char('/') + name + QLatin1Char('.') + extension(format);
    return ModuleMaker::write(song, format, path) ? path : QString();
}

}  // namespace TestSongs
