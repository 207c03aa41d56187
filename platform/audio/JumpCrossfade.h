#pragma once

#include <cstddef>
#include <vector>

/// A short crossfade over a jump of the module that plays: the sound it was about to make where
/// it was (its tail) fades out while the sound from where it jumped to fades in, so that the
/// jump does not cut the waveform, which is heard as a click.
///
/// The gains are linear and add up to 1: the mix never gets louder than the louder of the two,
/// so it cannot clip where either alone would not, and over a jump to nearly the same place
/// (two sounds alike) it stays as it was. Equal power would keep the loudness of two unlike
/// sounds where linear gains dip by up to 3 dB, but only for a few milliseconds, too short to
/// be heard.
///
/// Samples are interleaved floats of channels channels, as libopenmpt renders them.
/// Not thread-safe: owned by one OutputRenderer, used under the device lock. Allocates only
/// when constructed; nothing throws.
class JumpCrossfade {
public:
    /// Long enough that the fade itself, between two sounds at opposite peaks, moves the
    /// waveform from one frame to the next no faster than a sine of 64 Hz at their level
    /// (1 / (pi * 5 ms)): a bass note, no click. Short enough that the two places are not heard
    /// overlapping, and half the 10 ms the music volume glides over (VolumeRamp).
    static constexpr int kTailMs = 5;

    /// rate: frames per second; channels: 1 or 2.
    JumpCrossfade(int rate, int channels);

    /// Frames in a tail: kTailMs at the rate, at least 1.
    std::size_t tailFrames() const { return m_tailFrames; }

    /// Starts a crossfade from tail, tailFrames() frames, replacing one still running: tail
    /// should then hold what that one was about to give (mixInto() mixed it in), so that
    /// nothing is cut either.
    void start(const float* tail);
    /// Frames of the tail that mixInto() has still to mix in; 0 when none runs.
    std::size_t remaining() const { return m_tailFrames - m_done; }
    /// Mixes the running crossfade into the next frames of samples, the sound after the jump,
    /// and goes on by as many; frames past its end are left as they are.
    void mixInto(float* samples, std::size_t frames);
    /// Ends the crossfade where it is: the rest of the tail is never heard.
    void stop() { m_done = m_tailFrames; }

private:
    std::size_t m_tailFrames;
    std::size_t m_channels;
    std::vector<float> m_tail;  // tailFrames() frames
    std::size_t m_done;         // frames of the tail mixed in so far
};
