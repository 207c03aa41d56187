#pragma once

#include "platform/audio/RenderQuality.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>

/// Handle of a loaded module; 0 means none (a failed load).
using ModuleHandle = std::uintptr_t;

/// What the library tells about a loaded module.
struct ModuleInfo {
    /// The song name as 8-bit text, padded with NUL; all 32 may be used (no NUL then).
    std::array<char, 32> songName{};
    quint32 songLength = 0;       // number of song (order) positions
    quint32 patternCount = 0;     // number of different patterns
    quint32 instrumentCount = 0;  // instruments, or samples where the module has none
    quint32 channelCount = 0;
};

/// What the library tells about one instrument (or sample).
struct InstrumentInfo {
    /// The instrument name as 8-bit text, padded with NUL; all 32 may be used.
    std::array<char, 32> name{};
};

/// A name field as text: up to its first NUL (or all 32 bytes), without leading and trailing
/// blanks and control characters (codes 0 to 32), as UTF-8.
inline QString NameText(const std::array<char, 32>& name)
{
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    auto begin = name.begin();
    auto end = std::find(name.begin(), name.end(), '\0');
    while (begin != end && isBlank(*begin))
        ++begin;
    while (end != begin && isBlank(*(end - 1)))
        --end;
    return QString::fromUtf8(QByteArray(begin, end - begin));
}

/// One of the songs a module holds (game music keeps a level theme, a boss theme and a jingle
/// in one file); every module holds at least one.
struct Subsong {
    QString name;        // empty where the module names none
    double seconds = 0;  // one pass through it, its own loops included
    int firstOrder = 0;  // the order position it starts at
    int endOrder = 0;    // one past its last order position that holds a pattern

    bool operator==(const Subsong&) const = default;
};

/// What the library tells about a loaded module beyond its classic record.
struct ModuleDetails {
    /// One pass through the song that plays (the selected subsong), its own loops included.
    double durationSeconds = 0;
    QString message;             // the composer's song message; empty when it has none
    QString artist;              // empty when the module names none
    QList<Subsong> subsongs;     // in the module's order
    int subsong = 0;             // the selected one, from 0: the first until selectSubsong()
};

/// What the library tells about playback.
struct PlayStatus {
    /// The module played last, whose status this is; 0 for none.
    ModuleHandle module = 0;
    quint32 position = 0;  // song (order) position being played, from 0
    quint32 pattern = 0;
    quint32 row = 0;
    quint32 syncInfo = 0;
    /// Seconds into the pass of the song being played: each repeat starts again at 0.
    double seconds = 0;
    /// The song played to its end without repeating (see setRepeat): what follows is silence
    /// until the module is played again or moved. What was queued before is still heard, also
    /// when the next module plays at once.
    bool songEnded = false;
};

/// What is heard at the speaker at one moment: the sound device renders ahead of it by up to
/// its buffer's length.
struct HeardStatus {
    /// The module heard; 0 where nothing is, or nobody watches (see AudioLibrary::watchHeard).
    ModuleHandle module = 0;
    quint32 order = 0;
    quint32 pattern = 0;
    quint32 row = 0;
    /// Left and right level of each channel in turn, 0 (silent) to about 1 (full scale).
    QList<float> levels;
    /// How long until another row is heard, where that is known already; -1 where not.
    int msToNextRow = -1;
};

/// The module-playback library the player commands: sound output is configured with
/// setOption between startup() and init(), started by init() and startBackgroundPlay(), and
/// one module at a time plays by itself in the background, repeating until stopped
/// (see setRepeat).
///
/// Threads: every method is called from the GUI thread only. Implementations may render on a
/// thread of their own (the sound device's); they never call back into the caller.
/// Results: calls whose result the program does not look at return void.
///
/// Edge cases, the same for every implementation:
/// - a handle is valid from loadModule() until freeModule() or close(). A call with 0, a freed
///   handle or one from before close() does nothing; the records it asks for come back empty
///   (every field zero, names all NUL);
/// - getInstrumentInfo() with an index outside 0 to instrumentCount - 1 gives an empty record;
/// - "the module played last" is the one playModule() was last given, until it is freed.
///   Without one, getPlayStatus() gives zeros, getPlayTime() 0, and setPosition() and
///   setPlayTime() do nothing; they move a module that ended back into its song;
/// - records are never written through a null pointer.
class AudioLibrary {
public:
    /// Options for setOption.
    static constexpr int kOptionMixRate = 1;     // value: mixing rate in Hz
    static constexpr int kOptionOutputMode = 2;  // value: one of the output modes below
    static constexpr int kOptionMixBufLen = 3;   // value: mixing buffer length in ms
    /// Output modes.
    static constexpr int kMode8BitMono = 5;
    static constexpr int kMode8BitStereo = 6;
    static constexpr int kMode16BitMono = 9;
    static constexpr int kMode16BitStereo = 10;

    virtual ~AudioLibrary() = default;

    /// Prepares for options; the options set afterwards apply to the output init() opens.
    virtual void startup() = 0;
    virtual void setOption(int option, int value) = 0;
    /// Opens the sound output; false when no sound device opens.
    virtual bool init() = 0;
    /// From now on playback runs by itself. rate: 0 (the library's choice).
    virtual void startBackgroundPlay(int rate) = 0;
    virtual void stopBackgroundPlay() = 0;
    /// Releases the sound output (and any module still loaded).
    virtual void close() = 0;

    /// Loads the module file at fileName (a full path); 0 when it cannot be read or is no
    /// module. Works whether or not the output is open.
    virtual ModuleHandle loadModule(const QString& fileName) = 0;
    /// Why the last loadModule returned 0, in the library's words; empty after a load that
    /// worked.
    virtual QString loadError() const = 0;
    /// Plays the module from its start, or, when it was stopped, continues where it stopped,
    /// at full volume.
    virtual void playModule(ModuleHandle module, int unused) = 0;
    /// A loaded module that follows the module played last on the same output, without a
    /// gap, where its song ends without repeating (see setRepeat); from then on it is the
    /// module played last, as getPlayStatus() names it, and nothing is queued. 0, or the
    /// module played last, drops what was queued; so do playModule() and freeing it.
    virtual void queueModule(ModuleHandle module) = 0;
    /// Stops playing; the module stays loaded.
    virtual void stopModule(ModuleHandle module) = 0;
    virtual void freeModule(ModuleHandle module) = 0;
    /// Music volume, 0 (silent) to 64 (full); heard from the next buffer on, without clicks.
    virtual void setMusicVolume(int volume) = 0;

    virtual void getModuleInfo(ModuleHandle module, ModuleInfo* info) = 0;
    /// index: instrument number from 0.
    virtual void getInstrumentInfo(ModuleHandle module, int index, InstrumentInfo* info) = 0;
    virtual void getPlayStatus(PlayStatus* status) = 0;
    /// Jumps to the song position (from 0) of the playing module.
    virtual void setPosition(int position) = 0;

    // Beyond the classic table, for the desktop's media controls.
    /// Details of a loaded module; empty for a handle of 0 or one not loaded.
    virtual void getModuleDetails(ModuleHandle module, ModuleDetails* details) = 0;
    /// Seconds into the song of the module played last; 0 without one.
    virtual double getPlayTime() = 0;
    /// Jumps to seconds into the song of the module played last, within its length.
    virtual void setPlayTime(double seconds) = 0;
    /// Makes subsong index (from 0) the song of module, from its start: at once where it
    /// plays, otherwise for when it plays or follows (queueModule). An index outside its
    /// subsongs is ignored. Its details tell the new song's length.
    virtual void selectSubsong(ModuleHandle module, int index) = 0;
    /// A gain on all output, 0.0 (silent) to 1.0 (unchanged), kept until changed; heard
    /// from the next buffer on. It multiplies with the music volume.
    virtual void setOutputGain(double gain) = 0;
    /// A gain of module's own in decibels, within kModuleGainRange (clamped), 0 when it loads,
    /// kept until changed; it multiplies with the output gain and the music volume. Where the
    /// module sounds, the change glides over at most a few hundred milliseconds, without a
    /// click; otherwise it is there from its first note. A handle not loaded is ignored.
    virtual void setModuleGain(ModuleHandle module, double decibels) = 0;
    static constexpr double kModuleGainRange = 40;

    // Beyond the classic table, for the listener.
    /// How every module renders, kept until changed (RenderQuality's defaults at first):
    /// heard from the next buffer on, without a restart or a gap. Values outside the ranges
    /// of RenderQuality are brought to the nearest within them.
    virtual void setRenderQuality(const RenderQuality& quality) = 0;
    /// Whether the module played last, and each one after it, repeats at the end of its song
    /// (the default: the song's own loops decide where it goes on) or falls silent there,
    /// which getPlayStatus() then tells. Kept until changed. Playing a module that ended
    /// starts it again from its start.
    virtual void setRepeat(bool repeat) = 0;

    // Beyond the classic table, for watching the music.
    /// Whether getHeardStatus() is asked for; while not, nothing is spent on it. Off at first.
    virtual void watchHeard(bool watch) = 0;
    /// What is heard now, while watched; empty otherwise, and where nothing sounds.
    virtual void getHeardStatus(HeardStatus* status) = 0;
    /// Mutes or unmutes channel (from 0) of a loaded module, heard from the next buffer on;
    /// a module loads with every channel sounding. A channel outside its channels is ignored.
    virtual void setChannelMuted(ModuleHandle module, int channel, bool muted) = 0;
};
