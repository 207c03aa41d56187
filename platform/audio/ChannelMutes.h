#pragma once

#include <QHash>

#include <cstddef>

namespace openmpt::ext {
class interactive;
}

/// The channels of a module that the listener muted.
///
/// A muted channel's volume glides to 0 first: libopenmpt's mute status cuts a channel
/// without a ramp, a click. Once the glide has been rendered, the mute status takes over and
/// the channel's volume is given back, because the volume alone does not keep a channel
/// silent: the song sets it too (Impulse Tracker's Mxx and Nxy), and so does a seek. Under the
/// mute status the song goes on setting it, and the channel comes back with the volume the
/// song has set by then, gliding up from the silence it was muted at. libopenmpt holds a
/// channel's note where it is while the channel is under the mute status: a note held across
/// the mute goes on from there.
///
/// Not thread-safe: used under the device lock, as the module.
class ChannelMutes {
public:
    /// Mutes or unmutes channel of the module behind interactive; renderedFrames counts the
    /// frames rendered from modules so far. May throw what libopenmpt throws.
    void set(openmpt::ext::interactive& interactive, int channel, bool muted, std::size_t renderedFrames);
    /// Hands every muted channel whose glide is rendered (glideFrames rendered since it was
    /// muted) over to the mute status. True while any still glides. May throw what
    /// libopenmpt throws.
    bool settle(openmpt::ext::interactive& interactive, std::size_t renderedFrames, std::size_t glideFrames);

private:
    struct Muted {
        double volume = 1.0;            // the channel's volume before the mute
        std::size_t mutedAtFrame = 0;   // renderedFrames when muted
        bool underMuteStatus = false;
    };
    QHash<int, Muted> m_channels;
};
