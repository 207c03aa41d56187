#pragma once

#include "platform/audio/RenderQuality.h"
#include "settings/ClassOptions.h"

#include <QString>

/// What the options dialog changes in the running program. The main window implements it by
/// forwarding to the banner text feed, the player and its status bar; each of those stores the
/// value it is given back into the options store, so the dialog does not store these itself.
/// GUI thread only.
class OptionsTarget {
public:
    virtual ~OptionsTarget() = default;

    /// Banner speed index 0 (slow) to 3 (fastest); the banner changes speed at once.
    virtual void ApplyScrollSpeed(int speed) = 0;
    /// Fade-out length in steps of 100 ms, 0 to 30; 0 stops without fading. Used at the next stop.
    virtual void SetFadeOutSteps(int steps) = 0;
    /// Output format 0 to 3 (8 bit mono, 8 bit stereo, 16 bit mono, 16 bit stereo); heard
    /// after RestartAudio.
    virtual void SetOutputMode(int mode) = 0;
    /// Mixing rate index 0 to 4 (11200, 22000, 32000, 38000, 44100 Hz); heard after RestartAudio.
    virtual void SetMixingRate(int index) = 0;
    /// Buffer length index (index x 100 + 300 ms) as the dialog offers it, from the first to the
    /// last offered of OptionsTable::kPlaybackBuffer; heard after RestartAudio.
    virtual void SetBufferSize(int index) = 0;
    /// How modules sound, heard at once, also the one playing.
    virtual void SetRenderQuality(const RenderQuality& quality) = 0;
    /// What happens when the playing module's song ends; decided at its end.
    virtual void SetSongEnd(ClassOptions::SongEnd action) = 0;
    /// Whether every module plays at the same loudness, and the target in LUFS (one of
    /// OptionsTable::kLoudnessTargets); heard at once, gliding, once a module's loudness is known.
    virtual void SetEvenLoudness(bool even, int targetLufs) = 0;
    /// Subsongs shorter than seconds are hidden from the menu and from playing through.
    virtual void SetShortestSubsong(int seconds) = 0;
    /// Restarts the sound output with the stored settings and reloads the loaded module, which
    /// then plays from its start. Failures are reported by the player.
    virtual void RestartAudio() = 0;
    /// Shows text in the first status bar panel, painted at once.
    virtual void SetStatusText(const QString& text) = 0;
};
