#include "platform/audio/SongFile.h"

#include "platform/audio/ModuleQuality.h"

#include <vector>

namespace {

/// Frames rendered and written at a time: about a tenth of a second, small enough for a cancel
/// to be seen at once, large enough for the encoders to work in long runs.
constexpr std::size_t kPieceFrames = 4096;

}  // namespace

SongFileResult writeSongFile(openmpt::module& module, const SongFileJob& job,
                             const std::atomic<bool>& cancel, const std::function<void(double)>& progress)
{
    using Outcome = SongFileResult::Outcome;
    AudioFileWriter writer(job.target, job.format, job.tags, job.existing);
    if (!writer.isOpen())
        return {Outcome::Failed, writer.errorText()};
    applyRenderQuality(module, job.quality);
    SongRenderSettings settings = job.song;
    settings.sampleRate = audioFileType(job.format).sampleRate;
    SongRender render(module, settings);
    std::vector<float> piece(kPieceFrames * SongRender::kChannels);
    while (!render.finished()) {
        if (cancel.load(std::memory_order_relaxed))
            return {Outcome::Cancelled, QString()};
        const std::size_t frames = render.render(piece.data(), kPieceFrames);
        if (frames > 0 && !writer.write(piece.data(), frames))
            return {Outcome::Failed, writer.errorText()};
        if (progress)
            progress(render.progress());
    }
    if (!writer.commit())
        return {Outcome::Failed, writer.errorText()};
    return {Outcome::Written, QString(), render.renderedFrames()};
}
