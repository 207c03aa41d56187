#include "platform/audio/SongRender.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cmath>

namespace {

/// How far below its loudest moment a song's last half second must be to count as silent:
/// 40 dB, where a note dying away is no longer heard over the rest of a song.
constexpr float kSilentTail = 0.01f;

}  // namespace

SongRender::SongRender(openmpt::module& module, const SongRenderSettings& settings)
    : m_module(module), m_settings(settings)
{
    m_settings.timesPlayed = std::max(m_settings.timesPlayed, 1);
    m_passesLeft = m_settings.timesPlayed;
    m_pieceFrames = std::max(m_settings.sampleRate / (2 * kTailPieces), 1);
    m_fadeFrames = std::llround(std::max(m_settings.fadeSeconds, 0.0) * m_settings.sampleRate);
    try {
        m_module.set_repeat_count(0);
        m_module.ctl_set_text("play.at_end", "continue");
        m_module.select_subsong(m_settings.subsong);
        const std::int64_t pass = std::llround(m_module.get_duration_seconds() * m_settings.sampleRate);
        m_expected = pass * m_settings.timesPlayed + m_fadeFrames;
    } catch (...) {
        m_stage = Stage::Finished;
    }
}

double SongRender::progress() const
{
    if (finished())
        return 1;
    if (m_expected <= 0)
        return 0;
    return std::min(1.0, double(m_rendered) / double(m_expected));
}

std::size_t SongRender::render(float* out, std::size_t frames)
{
    if (frames == 0)
        return 0;
    try {
        // Each end of the song is one read of nothing; the read after it goes on at the
        // restart. A song that gives nothing even then has nothing more to give.
        int emptyReads = 0;
        while (m_stage != Stage::Finished && emptyReads < 2) {
            std::size_t wanted = frames;
            if (m_stage == Stage::FadeOut) {
                if (m_fadeDone >= m_fadeFrames)
                    break;
                wanted = std::size_t(std::min<std::int64_t>(std::int64_t(frames), m_fadeFrames - m_fadeDone));
            }
            const std::size_t got = m_module.read_interleaved_stereo(m_settings.sampleRate, wanted, out);
            if (got > 0) {
                if (m_stage == Stage::Passes)
                    notePeaks(out, got);
                else
                    fade(out, got);
                m_rendered += std::int64_t(got);
                return got;
            }
            ++emptyReads;
            if (m_stage == Stage::Passes && --m_passesLeft == 0)
                endPasses();
        }
    } catch (...) {
        // A module that fails ends the song where it failed.
    }
    m_stage = Stage::Finished;
    return 0;
}

void SongRender::notePeaks(const float* samples, std::size_t frames)
{
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const float peak = std::max(std::fabs(samples[2 * frame]), std::fabs(samples[2 * frame + 1]));
        float& piece = m_tailPeaks[std::size_t(m_tailPiece)];
        piece = std::max(piece, peak);
        m_songPeak = std::max(m_songPeak, peak);
        if (++m_pieceDone == m_pieceFrames) {
            m_pieceDone = 0;
            m_tailPiece = (m_tailPiece + 1) % kTailPieces;
            m_tailPeaks[std::size_t(m_tailPiece)] = 0;
        }
    }
}

void SongRender::endPasses()
{
    const float tailPeak = *std::max_element(m_tailPeaks.begin(), m_tailPeaks.end());
    m_loops = m_songPeak > 0 && tailPeak > kSilentTail * m_songPeak;
    m_stage = m_loops && m_fadeFrames > 0 ? Stage::FadeOut : Stage::Finished;
}

void SongRender::fade(float* samples, std::size_t frames)
{
    // Straight down to silence, as a listener turns the volume down.
    for (std::size_t frame = 0; frame < frames; ++frame, ++m_fadeDone) {
        const float gain = float(m_fadeFrames - m_fadeDone) / float(m_fadeFrames);
        samples[2 * frame] *= gain;
        samples[2 * frame + 1] *= gain;
    }
}
