#include "platform/audio/OpenMptSdlAudio.h"

#include "platform/audio/ModuleFile.h"
#include "platform/audio/OutputDevice.h"

#include <SDL.h>
#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

/// Holds the device lock, which the device thread holds while it renders; no lock without a
/// device, since then nothing renders.
class DeviceLock {
public:
    explicit DeviceLock(const std::unique_ptr<OutputDevice>& device) : m_device(device ? device->id() : 0)
    {
        if (m_device != 0)
            SDL_LockAudioDevice(m_device);
    }
    ~DeviceLock()
    {
        if (m_device != 0)
            SDL_UnlockAudioDevice(m_device);
    }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID m_device;
};

quint32 count(std::int32_t value) { return static_cast<quint32>(std::max(value, 0)); }

RenderQuality withinRanges(RenderQuality quality)
{
    quality.interpolationTaps = std::clamp(quality.interpolationTaps, 1, 8);
    quality.stereoSeparation = std::clamp(quality.stereoSeparation, 0, 200);
    quality.volumeRamping = std::clamp(quality.volumeRamping, RenderQuality::kDefaultVolumeRamping, 10);
    return quality;
}

void applyQuality(openmpt::module& module, const RenderQuality& quality)
{
    try {
        module.set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH, quality.interpolationTaps);
        module.set_render_param(openmpt::module::RENDER_STEREOSEPARATION_PERCENT, quality.stereoSeparation);
        module.set_render_param(openmpt::module::RENDER_VOLUMERAMPING_STRENGTH, quality.volumeRamping);
        module.ctl_set_boolean("render.resampler.emulate_amiga", quality.amigaResampler);
    } catch (...) {
        // A setting this libopenmpt does not know leaves the module as it was.
    }
}

}  // namespace

OpenMptSdlAudio::OpenMptSdlAudio()
{
    // A device with nothing to play is looked at a few times while the server plays out what
    // it queued: a tenth of a second is well below the shortest such time.
    constexpr int kIdleCheckMs = 100;
    m_idleTimer.setInterval(kIdleCheckMs);
    m_idleTimer.callOnTimeout([this] { settleIdleDevices(); });
    m_startCheckTimer.setSingleShot(true);
    m_startCheckTimer.callOnTimeout([this] { checkFreshStart(); });
}

OpenMptSdlAudio::~OpenMptSdlAudio() { close(); }

void OpenMptSdlAudio::startup() { m_options = Options(); }

void OpenMptSdlAudio::setOption(int option, int value)
{
    switch (option) {
    case kOptionMixRate:
        if (value >= OutputFormat::kLowestRate && value <= OutputFormat::kHighestRate)
            m_options.rate = value;
        break;
    case kOptionOutputMode:
        if (OutputFormat::fromMode(value, m_options.rate))
            m_options.mode = value;
        break;
    case kOptionMixBufLen:
        if (value > 0)
            m_options.bufferMs = value;
        break;
    default:
        break;
    }
}

bool OpenMptSdlAudio::init()
{
    closeDevices();
    if (m_outputReady)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_outputReady = false;
    if (!OutputFormat::fromMode(m_options.mode, m_options.rate))
        return false;
    // The program handles its termination signals itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Jukarium");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    // The device that proves the output is the one the first module plays on: parked, it
    // queues nothing ahead of that module's first note, and it closes by itself when none
    // comes.
    m_device = openDevice();
    if (!m_device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    m_outputReady = true;
    updateOutput();
    return true;
}

std::unique_ptr<OutputDevice> OpenMptSdlAudio::openDevice()
{
    const OutputFormat format = *OutputFormat::fromMode(m_options.mode, m_options.rate);
    // SDL's PulseAudio driver is the one whose server can be asked for a latency of its own.
    const char* driver = SDL_GetCurrentAudioDriver();
    const bool serverKeepsLatency = driver && std::strcmp(driver, "pulseaudio") == 0;
    const DeviceTiming timing = deviceTiming(format.rate, m_options.bufferMs, serverKeepsLatency);
    auto device = OutputDevice::open(format, timing);
    if (!device && !m_retired.empty()) {
        // Where a device opens only once at a time, the module before gives its own up.
        m_retired.clear();
        device = OutputDevice::open(format, timing);
    }
    if (device) {
        device->renderer().setVolume(m_volume);
        device->renderer().setRepeat(m_repeat);
    }
    return device;
}

void OpenMptSdlAudio::startBackgroundPlay(int)
{
    m_backgroundPlay = true;
    updateOutput();
}

void OpenMptSdlAudio::stopBackgroundPlay()
{
    m_backgroundPlay = false;
    updateOutput();
}

void OpenMptSdlAudio::updateOutput()
{
    if (sounding() && !m_device)
        m_device = openDevice();
    if (!m_device)
        return;
    const bool freshStart = sounding() && !m_device->hasPlayed();
    {
        DeviceLock lock(m_device);
        noteSongEnd();
        m_device->setModule(sounding() ? m_current->module.get() : nullptr);
        if (freshStart)
            m_freshStart = {m_current->module->get_position_seconds(), 0};
    }
    if (sounding())
        m_device->unpark();
    else
        m_idleTimer.start();
    const auto checkDelay = m_device->startCheckDelay();
    if (freshStart && checkDelay && m_serverMayStartBehind)
        m_startCheckTimer.start(*checkDelay);
}

void OpenMptSdlAudio::checkFreshStart()
{
    if (!sounding() || !m_device)
        return;
    {
        DeviceLock lock(m_device);
        if (!m_device->startsBehindSilence())
            return;
    }
    // Each new device may lose the same race again: one start in four or five does with
    // PipeWire. Three streams in a row taken only period by period show a server that does
    // not take its queue at once, where a slow start says nothing about silence queued ahead.
    constexpr int kMostReplacements = 2;
    if (m_freshStart.replacements == kMostReplacements) {
        m_serverMayStartBehind = false;
        return;
    }
    auto replacement = openDevice();
    if (!replacement)
        return;
    // The stream behind its silence goes, with the module's first periods queued there
    // unheard; the module starts again, where it started, on a fresh device of its own.
    const std::unique_ptr<OutputDevice> behind = std::exchange(m_device, std::move(replacement));
    {
        DeviceLock lock(behind);
        behind->setModule(nullptr);
    }
    {
        DeviceLock lock(m_device);
        const double start = m_freshStart.position;
        moveCurrent([start](openmpt::module& module) { module.set_position_seconds(start); });
    }
    const int replacements = m_freshStart.replacements + 1;
    updateOutput();
    m_freshStart.replacements = replacements;
}

void OpenMptSdlAudio::retireDevice()
{
    // Only a server that keeps a queue of its own plays two streams at once for us. Elsewhere
    // the next module follows on the same device, after the two periods SDL's driver queues:
    // a hardware device may open only once, and the disk driver writes a single file. A song
    // that ended by itself has nothing more to play: the next follows on its stream, after
    // its last notes, with neither a gap nor an overlap.
    if (!m_device || !m_device->hasPlayed() || m_device->timing().serverLatencyMs == 0
        || m_device->playedToEnd())
        return;
    {
        DeviceLock lock(m_device);
        noteSongEnd();
        m_device->setModule(nullptr);
    }
    m_startCheckTimer.stop();
    m_retired.push_back(std::move(m_device));
    // Modules changed faster than their sound is heard: the oldest is cut short.
    constexpr std::size_t kMostRetired = 2;
    if (m_retired.size() > kMostRetired)
        m_retired.erase(m_retired.begin());
    m_idleTimer.start();
}

void OpenMptSdlAudio::settleIdleDevices()
{
    const auto now = OutputDevice::Clock::now();
    // True when the device may close: parked, and all it played heard.
    const auto settle = [now](std::unique_ptr<OutputDevice>& device) {
        if (device->parked())
            return device->playedOut(now);
        DeviceLock lock(device);
        // Parked only where its stream ends in silence, so that running dry makes no click.
        if (device->endsInSilence())
            device->park();
        return false;
    };
    std::erase_if(m_retired, settle);
    if (m_device && !sounding() && settle(m_device)) {
        m_startCheckTimer.stop();
        m_device.reset();
    }
    if (m_retired.empty() && (!m_device || sounding()))
        m_idleTimer.stop();
}

int OpenMptSdlAudio::openDeviceCount() const
{
    return static_cast<int>(m_retired.size()) + (m_device ? 1 : 0);
}

void OpenMptSdlAudio::close()
{
    closeDevices();
    if (m_outputReady)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_outputReady = false;
    m_backgroundPlay = false;
    m_current = nullptr;
    m_playing = false;
    m_modules.clear();
}

void OpenMptSdlAudio::closeDevices()
{
    m_idleTimer.stop();
    m_startCheckTimer.stop();
    // Each returns once its device thread has ended, so nothing renders after this.
    m_retired.clear();
    m_device.reset();
}

ModuleHandle OpenMptSdlAudio::loadModule(const QString& fileName)
{
    auto loaded = loadModuleFile(fileName);
    if (!loaded)
        return 0;
    const ModuleHandle handle = m_nextHandle++;
    applyQuality(*loaded->module, m_quality);
    m_modules.emplace(handle, std::move(loaded));
    return handle;
}

void OpenMptSdlAudio::playModule(ModuleHandle module, int)
{
    LoadedModule* loaded = find(module);
    if (!loaded)
        return;
    if (loaded != m_current)
        retireDevice();
    m_volume = 64;
    {
        DeviceLock lock(m_device);
        noteSongEnd();
        if (m_device)
            m_device->forgetSongEnd();  // kept by the module it belongs to
        m_current = loaded;
        m_playing = true;
        if (loaded->songEnded)
            moveCurrent([](openmpt::module& module) { module.set_position_seconds(0); });
        applyOutputGain();
        if (m_device)
            m_device->renderer().setVolume(m_volume);
    }
    updateOutput();
}

void OpenMptSdlAudio::stopModule(ModuleHandle module)
{
    LoadedModule* loaded = find(module);
    if (!loaded || loaded != m_current)
        return;
    m_playing = false;
    updateOutput();
}

void OpenMptSdlAudio::freeModule(ModuleHandle module)
{
    const auto it = m_modules.find(module);
    if (it == m_modules.end())
        return;
    if (it->second.get() == m_current) {
        m_playing = false;
        updateOutput();
        m_current = nullptr;
    }
    // Destroyed outside the lock: the device thread no longer sees it.
    m_modules.erase(it);
}

void OpenMptSdlAudio::setMusicVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 64);
    DeviceLock lock(m_device);
    if (m_device)
        m_device->renderer().setVolume(m_volume);
}

void OpenMptSdlAudio::getModuleInfo(ModuleHandle module, ModuleInfo* info)
{
    if (!info)
        return;
    const LoadedModule* loaded = find(module);
    *info = loaded ? loaded->info : ModuleInfo();
}

void OpenMptSdlAudio::getInstrumentInfo(ModuleHandle module, int index, InstrumentInfo* info)
{
    if (!info)
        return;
    const LoadedModule* loaded = find(module);
    const bool known = loaded && index >= 0 && static_cast<std::size_t>(index) < loaded->instruments.size();
    *info = known ? loaded->instruments[static_cast<std::size_t>(index)] : InstrumentInfo();
}

void OpenMptSdlAudio::getPlayStatus(PlayStatus* status)
{
    if (!status)
        return;
    *status = PlayStatus();
    if (!m_current)
        return;
    DeviceLock lock(m_device);
    const openmpt::module& module = *m_current->module;
    status->position = count(module.get_current_order());
    status->pattern = count(module.get_current_pattern());
    status->row = count(module.get_current_row());
    status->songEnded = sounding() && m_device && m_device->songEnded();
}

void OpenMptSdlAudio::setPosition(int position)
{
    if (!m_current || position < 0 || static_cast<quint32>(position) >= m_current->info.songLength)
        return;
    DeviceLock lock(m_device);
    moveCurrent([position](openmpt::module& module) { module.set_position_order_row(position, 0); });
}

void OpenMptSdlAudio::getModuleDetails(ModuleHandle module, ModuleDetails* details)
{
    if (!details)
        return;
    const LoadedModule* loaded = find(module);
    *details = loaded ? loaded->details : ModuleDetails();
}

double OpenMptSdlAudio::getPlayTime()
{
    if (!m_current)
        return 0;
    DeviceLock lock(m_device);
    return m_current->module->get_position_seconds();
}

void OpenMptSdlAudio::setPlayTime(double seconds)
{
    if (!m_current)
        return;
    const double within = std::clamp(seconds, 0.0, m_current->details.durationSeconds);
    DeviceLock lock(m_device);
    moveCurrent([within](openmpt::module& module) { module.set_position_seconds(within); });
}

void OpenMptSdlAudio::moveCurrent(const std::function<void(openmpt::module&)>& move)
{
    try {
        move(*m_current->module);
    } catch (...) {
        return;  // the module stays where it was
    }
    m_current->songEnded = false;
    if (m_device)
        m_device->forgetSongEnd();
}

void OpenMptSdlAudio::noteSongEnd()
{
    if (m_device && m_current && m_device->songEnded())
        m_current->songEnded = true;
}

void OpenMptSdlAudio::setRenderQuality(const RenderQuality& quality)
{
    m_quality = withinRanges(quality);
    DeviceLock lock(m_device);
    for (const auto& [handle, loaded] : m_modules)
        applyQuality(*loaded->module, m_quality);
}

void OpenMptSdlAudio::setRepeat(bool repeat)
{
    m_repeat = repeat;
    DeviceLock lock(m_device);
    if (m_device)
        m_device->renderer().setRepeat(repeat);
}

void OpenMptSdlAudio::setOutputGain(double gain)
{
    m_outputGain = std::clamp(gain, 0.0, 1.0);
    DeviceLock lock(m_device);
    applyOutputGain();
}

void OpenMptSdlAudio::applyOutputGain()
{
    if (!m_current)
        return;
    // In millibel; -100 dB stands for silence.
    constexpr double kSilentMillibel = -10000;
    const double millibel = m_outputGain > 0.00001 ? 2000 * std::log10(m_outputGain) : kSilentMillibel;
    m_current->module->set_render_param(openmpt::module::RENDER_MASTERGAIN_MILLIBEL,
                                        static_cast<std::int32_t>(std::lround(millibel)));
}

LoadedModule* OpenMptSdlAudio::find(ModuleHandle handle) const
{
    const auto it = m_modules.find(handle);
    return it == m_modules.end() ? nullptr : it->second.get();
}
