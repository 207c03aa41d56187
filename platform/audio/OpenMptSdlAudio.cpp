#include "platform/audio/OpenMptSdlAudio.h"

#include "platform/audio/ModuleFile.h"
#include "platform/audio/OutputRenderer.h"

#include <SDL.h>
#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>

namespace {

/// Holds the device lock, which the device thread holds while it renders; no lock without a
/// device, since then nothing renders.
class DeviceLock {
public:
    explicit DeviceLock(SDL_AudioDeviceID device) : m_device(device)
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

}  // namespace

OpenMptSdlAudio::OpenMptSdlAudio() = default;

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
    closeDevice();
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
    // A device once open feeds silence even while paused, and a buffer of it queued before
    // the first module would delay its first note. So the output is only proved here, with
    // a buffer so short that closing it again costs nothing, and opened for good when a
    // module first plays.
    constexpr int kProbeFrames = 256;
    if (!openDevice(m_playing ? 0 : kProbeFrames)) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    if (!m_playing)
        closeDevice();
    m_outputReady = true;
    return true;
}

bool OpenMptSdlAudio::openDevice(int frames)
{
    const auto format = OutputFormat::fromMode(m_options.mode, m_options.rate);
    if (frames == 0)
        frames = deviceBufferFrames(format->rate, m_options.bufferMs);
    m_renderer = std::make_unique<OutputRenderer>(*format, frames);
    m_renderer->setVolume(m_volume);

    SDL_AudioSpec wanted = {};
    wanted.freq = format->rate;
    wanted.format = format->bytesPerSample == 1 ? AUDIO_U8 : AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format->channels);
    wanted.samples = static_cast<Uint16>(frames);
    wanted.callback = deviceCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained = {};
    // No changes allowed: what the device takes is exactly the format asked for.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (m_device == 0)
        m_renderer.reset();
    return m_device != 0;
}

void OpenMptSdlAudio::startBackgroundPlay(int)
{
    m_backgroundPlay = true;
    updateDeviceRunning();
}

void OpenMptSdlAudio::stopBackgroundPlay()
{
    m_backgroundPlay = false;
    updateDeviceRunning();
}

void OpenMptSdlAudio::updateDeviceRunning()
{
    // The device runs only while a module plays: no silence is queued ahead of the first
    // note of a module started later, and an idle program uses no CPU for sound.
    if (m_device != 0)
        SDL_PauseAudioDevice(m_device, m_backgroundPlay && m_playing ? 0 : 1);
}

void OpenMptSdlAudio::close()
{
    closeDevice();
    if (m_outputReady)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_outputReady = false;
    m_backgroundPlay = false;
    m_current = nullptr;
    m_playing = false;
    m_modules.clear();
}

void OpenMptSdlAudio::closeDevice()
{
    if (m_device == 0)
        return;
    // Returns once the device thread has ended, so nothing renders after this.
    SDL_CloseAudioDevice(m_device);
    m_device = 0;
    m_renderer.reset();
}

ModuleHandle OpenMptSdlAudio::loadModule(const QString& fileName)
{
    auto loaded = loadModuleFile(fileName);
    if (!loaded)
        return 0;
    const ModuleHandle handle = m_nextHandle++;
    m_modules.emplace(handle, std::move(loaded));
    return handle;
}

void OpenMptSdlAudio::playModule(ModuleHandle module, int)
{
    LoadedModule* loaded = find(module);
    if (!loaded)
        return;
    m_volume = 64;
    {
        DeviceLock lock(m_device);
        m_current = loaded;
        m_playing = true;
        if (m_renderer)
            m_renderer->setVolume(m_volume);
    }
    if (m_outputReady && m_device == 0)
        openDevice(0);
    updateDeviceRunning();
}

void OpenMptSdlAudio::stopModule(ModuleHandle module)
{
    LoadedModule* loaded = find(module);
    if (!loaded || loaded != m_current)
        return;
    {
        DeviceLock lock(m_device);
        m_playing = false;
    }
    updateDeviceRunning();
}

void OpenMptSdlAudio::freeModule(ModuleHandle module)
{
    const auto it = m_modules.find(module);
    if (it == m_modules.end())
        return;
    if (it->second.get() == m_current) {
        {
            DeviceLock lock(m_device);
            m_current = nullptr;
            m_playing = false;
        }
        updateDeviceRunning();
    }
    // Destroyed outside the lock: the device thread no longer sees it.
    m_modules.erase(it);
}

void OpenMptSdlAudio::setMusicVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 64);
    DeviceLock lock(m_device);
    if (m_renderer)
        m_renderer->setVolume(m_volume);
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
}

void OpenMptSdlAudio::setPosition(int position)
{
    if (!m_current || position < 0 || static_cast<quint32>(position) >= m_current->info.songLength)
        return;
    DeviceLock lock(m_device);
    try {
        m_current->module->set_position_order_row(position, 0);
    } catch (...) {
        // The module stays where it was.
    }
}

void OpenMptSdlAudio::deviceCallback(void* self, std::uint8_t* stream, int length)
{
    // SDL holds the device lock around this call.
    auto* audio = static_cast<OpenMptSdlAudio*>(self);
    openmpt::module* module = audio->m_playing ? audio->m_current->module.get() : nullptr;
    OutputRenderer& renderer = *audio->m_renderer;
    renderer.render(module, stream, static_cast<std::size_t>(length / renderer.format().frameBytes()));
}

LoadedModule* OpenMptSdlAudio::find(ModuleHandle handle) const
{
    const auto it = m_modules.find(handle);
    return it == m_modules.end() ? nullptr : it->second.get();
}
