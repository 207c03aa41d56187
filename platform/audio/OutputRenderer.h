#pragma once

#include "platform/audio/OutputFormat.h"
#include "platform/audio/VolumeRamp.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace openmpt {
class module;
}

/// Renders a module into the bytes of the output format with the music volume applied: the
/// work of the sound device's callback for each buffer.
///
/// Not thread-safe: the owner serialises the calls (the device lock). render() allocates
/// nothing, throws nothing and touches nothing but its arguments and its own state.
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
    /// silence.
    void followOn()
    {
        m_songEnded = false;
        m_passStart = 0;
        m_sounding = true;
    }

    /// Fills frames frames at out (frames × frameBytes() bytes) from module, or with silence
    /// when module is null. The module advances by as much; if it ends without repeating or
    /// fails, the rest is silence. Sound that starts after silence fades in over the volume
    /// ramp. Returns the frames that came from the module, the first of out.
    std::size_t render(openmpt::module* module, std::uint8_t* out, std::size_t frames);

private:
    void store(const float* samples, std::uint8_t* out, std::size_t frames);
    void fillSilence(std::uint8_t* out, std::size_t frames) const;

    OutputFormat m_format;
    std::size_t m_chunkFrames;
    std::vector<float> m_scratch;
    VolumeRamp m_ramp;
    bool m_sounding = false;
    bool m_repeat = true;
    bool m_songEnded = false;
    double m_passStart = 0;
};
