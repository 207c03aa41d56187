// Writes "Jukarium Demo", the jukebox's own demo module: an XM of about 31 seconds that loops,
// C - G - Am - F with bass, a soft pad, a chip lead, hi-hat and kick.
//
// Usage: make_demo_module <output.xm>. Exit code 0 when written.
#include "tools/modulemaker/ModuleMaker.h"

#include <QString>

#include <utility>

namespace {

using namespace ModuleMaker;

enum Instrument { Pad = 1, Bass, Lead, HiHat, Kick };
enum Channel { BassChannel = 0, PadChannel = 1, LeadChannel = 4, HiHatChannel = 5, KickChannel = 6 };

constexpr int kBarRows = 16;

struct Chord {
    int bassRoot;      // the bass instrument sounds two octaves below the note played
    int pad[3];
};

// C, G, Am and F, voiced close together so the pad moves little between them.
constexpr Chord kC{noteNumber(4, 0), {noteNumber(4, 0), noteNumber(4, 4), noteNumber(4, 7)}};
constexpr Chord kG{noteNumber(4, 7), {noteNumber(3, 11), noteNumber(4, 2), noteNumber(4, 7)}};
constexpr Chord kAm{noteNumber(4, 9), {noteNumber(4, 0), noteNumber(4, 4), noteNumber(4, 9)}};
constexpr Chord kF{noteNumber(4, 5), {noteNumber(4, 0), noteNumber(4, 5), noteNumber(4, 9)}};

void addBar(Pattern& pattern, int bar, const Chord& chord, bool drums)
{
    const int first = bar * kBarRows;
    const std::pair<int, int> bassLine[] = {{0, 0}, {6, 0}, {8, 7}, {12, 12}};
    for (const auto& [row, interval] : bassLine)
        pattern.notes.append({first + row, BassChannel, chord.bassRoot + interval, Bass, 60});
    for (int voice = 0; voice < 3; ++voice) {
        pattern.notes.append({first, PadChannel + voice, chord.pad[voice], Pad, 36});
        pattern.notes.append({first + 8, PadChannel + voice, chord.pad[voice], Pad, 24});
    }
    for (int row = 0; row < kBarRows; row += 8)
        pattern.notes.append({first + row, KickChannel, noteNumber(5, 0), Kick, 64});
    if (!drums)
        return;
    for (int row = 2; row < kBarRows; row += 4)
        pattern.notes.append({first + row, HiHatChannel, noteNumber(6, 0), HiHat, 24});
}

Pattern twoBars(const Chord& first, const Chord& second, QList<std::pair<int, int>> lead)
{
    Pattern pattern;
    pattern.rows = 2 * kBarRows;
    addBar(pattern, 0, first, !lead.isEmpty());
    addBar(pattern, 1, second, !lead.isEmpty());
    for (const auto& [row, note] : lead)
        pattern.notes.append({row, LeadChannel, note, note == kNoteOff ? 0 : Lead, -1});
    return pattern;
}

Song demoSong()
{
    Song song;
    song.name = QStringLiteral("Jukarium Demo");
    song.channels = 8;
    song.speed = 6;
    song.tempo = 125;
    song.samples = {
        {QStringLiteral("Warm Pad"), Waveform::Triangle, 32, 20000, false, 7000, 64, 128},
        {QStringLiteral("Round Bass"), Waveform::Triangle, 128, 24000, false, 6000, 64, 128},
        {QStringLiteral("Chip Lead"), Waveform::Square, 32, 12000, false, 5000, 48, 150},
        {QStringLiteral("Hi-Hat"), Waveform::Noise, 32, 1200, false, 150, 32, 100},
        {QStringLiteral("Kick"), Waveform::Sine, 256, 3000, false, 500, 64, 128},
    };
    const int C5 = noteNumber(5, 0), D5 = noteNumber(5, 2), E5 = noteNumber(5, 4),
              F5 = noteNumber(5, 5), G5 = noteNumber(5, 7), A5 = noteNumber(5, 9),
              B5 = noteNumber(5, 11), C6 = noteNumber(6, 0), G4 = noteNumber(4, 7),
              B4 = noteNumber(4, 11);
    song.patterns = {
        twoBars(kC, kG, {}),
        twoBars(kAm, kF, {}),
        twoBars(kC, kG, {{0, G5}, {4, E5}, {8, D5}, {10, E5}, {12, G5},
                         {16, D5}, {20, B4}, {24, D5}, {28, G4}}),
        twoBars(kAm, kF, {{0, E5}, {4, C5}, {8, E5}, {12, A5},
                          {16, A5}, {20, G5}, {24, F5}, {28, E5}}),
        twoBars(kC, kG, {{0, C6}, {4, B5}, {6, A5}, {8, G5}, {12, E5},
                         {16, D5}, {18, E5}, {20, G5}, {24, B5}, {26, A5}, {28, G5}}),
        twoBars(kAm, kF, {{0, A5}, {4, E5}, {8, C6}, {12, B5},
                          {16, A5}, {20, G5}, {24, F5}, {26, E5}, {28, C5}, {30, kNoteOff}}),
    };
    song.orders = {0, 1, 2, 3, 4, 5, 2, 3};
    return song;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    return ModuleMaker::write(demoSong(), Format::Xm, QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
