// ProTracker MOD, "M.K." with 31 sample slots and 4 channels. Big-endian; sample lengths and
// loops in words; notes as Amiga periods; effects: C (volume), D (pattern break), F (speed,
// tempo).
#include "tools/modulemaker/ByteWriter.h"
#include "tools/modulemaker/FormatWriters.h"

#include <algorithm>
#include <array>

namespace ModuleMaker {

namespace {

constexpr int kChannels = 4;
constexpr int kRows = 64;
constexpr int kSampleSlots = 31;
constexpr int kLowestNote = 37;  // C-3, ProTracker's C-1

// Periods of ProTracker's three octaves at finetune 0; period 428 plays at 8363 Hz.
constexpr std::array<int, 36> kPeriods = {
    856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
    428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
    214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

struct Cell {
    int period = 0;
    int sample = 0;
    int effect = 0;
    int parameter = 0;
    bool hasEffect = false;
};

using Rows = std::array<std::array<Cell, kChannels>, kRows>;

/// Puts an effect into a channel of row that has none; false when every channel has one.
bool addEffect(Rows& rows, int row, int effect, int parameter)
{
    for (Cell& cell : rows[row]) {
        if (!cell.hasEffect) {
            cell = {cell.period, cell.sample, effect, parameter, true};
            return true;
        }
    }
    return false;
}

std::optional<Rows> patternCells(const Song& song, int index)
{
    const Pattern& pattern = song.patterns[index];
    const auto grid = noteGrid(pattern, kChannels);
    Rows rows{};
    for (int row = 0; row < pattern.rows; ++row) {
        for (int channel = 0; channel < kChannels; ++channel) {
            const auto& note = grid[row * kChannels + channel];
            if (!note)
                continue;
            Cell& cell = rows[row][channel];
            cell.period = kPeriods[note->note - kLowestNote];
            cell.sample = note->sample;
            if (note->volume >= 0)
                cell = {cell.period, cell.sample, 0xC, note->volume, true};
        }
    }
    bool ok = true;
    if (index == song.orders.first()) {
        if (song.speed != 6)
            ok = ok && addEffect(rows, 0, 0xF, song.speed);
        if (song.tempo != 125)
            ok = ok && addEffect(rows, 0, 0xF, song.tempo);
    }
    if (pattern.rows < kRows)
        ok = ok && addEffect(rows, pattern.rows - 1, 0xD, 0);
    return ok ? std::optional<Rows>(rows) : std::nullopt;
}

void writeSampleHeader(ByteWriter& out, const Sample* sample)
{
    if (!sample) {
        out.zeros(22 + 2 + 1 + 1 + 2);
        out.be16(1);  // a loop of one word means "no loop"
        return;
    }
    out.text(sample->name, 22);
    out.be16(sample->length / 2);
    out.u8(0);  // finetune
    out.u8(sample->volume);
    out.be16(0);
    out.be16(sample->loop ? sample->length / 2 : 1);
}

}  // namespace

QByteArray makeMod(const Song& song)
{
    const int patternCount = *std::max_element(song.orders.begin(), song.orders.end()) + 1;
    QList<Rows> patterns;
    for (int index = 0; index < patternCount; ++index) {
        const auto rows = patternCells(song, index);
        if (!rows)
            return {};
        patterns.append(*rows);
    }

    ByteWriter out;
    out.text(song.name, 20);
    for (int slot = 0; slot < kSampleSlots; ++slot)
        writeSampleHeader(out, slot < song.samples.size() ? &song.samples[slot] : nullptr);
    out.u8(int(song.orders.size()));
    out.u8(127);  // restart byte as ProTracker writes it
    for (int i = 0; i < 128; ++i)
        out.u8(i < song.orders.size() ? song.orders[i] : 0);
    out.bytes("M.K.");
    for (const Rows& rows : patterns) {
        for (const auto& row : rows) {
            for (const Cell& cell : row) {
                out.u8((cell.sample & 0xF0) | (cell.period >> 8));
                out.u8(cell.period);
                out.u8(((cell.sample & 0x0F) << 4) | cell.effect);
                out.u8(cell.parameter);
            }
        }
    }
    for (const Sample& sample : song.samples)
        out.bytes(samplePoints(sample));
    return out.data();
}

}  // namespace ModuleMaker
