#pragma once

#include "platform/audio/AudioLibrary.h"

#include <cstdint>
#include <map>
#include <memory>

struct LoadedModule;
class OutputRenderer;

/// The audio library on libopenmpt and an SDL2 sound device.
///
/// init() opens SDL's default output device in exactly the format the options give (mode,
/// rate; SDL converts where the hardware differs) to prove it works, and opens it for good
/// when a module first plays, so no silence is queued ahead of the first note. The device
/// runs while background play is on and a module plays; its own thread then asks for one
/// buffer after the other and gets the module rendered at the music volume.
///
/// Options: rate 8000 to 192000 Hz (default 44100), output mode 5, 6, 9 or 10 (default 10),
/// buffer length in ms (default 500; see deviceBufferFrames); other values are ignored.
/// startup() restores the defaults.
///
/// Handles count up from 1 and are never reused while this object lives; 0, a freed handle
/// and one from before close() are ignored: calls with them do nothing, and the records they
/// ask for come back empty.
///
/// Threads: every method on one thread, the GUI thread. The device thread runs only the
/// callback, which never touches Qt and reads only the members marked below, under the
/// device lock; the GUI thread writes them under the same lock. Files are read outside it.
class OpenMptSdlAudio final : public AudioLibrary {
public:
    OpenMptSdlAudio();
    /// Closes the output and frees every module.
    ~OpenMptSdlAudio() override;
    OpenMptSdlAudio(const OpenMptSdlAudio&) = delete;
    OpenMptSdlAudio& operator=(const OpenMptSdlAudio&) = delete;

    void startup() override;
    void setOption(int option, int value) override;
    /// Opens the device (closing one still open first); false when SDL's audio does not
    /// start or the device does not open in the format asked for.
    bool init() override;
    /// Unpauses the device; rate is not used.
    void startBackgroundPlay(int rate) override;
    /// Pauses the device; the module keeps its place.
    void stopBackgroundPlay() override;
    /// Closes the device and SDL's audio, and frees every module.
    void close() override;

    ModuleHandle loadModule(const QString& fileName) override;
    /// Makes the module the one the device plays and resets the music volume to 64. A
    /// module that played before continues where it stopped; a new one starts at its start.
    void playModule(ModuleHandle module, int unused) override;
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

private:
    static void deviceCallback(void* self, std::uint8_t* stream, int length);
    /// Opens the device with the options set and buffers of frames (0: as the options say);
    /// false (and no renderer) when it does not open.
    bool openDevice(int frames);
    void closeDevice();
    void updateDeviceRunning();
    LoadedModule* find(ModuleHandle handle) const;

    struct Options {
        int rate = 44100;
        int mode = kMode16BitStereo;
        int bufferMs = 500;
    };

    Options m_options;
    std::uint32_t m_device = 0;  // SDL device id; 0 while no output is open
    int m_volume = 64;
    std::map<ModuleHandle, std::unique_ptr<LoadedModule>> m_modules;
    ModuleHandle m_nextHandle = 1;

    // Read by the device thread, under the device lock.
    std::unique_ptr<OutputRenderer> m_renderer;  // exists while the device is open
    LoadedModule* m_current = nullptr;           // the module played last, owned by m_modules
    bool m_playing = false;
    bool m_backgroundPlay = false;  // GUI thread only
    bool m_outputReady = false;     // init() proved the output; GUI thread only
};
