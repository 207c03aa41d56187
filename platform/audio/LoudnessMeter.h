#pragma once

#include "platform/audio/Loudness.h"
#include "platform/audio/RenderQuality.h"

#include <QString>

#include <atomic>
#include <optional>

/// The rate songs are rendered at to be measured: the jukebox's default output rate.
constexpr int kLoudnessMeasureRate = 44100;

/// Renders subsong (from 0; an index the module lacks means its first) of the module at path
/// once from its start to its end, in stereo at kLoudnessMeasureRate as quality says
/// (applyRenderQuality, so it sounds as it plays), as fast as the machine renders, and
/// measures its integrated loudness and true peak with libebur128. Null when the module does
/// not load, libebur128 fails, or cancel turns true (looked at every few milliseconds).
/// Any thread; touches no shared state; prints nothing.
std::optional<Loudness> measureLoudness(const QString& path, const RenderQuality& quality, int subsong,
                                        const std::atomic<bool>& cancel);
