#pragma once

#include "tools/modulemaker/ModuleMaker.h"

#include <optional>

// The writers of the four formats. Each expects a song already checked against its format's
// limits by make().
namespace ModuleMaker {

QByteArray makeMod(const Song& song);
QByteArray makeS3m(const Song& song);
QByteArray makeXm(const Song& song);
QByteArray makeIt(const Song& song);

/// The pattern's cells, row by row, channels rows * channels; a later note in the same cell
/// replaces an earlier one.
QList<std::optional<Note>> noteGrid(const Pattern& pattern, int channels);

/// The song message as trackers store it: Latin-1, lines ending in CR.
QByteArray messageBytes(const Song& song);

}  // namespace ModuleMaker
