// FastTracker 2 XM, version 1.04. Little-endian; one instrument per sample, each with that one
// sample and no envelopes; linear frequency table; patterns packed; sample points stored as
// differences.
#include "tools/modulemaker/ByteWriter.h"
#include "tools/modulemaker/FormatWriters.h"

namespace ModuleMaker {

namespace {

constexpr int kHeaderSize = 276;       // from the header size field to the end of the order table
constexpr int kInstrumentHeaderSize = 263;
constexpr int kSampleHeaderSize = 40;

QByteArray packedPattern(const Pattern& pattern, int channels)
{
    const auto grid = noteGrid(pattern, channels);
    ByteWriter out;
    for (const auto& note : grid) {
        if (!note) {
            out.u8(0x80);  // packed cell with no fields
            continue;
        }
        const bool hasVolume = note->volume >= 0;
        const bool hasSample = note->sample > 0 && note->note != kNoteOff;
        out.u8(0x80 | 0x01 | (hasSample ? 0x02 : 0) | (hasVolume ? 0x04 : 0));
        out.u8(note->note);
        if (hasSample)
            out.u8(note->sample);
        if (hasVolume)
            out.u8(0x10 + note->volume);
    }
    return out.data();
}

void writeInstrument(ByteWriter& out, const Sample& sample)
{
    out.le32(kInstrumentHeaderSize);
    out.text(sample.name, 22);
    out.u8(0);   // type
    out.le16(1);  // samples
    out.le32(kSampleHeaderSize);
    out.zeros(96);  // every note plays sample 1
    out.zeros(48 + 48);  // volume and panning envelope points, unused
    out.zeros(2 + 3 + 3 + 2);  // point counts, sustain and loop points, envelope types: none
    out.zeros(4);  // vibrato
    out.le16(0);  // fade-out
    out.zeros(22);  // reserved, up to the instrument header size

    out.le32(quint32(sample.length));
    out.le32(0);
    out.le32(sample.loop ? quint32(sample.length) : 0);
    out.u8(sample.volume);
    out.u8(0);  // finetune
    out.u8(sample.loop ? 1 : 0);  // forward loop, 8-bit
    out.u8(sample.panning);
    out.u8(0);  // relative note: C-4 plays at 8363 Hz
    out.u8(0);
    out.text(sample.name, 22);

    const QByteArray points = samplePoints(sample);
    char previous = 0;
    for (char point : points) {
        out.u8(quint8(point) - quint8(previous));
        previous = point;
    }
}

}  // namespace

QByteArray makeXm(const Song& song)
{
    ByteWriter out;
    out.bytes("Extended Module: ");
    out.text(song.name, 20);
    out.u8(0x1A);
    out.text(QStringLiteral("Jukarium ModuleMaker"), 20);
    out.le16(0x0104);
    out.le32(kHeaderSize);
    out.le16(int(song.orders.size()));
    out.le16(0);  // restart position
    out.le16(song.channels);
    out.le16(int(song.patterns.size()));
    out.le16(int(song.samples.size()));
    out.le16(1);  // linear frequency table
    out.le16(song.speed);
    out.le16(song.tempo);
    for (int i = 0; i < 256; ++i)
        out.u8(i < song.orders.size() ? song.orders[i] : 0);

    for (const Pattern& pattern : song.patterns) {
        const QByteArray packed = packedPattern(pattern, song.channels);
        out.le32(9);  // pattern header size
        out.u8(0);    // packing type
        out.le16(pattern.rows);
        out.le16(int(packed.size()));
        out.bytes(packed);
    }
    for (const Sample& sample : song.samples)
        writeInstrument(out, sample);
    // The song message as trackers of the OpenMPT family keep it: a "text" chunk at the end.
    if (!song.message.isEmpty()) {
        const QByteArray message = messageBytes(song);
        out.bytes("text");
        out.le32(std::uint32_t(message.size()));
        out.bytes(message);
    }
    return out.data();
}

}  // namespace ModuleMaker
