#pragma once

#include "platform/audio/AudioLibrary.h"
#include "platform/audio/OutputDevices.h"

#include <functional>
#include <map>
#include <memory>

struct LoadedModule;

namespace openmpt {
class module;
}

/// The audio library on libopenmpt and SDL2 sound devices (OutputDevices).
///
/// init() opens SDL's default output device in exactly the format the options give (mode,
/// rate; SDL converts where the hardware differs) to prove it works, and keeps it, parked,
/// for the first module. A device plays while background play is on and a module plays; its
/// own thread then asks for one period after the other and gets the module rendered at the
/// music volume. When nothing plays, the device is parked and, once what it played has been
/// heard, closed, so that neither the sound server nor the program works for silence; it
/// opens again when a module plays. Where the sound server keeps a queue of its own
/// (PulseAudio), a module other than the one played last gets a device of its own at once,
/// while the one before plays the end of its fade-out.
///
/// Options: rate 8000 to 192000 Hz (default 44100), output mode 5, 6, 9 or 10 (default 10),
/// buffer length in ms (default 500; see deviceTiming); other values are ignored.
/// startup() restores the defaults.
///
/// Handles count up from 1 and are never reused while this object lives; 0, a freed handle
/// and one from before close() are ignored: calls with them do nothing, and the records they
/// ask for come back empty.
///
/// Threads: every method on one thread, the GUI thread, whose Qt event loop parks and closes
/// devices that have nothing to play (without one they stay open). Each device thread renders
/// only the module playing on it, under its device lock, under which the GUI thread changes
/// that module. Files are read outside it.
class OpenMptSdlAudio final : public AudioLibrary {
public:
    OpenMptSdlAudio();
    /// Closes the output and frees every module.
    ~OpenMptSdlAudio() override;
    OpenMptSdlAudio(const OpenMptSdlAudio&) = delete;
    OpenMptSdlAudio& operator=(const OpenMptSdlAudio&) = delete;

    void startup() override;
    void setOption(int option, int value) override;
    /// Opens the device (closing any still open first); false when SDL's audio does not
    /// start or the device does not open in the format asked for.
    bool init() override;
    /// Lets a playing module sound; rate is not used.
    void startBackgroundPlay(int rate) override;
    /// Silences the output; the module keeps its place.
    void stopBackgroundPlay() override;
    /// Closes every device and SDL's audio, and frees every module.
    void close() override;

    ModuleHandle loadModule(const QString& fileName) override;
    /// Empty before the first load. libopenmpt's own words where it refused the data (what
    /// it logged while loading, then what it threw, as "error loading file", joined by "; ");
    /// ours where the file was not read: "no regular file that can be read", "empty file",
    /// "file larger than 64 MiB".
    QString loadError() const override { return m_loadError; }
    /// Makes the module the one the device plays and resets the music volume to 64. A
    /// module that played before continues where it stopped; a new one, or one whose song
    /// ended, starts at its start. Drops a queued module.
    void playModule(ModuleHandle module, int unused) override;
    /// The device's thread hands over to the queued module within the period in which the
    /// song ends.
    void queueModule(ModuleHandle module) override;
    void stopModule(ModuleHandle module) override;
    void freeModule(ModuleHandle module) override;
    void setMusicVolume(int volume) override;

    void getModuleInfo(ModuleHandle module, ModuleInfo* info) override;
    void getInstrumentInfo(ModuleHandle module, int index, InstrumentInfo* info) override;
    /// The order, pattern and row of the module played last (playing or stopped); zeros
    /// without one. syncInfo is always 0.
    void getPlayStatus(PlayStatus* status) override;
    /// Jumps to row 0 of order position of the module played last; a position outside its
    /// order list is ignored.
    void setPosition(int position) override;

    void getModuleDetails(ModuleHandle module, ModuleDetails* details) override;
    double getPlayTime() override;
    void setPlayTime(double seconds) override;
    void selectSubsong(ModuleHandle module, int index) override;
    /// Applied as libopenmpt's master gain to the module played last and each one after it.
    void setOutputGain(double gain) override;
    /// Applied as libopenmpt's master gain with the output gain; glided by the device's
    /// OutputRenderer where the module sounds.
    void setModuleGain(ModuleHandle module, double decibels) override;
    /// Applied to every module loaded, and to each one loaded later.
    void setRenderQuality(const RenderQuality& quality) override;
    void setRepeat(bool repeat) override;
    void watchHeard(bool watch) override;
    /// From the device that plays the module played last: what it rendered that the server
    /// plays now (StreamClock), also of the module before it where one followed on.
    void getHeardStatus(HeardStatus* status) override;
    void setChannelMuted(ModuleHandle module, int channel, bool muted) override;

    /// How many sound devices are open: 0 once nothing has played for a while (the time the
    /// server keeps queued and a little more).
    int openDeviceCount() const;

private:
    /// Gives module the output gain and its own; under the device lock.
    void applyOutputGain(LoadedModule& module) const;
    /// The module played last becomes the queued one where that has followed on. Every
    /// method that uses m_current calls it first, so none acts on the module before.
    void takeFollowOn();
    /// Moves the module played last within its song, which takes it out of a song's end;
    /// nothing when move throws. Crossfaded where the module sounds (OutputRenderer::
    /// prepareJump). Under the device lock.
    void moveCurrent(const std::function<void(openmpt::module&)>& move);

    bool sounding() const { return m_outputReady && m_backgroundPlay && m_playing; }
    /// Gives the device what to play now, opening one when needed.
    void updateOutput();
    LoadedModule* find(ModuleHandle handle) const;
    ModuleHandle handleOf(const LoadedModule* module) const;
    /// Hands the playing module's muted channels whose glide has been rendered over to the
    /// mute status (ChannelMutes::settle); GUI thread.
    void settleMutedChannels();
    /// Longer than the longest volume ramp libopenmpt renders.
    static constexpr std::chrono::milliseconds kMuteGlide{50};

    struct Options {
        int rate = 44100;
        int mode = kMode16BitStereo;
        int bufferMs = 500;
    };

    Options m_options;
    EventLoopClock m_clock;
    /// Play the module played last while it sounds (sounding()); none is open while the
    /// output is not.
    OutputDevices m_devices{m_clock};
    /// Hands muted channels over to the mute status once their glide to silence has been
    /// rendered (ChannelMutes).
    std::unique_ptr<DeviceClock::Timer> m_muteSettling;
    double m_outputGain = 1.0;
    RenderQuality m_quality;
    std::map<ModuleHandle, std::unique_ptr<LoadedModule>> m_modules;
    ModuleHandle m_nextHandle = 1;
    QString m_loadError;  // of the last loadModule()

    LoadedModule* m_current = nullptr;  // the module played last, owned by m_modules
    LoadedModule* m_queued = nullptr;   // to follow m_current, owned by m_modules
    bool m_playing = false;
    bool m_backgroundPlay = false;
    bool m_outputReady = false;  // init() proved the output
};
