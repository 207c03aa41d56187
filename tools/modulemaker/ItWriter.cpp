// Impulse Tracker IT, as version 2.14 writes it. Little-endian; the parts of the file are found
// through 32-bit offsets in tables after the header; one instrument per sample, each playing that
// sample on every note, without envelopes; samples signed 8-bit, uncompressed; patterns packed.
#include "tools/modulemaker/ByteWriter.h"
#include "tools/modulemaker/FormatWriters.h"

namespace ModuleMaker {

namespace {

constexpr int kVersion = 0x0214;
// Names take 26 bytes, the last always NUL.
constexpr int kNameBytes = 25;
constexpr int kChannelSlots = 64;
constexpr int kNoteSlots = 120;
constexpr int kEnvelopeSize = 82;
constexpr int kEndOfSong = 255;
constexpr int kNoteCut = 254;
// The maker's C-4 plays at the base rate; IT calls that note C-5 (60).
constexpr int kNoteOffset = 11;
constexpr int kBaseRate = 8363;
constexpr int kCentre = 32;  // panning 0 (left) to 64 (right)
constexpr int kPanningUnused = 0x80;
// IT keeps at most 8000 bytes of message, its terminating NUL included.
constexpr int kMaxMessageBytes = 7999;

// Header flags and special flags.
constexpr int kStereo = 0x01;
constexpr int kUseInstruments = 0x04;
constexpr int kLinearSlides = 0x08;
constexpr int kMessageAttached = 0x01;

// Sample flags and conversion.
constexpr int kSampleData = 0x01;
constexpr int kSampleLoop = 0x10;
constexpr int kSignedPoints = 0x01;

// Offsets within the header and the sample header of fields filled in later.
constexpr int kMessageFieldsAt = 0x36;
constexpr int kSamplePointerAt = 0x48;
constexpr int kOrdersAt = 0xC0;

QByteArray packedPattern(const Pattern& pattern, int channels)
{
    const auto grid = noteGrid(pattern, channels);
    ByteWriter out;
    for (int row = 0; row < pattern.rows; ++row) {
        for (int channel = 0; channel < channels; ++channel) {
            const auto& note = grid[row * channels + channel];
            if (!note) {
                // IT keeps no channel count: readers count the channels that hold something.
                // An empty command in the last channel makes them count every channel.
                if (row == 0 && channel == channels - 1) {
                    out.u8(0x80 | (channel + 1));
                    out.u8(0x08);
                    out.zeros(2);
                }
                continue;
            }
            const bool hasSample = note->sample > 0 && note->note != kNoteOff;
            const bool hasVolume = note->volume >= 0;
            const bool hasEffect = note->itEffect >= 'A' && note->itEffect <= 'Z';
            out.u8(0x80 | (channel + 1));  // a mask byte follows
            out.u8(0x01 | (hasSample ? 0x02 : 0) | (hasVolume ? 0x04 : 0) | (hasEffect ? 0x08 : 0));
            out.u8(note->note == kNoteOff ? kNoteCut : note->note + kNoteOffset);
            if (hasSample)
                out.u8(note->sample);
            if (hasVolume)
                out.u8(note->volume);
            if (hasEffect) {
                out.u8(note->itEffect - 'A' + 1);
                out.u8(note->itEffectParameter);
            }
        }
        out.u8(0);  // end of row
    }
    return out.data();
}

void writeInstrument(ByteWriter& out, const Sample& sample, int number)
{
    out.bytes("IMPI");
    out.zeros(12 + 1);  // DOS file name
    out.u8(0);  // new note action: cut
    out.zeros(2);  // no duplicate check
    out.le16(0);  // fade-out
    out.u8(0);  // no pitch-pan separation (around C-5)
    out.u8(60);
    out.u8(128);  // global volume
    out.u8(kCentre | kPanningUnused);  // the sample's panning applies
    out.zeros(2);  // no random volume or panning
    out.le16(kVersion);
    out.u8(1);  // samples
    out.u8(0);
    out.text(sample.name, kNameBytes);
    out.u8(0);
    out.zeros(2);  // no filter
    out.u8(0);  // no MIDI channel, program or bank
    out.u8(0xFF);
    out.le16(0xFFFF);
    for (int note = 0; note < kNoteSlots; ++note) {
        out.u8(note);
        out.u8(number);
    }
    out.zeros(3 * kEnvelopeSize);  // volume, panning and pitch envelopes: off
    out.zeros(4);  // up to the instrument's 554 bytes
}

void writeSampleHeader(ByteWriter& out, const Sample& sample)
{
    out.bytes("IMPS");
    out.zeros(12 + 1);  // DOS file name
    out.u8(64);  // global volume
    out.u8(kSampleData | (sample.loop ? kSampleLoop : 0));
    out.u8(sample.volume);
    out.text(sample.name, kNameBytes);
    out.u8(0);
    out.u8(kSignedPoints);
    out.u8(0x80 | ((sample.panning * 64 + 127) / 255));  // default panning, used
    out.le32(quint32(sample.length));
    out.le32(0);
    out.le32(sample.loop ? quint32(sample.length) : 0);
    out.le32(kBaseRate);
    out.le32(0);  // no sustain loop
    out.le32(0);
    out.le32(0);  // sample pointer, filled in with the points
    out.zeros(4);  // no vibrato
}

}  // namespace

QByteArray makeIt(const Song& song)
{
    const auto sampleCount = int(song.samples.size());
    const auto patternCount = int(song.patterns.size());
    const auto orderCount = int(song.orders.size()) + 1;  // with the end marker
    const QByteArray message = messageBytes(song).left(kMaxMessageBytes);

    ByteWriter out;
    out.bytes("IMPM");
    out.text(song.name, kNameBytes);
    out.u8(0);
    out.le16(0x1004);  // row highlights: a beat of 4 rows, a bar of 16
    out.le16(orderCount);
    out.le16(sampleCount);  // instruments
    out.le16(sampleCount);
    out.le16(patternCount);
    out.le16(kVersion);  // made with
    out.le16(kVersion);  // read by
    out.le16(kStereo | kUseInstruments | kLinearSlides);
    out.le16(message.isEmpty() ? 0 : kMessageAttached);
    out.u8(128);  // global volume
    out.u8(48);   // mixing volume
    out.u8(song.speed);
    out.u8(song.tempo);
    out.u8(128);  // full stereo separation
    out.u8(0);
    out.zeros(2 + 4 + 4);  // message length and offset, filled in below; reserved
    for (int channel = 0; channel < kChannelSlots; ++channel)
        out.u8(channel < song.channels ? kCentre : kCentre | kPanningUnused);
    out.bytes(QByteArray(kChannelSlots, char(64)));  // channel volumes

    for (int order : song.orders)
        out.u8(order == kSongEnd ? kEndOfSong : order);
    out.u8(kEndOfSong);
    const qsizetype instrumentTable = kOrdersAt + orderCount;
    const qsizetype sampleTable = instrumentTable + 4 * sampleCount;
    const qsizetype patternTable = sampleTable + 4 * sampleCount;
    out.zeros(4 * (2 * sampleCount + patternCount));

    if (!message.isEmpty()) {
        out.patchLe16(kMessageFieldsAt, int(message.size()) + 1);
        out.patchLe32(kMessageFieldsAt + 2, quint32(out.size()));
        out.bytes(message);
        out.u8(0);
    }
    for (int i = 0; i < sampleCount; ++i) {
        out.patchLe32(instrumentTable + 4 * i, quint32(out.size()));
        writeInstrument(out, song.samples[i], i + 1);
    }
    QList<qsizetype> sampleHeaders;
    for (int i = 0; i < sampleCount; ++i) {
        sampleHeaders.append(out.size());
        out.patchLe32(sampleTable + 4 * i, quint32(out.size()));
        writeSampleHeader(out, song.samples[i]);
    }
    for (int i = 0; i < patternCount; ++i) {
        out.patchLe32(patternTable + 4 * i, quint32(out.size()));
        const QByteArray packed = packedPattern(song.patterns[i], song.channels);
        out.le16(int(packed.size()));
        out.le16(song.patterns[i].rows);
        out.zeros(4);
        out.bytes(packed);
    }
    for (int i = 0; i < sampleCount; ++i) {
        out.patchLe32(sampleHeaders[i] + kSamplePointerAt, quint32(out.size()));
        out.bytes(samplePoints(song.samples[i]));
    }
    return out.data();
}

}  // namespace ModuleMaker
