#include "tools/modulemaker/ModuleMaker.h"

#include "tools/modulemaker/FormatWriters.h"

#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ModuleMaker {

namespace {

struct FormatLimits {
    int minChannels;
    int maxChannels;
    int maxSamples;
    int maxPatterns;
    int maxRows;
    int maxOrders;
    int lowestNote;
    int highestNote;
    bool noteOff;
    bool songEnds;  // the order list holds ends of songs
};

FormatLimits limitsOf(Format format)
{
    switch (format) {
    case Format::Mod:
        return {4, 4, 31, 64, 64, 128, 37, 72, false, false};
    case Format::S3m:
        return {1, 16, 99, 200, 64, 200, 1, 96, true, true};
    case Format::Xm:
        return {1, 32, 128, 200, 256, 200, 1, 96, true, false};
    case Format::It:
        break;
    }
    return {1, 64, 99, 200, 200, 200, 1, 96, true, true};
}

bool fits(const Sample& sample)
{
    return sample.cycleLength >= 2 && sample.cycleLength <= 4096 && sample.length >= 2
        && sample.length <= 65534 && sample.length % 2 == 0 && sample.halfLife >= 0
        && sample.volume >= 0 && sample.volume <= 64 && sample.panning >= 0
        && sample.panning <= 255;
}

bool fits(const Note& note, const Pattern& pattern, const Song& song, const FormatLimits& limits)
{
    const bool pitchFits = (note.note >= limits.lowestNote && note.note <= limits.highestNote)
        || (note.note == kNoteOff && limits.noteOff);
    return note.row >= 0 && note.row < pattern.rows && note.channel >= 0
        && note.channel < song.channels && pitchFits && note.sample >= 0
        && note.sample <= song.samples.size() && note.volume >= -1 && note.volume <= 64;
}

bool fits(const Song& song, const FormatLimits& limits)
{
    if (song.channels < limits.minChannels || song.channels > limits.maxChannels
        || song.speed < 1 || song.speed > 31 || song.tempo < 32 || song.tempo > 255
        || song.samples.size() > limits.maxSamples || song.patterns.isEmpty()
        || song.patterns.size() > limits.maxPatterns || song.orders.isEmpty()
        || song.orders.size() > limits.maxOrders)
        return false;
    if (!std::all_of(song.samples.begin(), song.samples.end(),
                     [](const Sample& sample) { return fits(sample); }))
        return false;
    for (const Pattern& pattern : song.patterns) {
        if (pattern.rows < 1 || pattern.rows > limits.maxRows)
            return false;
        for (const Note& note : pattern.notes) {
            if (!fits(note, pattern, song, limits))
                return false;
        }
    }
    return std::all_of(song.orders.begin(), song.orders.end(), [&](int order) {
        return (order >= 0 && order < song.patterns.size()) || (order == kSongEnd && limits.songEnds);
    });
}

double waveValue(Waveform waveform, double phase, quint32& noise)
{
    switch (waveform) {
    case Waveform::Square:
        return phase < 0.5 ? 1.0 : -1.0;
    case Waveform::Saw:
        return 2.0 * phase - 1.0;
    case Waveform::Triangle:
        return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Waveform::Sine:
        return std::sin(2.0 * std::numbers::pi * phase);
    case Waveform::Noise:
        break;
    }
    // A fixed linear congruential sequence, so the same song always gives the same bytes.
    noise = noise * 1664525u + 1013904223u;
    return double(noise >> 8) / double(1u << 23) - 1.0;
}

}  // namespace

QList<std::optional<Note>> noteGrid(const Pattern& pattern, int channels)
{
    QList<std::optional<Note>> grid(qsizetype(pattern.rows) * channels);
    for (const Note& note : pattern.notes)
        grid[qsizetype(note.row) * channels + note.channel] = note;
    return grid;
}

QByteArray messageBytes(const Song& song)
{
    return song.message.toLatin1().replace('\n', '\r');
}

QByteArray samplePoints(const Sample& sample)
{
    // Peak below full scale, so that waveform rounding never wraps.
    constexpr double kPeak = 100.0;
    QByteArray points(sample.length, '\0');
    quint32 noise = 0x1234567u;
    for (int i = 0; i < sample.length; ++i) {
        const double phase = double(i % sample.cycleLength) / sample.cycleLength;
        const double envelope = sample.halfLife > 0 ? std::exp2(-double(i) / sample.halfLife) : 1.0;
        points[i] = char(std::lround(kPeak * envelope * waveValue(sample.waveform, phase, noise)));
    }
    return points;
}

QByteArray make(const Song& song, Format format)
{
    if (!fits(song, limitsOf(format)))
        return {};
    switch (format) {
    case Format::Mod:
        return makeMod(song);
    case Format::S3m:
        return makeS3m(song);
    case Format::Xm:
        return makeXm(song);
    case Format::It:
        break;
    }
    return makeIt(song);
}

bool write(const Song& song, Format format, const QString& path)
{
    const QByteArray bytes = make(song, format);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

QString extension(Format format)
{
    switch (format) {
    case Format::Mod:
        return QStringLiteral("mod");
    case Format::S3m:
        return QStringLiteral("s3m");
    case Format::Xm:
        return QStringLiteral("xm");
    case Format::It:
        break;
    }
    return QStringLiteral("it");
}

}  // namespace ModuleMaker
