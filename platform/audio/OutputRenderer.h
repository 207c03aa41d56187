#pragma once

#include "platform/audio/HeardSnapshots.h"
#include "platform/audio/JumpCrossfade.h"
#include "platform/audio/OutputFormat.h"
#include "platform/audio/VolumeRamp.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace openmpt {
class module;
}

/// Renders a module into the bytes of the output format with the music volume applied: the
/// work of the sound device's callback for each buffer. A jump of the module within its song
/// is crossfaded (JumpCrossfade) when prepareJump() came before it.
///
/// Not thread-safe: the owner serialises the calls (the device lock). render() and
/// prepareJump() allocate nothing, throw nothing and touch nothing but their arguments and
/// the renderer's own state.
class OutputRenderer {
public:
    /// chunkFrames: frames taken from the module at a time, at least 1; a device buffer is a
    /// good size. Starts at full volume.
    OutputRenderer(OutputFormat format, int chunkFrames);

    const OutputFormat& format() const { return m_format; }

    /// Music volume, 0 (silent) to 64 (full), clamped; glides there within a few ms.
    void setVolume(int volume);

    /// Whether a module goes on at the end of its song (at its loop start; the default) or
    /// falls silent there. The module must be set to go on at its end ("play.at_end"
    /// "continue"), so that one read gives nothing at the end of each pass.
    void setRepeat(bool repeat) { m_repeat = repeat; }
    /// The module rendered last came to the end of its song and did not repeat: from there on
    /// render() gives silence and leaves it alone until forgetSongEnd().
    bool songEnded() const { return m_songEnded; }
    void forgetSongEnd() { m_songEnded = false; }
    /// Where the current pass of the song began, in libopenmpt's seconds of the module, which
    /// count on through every repeat: 0 until the song first repeats. restartPass() after the
    /// module moved within its song, or another one came.
    double passStart() const { return m_passStart; }
    void restartPass() { m_passStart = 0; }
    /// Another module follows on the stream where the song of the one before ended: from the
    /// next render() on it plays in a new pass, at once, without the fade-in of a start after
    /// silence, and without what was left of a crossfade in the song before.
    void followOn()
    {
        m_songEnded = false;
        m_passStart = 0;
        m_sounding = true;
        m_crossfade.stop();
    }

    /// Call just before module, the one render() was given last, jumps within its song: takes
    /// the next JumpCrossfade::kTailMs of it from where it is (so the module goes on by as
    /// much, which the jump then undoes), and the next render() crossfades from that into the
    /// sound after the jump instead of cutting the waveform. A crossfade still running goes on
    /// within the new one. Nothing while render() gives silence (no module, its song ended),
    /// from which sound fades in anyway.
    void prepareJump(openmpt::module& module);

    /// The module render() is given glides to millibel of libopenmpt's master gain from
    /// the one it has, by kGlideMillibelPerMs, so that a change of 10 dB takes 100 ms and
    /// never clicks; meanwhile render() reads it in pieces of a millisecond. Sound that starts
    /// after silence starts at millibel at once.
    void glideMasterGain(std::int32_t millibel);
    /// Gives module the master gain still glided to, at once, and ends the glide: before
    /// another module takes the place of the one it was for. Nothing without a glide.
    void finishGlide(openmpt::module* module);
    static constexpr std::int32_t kGlideMillibelPerMs = 10;

    /// While snapshots are watched, render() records into them where the module is after
    /// each piece of at most a few milliseconds it renders, heard from heardAt on (the moment
    /// the first frame of the next render() is heard). snapshots must outlive the renderer.
    void recordHeard(HeardSnapshots* snapshots) { m_heard = snapshots; }
    void nextHeardAt(HeardSnapshots::Clock::time_point heardAt) { m_heardAt = heardAt; }

    /// Fills frames frames at out (frames × frameBytes() bytes) from module, or with silence
    /// when module is null. The module advances by as much; if it ends without repeating or
    /// fails, the rest is silence. Sound that starts after silence fades in over the volume
    /// ramp. A crossfade prepared by prepareJump() is mixed in, over silence too. Returns the
    /// frames that came from the module, the first of out.
    std::size_t render(openmpt::module* module, std::uint8_t* out, std::size_t frames);

private:
    /// Reads frames frames (at most the scratch buffer's) of module into the scratch buffer;
    /// returns how many it gave.
    std::size_t read(openmpt::module& module, std::size_t frames);
    /// Stores what is left of a crossfade, fading out over silence, at out, for at most frames
    /// frames; returns how many it stored.
    std::size_t fadeOutOverSilence(std::uint8_t* out, std::size_t frames);
    void store(const float* samples, std::uint8_t* out, std::size_t frames);
    void fillSilence(std::uint8_t* out, std::size_t frames) const;

    /// Takes module's master gain one step nearer the glide's end.
    void stepGlide(openmpt::module& module);
    /// Where the module is after done frames of this render(), for those who watch.
    void recordHeard(const openmpt::module& module, std::size_t done);

    OutputFormat m_format;
    std::size_t m_chunkFrames;
    std::size_t m_snapshotFrames;  // a piece between snapshots while they are watched
    HeardSnapshots* m_heard = nullptr;
    HeardSnapshots::Clock::time_point m_heardAt;
    std::vector<float> m_scratch;  // a chunk or a crossfade's tail, whichever is longer
    VolumeRamp m_ramp;
    JumpCrossfade m_crossfade;
    std::optional<std::int32_t> m_glideTo;  // master gain in millibel, while gliding
    std::size_t m_glideFrames;              // a piece of the glide: a millisecond
    bool m_sounding = false;
    bool m_repeat = true;
    bool m_songEnded = false;
    double m_passStart = 0;
};
