// ScreamTracker 3 S3M. Little-endian; the parts of the file are found through "parapointers",
// offsets in units of 16 bytes; samples unsigned 8-bit; patterns always 64 rows, packed.
#include "tools/modulemaker/ByteWriter.h"
#include "tools/modulemaker/FormatWriters.h"

namespace ModuleMaker {

namespace {

constexpr int kRows = 64;
constexpr int kHeaderSize = 0x60;
constexpr int kInstrumentSize = 80;
constexpr int kEmptyNote = 255;
constexpr int kNoteCut = 254;
constexpr int kEndOfSong = 255;
constexpr int kEffectPatternBreak = 3;  // 'C'

int noteByte(int note)
{
    if (note == kNoteOff)
        return kNoteCut;
    const int fromC0 = note - 1;
    return ((fromC0 / 12) << 4) | (fromC0 % 12);
}

// Even channels to the left, odd ones to the right, as a tracker's default layout.
int channelSetting(int channel) { return channel % 2 == 0 ? channel / 2 : 8 + channel / 2; }

QByteArray packedPattern(const Pattern& pattern, int channels)
{
    const auto grid = noteGrid(pattern, channels);
    ByteWriter out;
    out.le16(0);  // packed length, filled in below
    for (int row = 0; row < kRows; ++row) {
        for (int channel = 0; channel < channels && row < pattern.rows; ++channel) {
            const auto& note = grid[row * channels + channel];
            const bool patternBreak = row == pattern.rows - 1 && pattern.rows < kRows && channel == 0;
            if (!note && !patternBreak)
                continue;
            const bool hasVolume = note && note->volume >= 0;
            out.u8(channel | (note ? 0x20 : 0) | (hasVolume ? 0x40 : 0) | (patternBreak ? 0x80 : 0));
            if (note) {
                out.u8(noteByte(note->note));
                out.u8(note->sample);
            }
            if (hasVolume)
                out.u8(note->volume);
            if (patternBreak) {
                out.u8(kEffectPatternBreak);
                out.u8(0);
            }
        }
        out.u8(0);  // end of row
    }
    out.patchLe16(0, int(out.size()));
    return out.data();
}

void writeInstrument(ByteWriter& out, const Sample& sample, qsizetype dataOffset)
{
    const qsizetype memorySegment = dataOffset / 16;
    out.u8(1);  // a sample instrument
    out.zeros(12);  // DOS file name
    out.u8(int(memorySegment >> 16));
    out.le16(int(memorySegment & 0xFFFF));
    out.le32(quint32(sample.length));
    out.le32(0);
    out.le32(sample.loop ? quint32(sample.length) : 0);
    out.u8(sample.volume);
    out.u8(0);
    out.u8(0);  // not packed
    out.u8(sample.loop ? 1 : 0);
    out.le32(8363);  // rate at C-4
    out.zeros(12);
    out.text(sample.name, 28);
    out.bytes("SCRS");
}

}  // namespace

QByteArray makeS3m(const Song& song)
{
    // The order list holds an even number of entries; the end marker pads it.
    const qsizetype orderCount = song.orders.size() + song.orders.size() % 2;
    const qsizetype sampleCount = song.samples.size();
    const qsizetype patternCount = song.patterns.size();

    QList<QByteArray> packed;
    for (const Pattern& pattern : song.patterns)
        packed.append(packedPattern(pattern, song.channels));

    // Layout: header, order list and parapointers; instruments; patterns; sample data, each
    // part starting on a 16-byte boundary.
    auto aligned = [](qsizetype offset) { return (offset + 15) / 16 * 16; };
    const qsizetype instrumentsAt =
        aligned(kHeaderSize + orderCount + 2 * sampleCount + 2 * patternCount);
    QList<qsizetype> patternAt;
    qsizetype offset = aligned(instrumentsAt + kInstrumentSize * sampleCount);
    for (const QByteArray& bytes : packed) {
        patternAt.append(offset);
        offset = aligned(offset + bytes.size());
    }
    QList<qsizetype> dataAt;
    for (const Sample& sample : song.samples) {
        dataAt.append(offset);
        offset = aligned(offset + sample.length);
    }

    ByteWriter out;
    out.text(song.name, 28);
    out.u8(0x1A);
    out.u8(16);  // type: ScreamTracker 3 module
    out.zeros(2);
    out.le16(int(orderCount));
    out.le16(int(sampleCount));
    out.le16(int(patternCount));
    out.le16(0);  // flags
    out.le16(0x1320);  // made with ScreamTracker 3.20
    out.le16(2);  // unsigned samples
    out.bytes("SCRM");
    out.u8(64);  // global volume
    out.u8(song.speed);
    out.u8(song.tempo);
    out.u8(0x80 | 48);  // stereo, master volume 48
    out.u8(0);
    out.u8(0);  // no panning table
    out.zeros(8 + 2);
    for (int channel = 0; channel < 32; ++channel)
        out.u8(channel < song.channels ? channelSetting(channel) : 255);
    for (qsizetype i = 0; i < orderCount; ++i)
        out.u8(i < song.orders.size() && song.orders[i] != kSongEnd ? song.orders[i] : kEndOfSong);
    for (qsizetype i = 0; i < sampleCount; ++i)
        out.le16(int((instrumentsAt + kInstrumentSize * i) / 16));
    for (qsizetype at : patternAt)
        out.le16(int(at / 16));

    out.alignTo(16);
    for (qsizetype i = 0; i < sampleCount; ++i)
        writeInstrument(out, song.samples[i], dataAt[i]);
    for (const QByteArray& bytes : packed) {
        out.alignTo(16);
        out.bytes(bytes);
    }
    for (const Sample& sample : song.samples) {
        out.alignTo(16);
        QByteArray points = samplePoints(sample);
        for (char& point : points)
            point = char(quint8(point) ^ 0x80);  // signed to unsigned
        out.bytes(points);
    }
    return out.data();
}

}  // namespace ModuleMaker
