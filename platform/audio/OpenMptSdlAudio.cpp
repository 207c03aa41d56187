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
    const auto format = OutputFormat::fromMode(m_options.mode, m_options.rate);
    if (!format)
        return false;
    // The program handles its termination signals itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Jukarium");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;

    const int frames = deviceBufferFrames(format->rate, m_options.bufferMs);
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
    if (m_device == 0) {
        m_renderer.reset();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

void OpenMptSdlAudio::startBackgroundPlay(int)
{
    if (m_device != 0)
        SDL_PauseAudioDevice(m_device, 0);
}

void OpenMptSdlAudio::stopBackgroundPlay()
{
    if (m_device != 0)
        SDL_PauseAudioDevice(m_device, 1);
}

void OpenMptSdlAudio::close()
{
    closeDevice();
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
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    DeviceLock lock(m_device);
    m_current = loaded;
    m_playing = true;
    if (m_renderer)
        m_renderer->setVolume(m_volume);
}

void OpenMptSdlAudio::stopModule(ModuleHandle module)
{
    LoadedModule* loaded = find(module);
    if (!loaded || loaded != m_current)
        return;
    DeviceLock lock(m_device);
    m_playing = false;
}

void OpenMptSdlAudio::freeModule(ModuleHandle module)
{
    const auto it = m_modules.find(module);
    if (it == m_modules.end())
        return;
    if (it->second.get() == m_current) {
        DeviceLock lock(m_device);
        m_current = nullptr;
        m_playing = false;
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
