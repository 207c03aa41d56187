#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// Writes small, valid tracker modules from a description: ProTracker MOD ("M.K.", 4
/// channels), ScreamTracker 3 S3M, FastTracker 2 XM and Impulse Tracker IT (one instrument per
/// sample). Tests make their own modules with it, and the demo module is made with it at build
/// time.
///
/// Samples are 8-bit, generated from a waveform. Notes are numbered as in XM: 1 is C-0, 49 is
/// C-4, at which a sample plays at its base rate of 8363 Hz, 96 is B-7 (IT names them an octave
/// higher). All four formats play a note at the same pitch.
///
/// Plain functions without shared state; any thread.
namespace ModuleMaker {

enum class Format { Mod, S3m, Xm, It };

enum class Waveform { Square, Saw, Triangle, Sine, Noise };

constexpr int kNoteC4 = 49;
/// XM key off; S3M and IT note cut; not allowed in MOD.
constexpr int kNoteOff = 97;
/// In an order list: the end of a song (S3M, IT).
constexpr int kSongEnd = -1;

/// The note number of a note in an octave: noteNumber(4, 0) is C-4, noteNumber(4, 9) is A-4.
constexpr int noteNumber(int octave, int semitone) { return octave * 12 + semitone + 1; }

struct Sample {
    /// Latin-1; cut to 22 bytes (MOD, XM), 25 bytes (IT) or 28 bytes (S3M).
    QString name;
    Waveform waveform = Waveform::Square;
    /// Sample points per waveform cycle, 2 to 4096. 32 sounds as middle C (261 Hz) at C-4;
    /// 128 sounds two octaves lower.
    int cycleLength = 32;
    /// Sample points, even, 2 to 65534.
    int length = 2048;
    /// Loops the whole sample; otherwise it plays once.
    bool loop = true;
    /// Points over which the amplitude halves; 0 keeps it constant.
    int halfLife = 0;
    /// Default volume, 0 to 64.
    int volume = 64;
    /// XM and IT only: 0 (left) to 255 (right); IT keeps it in 65 steps.
    int panning = 128;
};

struct Note {
    int row = 0;
    int channel = 0;
    /// 1 to 96, or kNoteOff. MOD holds only C-3 to B-5 (37 to 72).
    int note = kNoteC4;
    /// Sample (instrument) number from 1.
    int sample = 1;
    /// 0 to 64; -1 leaves the sample's volume.
    int volume = -1;
    /// IT only: an effect as trackers show it, a letter from 'A' to 'Z' (0: none), with its
    /// parameter, 0 to 255. The other formats leave it out.
    char itEffect = 0;
    int itEffectParameter = 0;
};

struct Pattern {
    /// 1 to 64 (MOD, S3M; shorter patterns end with a pattern break), 1 to 256 (XM) or 1 to
    /// 200 (IT).
    int rows = 64;
    QList<Note> notes;
};

struct Song {
    /// Latin-1; cut to 20 bytes (MOD, XM), 25 bytes (IT) or 28 bytes (S3M).
    QString name;
    /// 4 for MOD; 1 to 16 for S3M; 1 to 32 for XM; 1 to 64 for IT.
    int channels = 4;
    /// Ticks per row (1 to 31) and beats per minute (32 to 255).
    int speed = 6;
    int tempo = 125;
    /// At most 31 (MOD), 99 (S3M, IT) or 128 (XM).
    QList<Sample> samples;
    /// At most 64 (MOD) or 200 (S3M, XM, IT). MOD keeps only the patterns up to the highest
    /// pattern in the order list, as ProTracker counts them.
    QList<Pattern> patterns;
    /// Pattern numbers, 1 to 128 of them (MOD) or to 200 (S3M, XM, IT). S3M and IT: kSongEnd
    /// ends a song there, and the orders after it play as another (a subsong).
    QList<int> orders;
    /// XM and IT only: the song message, Latin-1, lines separated by "\n"; none when empty.
    /// Both store its lines ending in CR; IT keeps its first 7999 bytes.
    QString message;
};

/// The bytes of the module, or empty when the song does not fit the format: the ranges above,
/// and for MOD a channel without a volume in the rows that carry a pattern break (the last row
/// of a short pattern) or a speed or tempo other than 6 and 125 (row 0 of the first pattern).
QByteArray make(const Song& song, Format format);

/// Writes make(song, format) to path, whole or not at all. False when the song does not fit
/// the format or the file cannot be written.
bool write(const Song& song, Format format, const QString& path);

/// The sample's points, signed 8-bit, as generated from its waveform.
QByteArray samplePoints(const Sample& sample);

/// "mod", "s3m", "xm" or "it".
QString extension(Format format);

}  // namespace ModuleMaker
