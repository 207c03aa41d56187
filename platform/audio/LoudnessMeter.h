#pragma once

#include "platform/audio/Loudness.h"
#include "platform/audio/RenderQuality.h"

#include <QString>

#include <atomic>
#include <functional>
#include <optional>

/// The rate songs are rendered at to be measured: the jukebox's default output rate.
constexpr int kLoudnessMeasureRate = 44100;

/// Renders subsong (from 0; an index the module lacks means its first) of the module at path
/// once from its start to its end, in stereo at kLoudnessMeasureRate as quality says
/// (applyRenderQuality, so it sounds as it plays), as fast as the machine renders, and
/// measures its integrated loudness and true peak with libebur128. Null when the module does
/// not load, libebur128 fails, or cancel turns true (looked at every few milliseconds).
/// early, unless empty, is given the figures of the first kEarlyLoudnessSeconds once they
/// are measured, where the song is longer: close enough to level a song that plays meanwhile,
/// and known after a fraction of the whole measurement.
/// Any thread (early is called on it); touches no shared state; prints nothing.
std::optional<Loudness> measureLoudness(const QString& path, const RenderQuality& quality, int subsong,
                                        const std::atomic<bool>& cancel,
                                        const std::function<void(const Loudness&)>& early = {});
constexpr double kEarlyLoudnessSeconds = 10;
