#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace openmpt {
class module;
}

/// What of a song goes into an audio file, and at which rate.
struct SongRenderSettings {
    static constexpr int kDefaultFadeSeconds = 10;

    int sampleRate = 44100;  // frames per second, 8000 to 192000
    int subsong = 0;         // from 0; must be one of the module's
    int timesPlayed = 1;     // passes through the song, at least 1
    /// A song that loops fades out over this many seconds after its last pass, going on into
    /// the next one; 0 lets it stop where the pass ends. A song that ends never fades.
    double fadeSeconds = kDefaultFadeSeconds;
};

/// Renders one subsong of a module as it sounds played, offline and as fast as the machine
/// allows: interleaved stereo float frames, pulled in pieces of any size.
///
/// A song that loops and one that ends. Every song reaches an end in libopenmpt, which then
/// takes it back to its start or to the restart position its composer set; nothing in the
/// module says whether that is meant as a loop (the music goes on) or as an ending (the music
/// is over and a restart would begin it anew). What tells them apart is what is heard there:
/// a song ends when it has fallen silent by its end, its last half second at least 40 dB
/// below its loudest moment; otherwise its sound carries on into the restart and it loops.
/// Only a song that loops gets the fade-out: it goes on past its last pass into the restart,
/// fading to silence, where one that ends stops with its last pass.
///
/// Any thread; one render per module at a time, and nothing else may use that module meanwhile.
class SongRender {
public:
    static constexpr int kChannels = 2;

    /// Starts settings.subsong of module from its beginning, with settings.timesPlayed at least
    /// 1. The module must have its render quality set already (applyRenderQuality()); it is
    /// set here to go on at the end of its song, so that a read of nothing marks each end.
    /// module is not owned and must outlive the render. A module that throws yields an empty
    /// render.
    SongRender(openmpt::module& module, const SongRenderSettings& settings);

    /// Renders up to frames frames into out (kChannels × frames floats) and returns how many;
    /// 0 once the song is over: its last pass, and where it loops its fade-out. Never throws:
    /// a module that fails ends the song there.
    std::size_t render(float* out, std::size_t frames);

    bool finished() const { return m_stage == Stage::Finished; }
    /// Whether the song loops (see the class comment); known once its last pass is rendered.
    bool loops() const { return m_loops; }
    /// Frames rendered so far.
    std::int64_t renderedFrames() const { return m_rendered; }
    /// Frames the whole render gives where the song loops: its passes and the fade-out. One
    /// that ends gives fewer (no fade-out); 0 for a module that failed to start.
    std::int64_t expectedFrames() const { return m_expected; }
    /// How far the render has come, 0 to 1; 1 once finished.
    double progress() const;

private:
    enum class Stage { Passes, FadeOut, Finished };

    /// Keeps the peaks that tell whether the song loops (see the class comment).
    void notePeaks(const float* samples, std::size_t frames);
    /// The last pass ended: decides whether the song loops and what comes next.
    void endPasses();
    void fade(float* samples, std::size_t frames);

    /// The song's peaks over its last half second, in pieces of a twentieth of a second.
    static constexpr int kTailPieces = 10;

    openmpt::module& m_module;
    SongRenderSettings m_settings;
    Stage m_stage = Stage::Passes;
    int m_passesLeft = 0;
    bool m_loops = false;
    std::int64_t m_rendered = 0;
    std::int64_t m_expected = 0;
    std::int64_t m_fadeFrames = 0;
    std::int64_t m_fadeDone = 0;
    float m_songPeak = 0;
    std::array<float, kTailPieces> m_tailPeaks{};  // a ring, the newest at m_tailPiece
    int m_tailPiece = 0;
    std::int64_t m_pieceFrames = 1;
    std::int64_t m_pieceDone = 0;
};
