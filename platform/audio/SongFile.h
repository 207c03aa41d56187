#pragma once

#include "platform/WholeFileWriter.h"
#include "platform/audio/AudioFileFormats.h"
#include "platform/audio/AudioFileWriter.h"
#include "platform/audio/RenderQuality.h"
#include "platform/audio/SongRender.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

namespace openmpt {
class module;
}

/// One song to save as an audio file: what to render and where to write it.
struct SongFileJob {
    QString target;
    AudioFileFormat format = AudioFileFormat::Flac;
    RenderQuality quality;
    /// Subsong, times played and fade-out; the sample rate is the format's.
    SongRenderSettings song;
    AudioTags tags;
    WholeFileWriter::Existing existing = WholeFileWriter::Existing::Keep;
};

/// How saving one song ended.
struct SongFileResult {
    enum class Outcome { Written, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    /// Why it failed ("No space left on device"); empty otherwise.
    QString reason;
    /// Frames of sound written, at the format's rate (AudioFileType::sampleRate).
    std::int64_t frames = 0;
};

/// Renders module as job says (applyRenderQuality(), SongRender) into the audio file
/// job.target (AudioFileWriter). Whatever stops it, a failure or cancel set, leaves no file of
/// its own behind: the target is as it was. progress, unless empty, gets how far it has come
/// (0 to 1) after each piece of about a tenth of a second of song. Any thread; the module is
/// the caller's and nothing else may use it meanwhile.
SongFileResult writeSongFile(openmpt::module& module, const SongFileJob& job,
                             const std::atomic<bool>& cancel,
                             const std::function<void(double)>& progress = {});
