#include "platform/audio/OpenMptSdlAudio.h"

#include "platform/audio/ModuleFile.h"
#include "platform/audio/ModuleQuality.h"

#include <SDL.h>
#include <libopenmpt/libopenmpt.hpp>
#include <libopenmpt/libopenmpt_ext.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

quint32 count(std::int32_t value) { return static_cast<quint32>(std::max(value, 0)); }

}  // namespace

OpenMptSdlAudio::OpenMptSdlAudio()
    : m_muteSettling(m_clock.timer(DeviceClock::TimerMode::SingleShot, [this] { settleMutedChannels(); }))
{
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
    m_devices.close();
    if (m_outputReady)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_outputReady = false;
    const std::optional<OutputFormat> format = OutputFormat::fromMode(m_options.mode, m_options.rate);
    if (!format)
        return false;
    // The program handles its termination signals itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The sound server's mixer shows the program by name and icon, and its streams as music.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Jukarium");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "music");  // read by SDL's PipeWire driver
    // SDL 2 has no hint for the icon, and its PulseAudio driver none for the role: libpulse
    // takes them from the environment as properties of the program, which the server gives
    // each of its streams. Never over the user's own choice, which also leaves the
    // environment unchanged from the second start of the audio on.
    setenv("PULSE_PROP_application.icon_name", "jukarium", 0);
    setenv("PULSE_PROP_media.role", "music", 0);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    // SDL's PulseAudio driver is the one whose server can be asked for a latency of its own.
    const char* driver = SDL_GetCurrentAudioDriver();
    const bool serverKeepsLatency = driver && std::strcmp(driver, "pulseaudio") == 0;
    // The device that proves the output is the one the first module plays on: parked, it
    // queues nothing ahead of that module's first note, and it closes by itself when none
    // comes.
    if (!m_devices.open(*format, deviceTiming(format->rate, m_options.bufferMs, serverKeepsLatency))) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    m_outputReady = true;
    m_devices.queue(m_queued);  // the devices before took it with them
    updateOutput();
    return true;
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
    takeFollowOn();
    m_devices.play(sounding() ? m_current : nullptr);
}

void OpenMptSdlAudio::takeFollowOn()
{
    if (LoadedModule* const next = m_devices.takeFollowOn()) {
        m_current = next;
        m_queued = nullptr;
    }
}

int OpenMptSdlAudio::openDeviceCount() const { return m_devices.openCount(); }

void OpenMptSdlAudio::close()
{
    m_devices.close();
    if (m_outputReady)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_outputReady = false;
    m_backgroundPlay = false;
    m_current = nullptr;
    m_queued = nullptr;
    m_playing = false;
    m_modules.clear();
}

ModuleHandle OpenMptSdlAudio::loadModule(const QString& fileName)
{
    auto loaded = loadModuleFile(fileName, &m_loadError);
    if (!loaded)
        return 0;
    const ModuleHandle handle = m_nextHandle++;
    applyRenderQuality(*loaded->module, m_quality);
    m_modules.emplace(handle, std::move(loaded));
    return handle;
}

void OpenMptSdlAudio::playModule(ModuleHandle module, int)
{
    LoadedModule* loaded = find(module);
    if (!loaded)
        return;
    takeFollowOn();
    queueModule(0);
    if (loaded != m_current)
        m_devices.retire();
    {
        OutputDevice* const device = m_devices.device();
        DeviceLock lock(device);
        m_devices.noteSongEnd();
        if (device) {
            device->forgetSongEnd();  // kept by the module it belongs to
            if (loaded != m_current)
                device->renderer().restartPass();
        }
        m_current = loaded;
        m_playing = true;
        if (loaded->songEnded)
            moveCurrent([](openmpt::module& module) { module.set_position_seconds(0); });
        applyOutputGain(*m_current);
        m_devices.setVolume(64);
    }
    updateOutput();
}

void OpenMptSdlAudio::queueModule(ModuleHandle module)
{
    takeFollowOn();
    LoadedModule* const loaded = find(module);
    m_queued = loaded != m_current ? loaded : nullptr;
    if (m_queued) {
        DeviceLock lock(m_devices.device());
        applyOutputGain(*m_queued);
    }
    m_devices.queue(m_queued);
}

void OpenMptSdlAudio::stopModule(ModuleHandle module)
{
    takeFollowOn();
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
    takeFollowOn();
    if (it->second.get() == m_queued)
        queueModule(0);
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
    m_devices.setVolume(std::clamp(volume, 0, 64));
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
    takeFollowOn();
    if (!m_current)
        return;
    status->module = handleOf(m_current);
    OutputDevice* const device = m_devices.device();
    DeviceLock lock(device);
    const openmpt::module& module = *m_current->module;
    // libopenmpt counts on through every repeat; the pass that plays starts again at 0.
    const double passStart = device ? device->renderer().passStart() : 0;
    status->seconds = std::clamp(module.get_position_seconds() - passStart, 0.0,
                                 m_current->details.durationSeconds);
    status->position = count(module.get_current_order());
    status->pattern = count(module.get_current_pattern());
    status->row = count(module.get_current_row());
    status->songEnded = sounding() && m_devices.device() && m_devices.device()->songEnded();
    settleMutedChannels();  // a glide that outlasted the timer, the device parked meanwhile
}

void OpenMptSdlAudio::setPosition(int position)
{
    takeFollowOn();
    if (!m_current || position < 0 || static_cast<quint32>(position) >= m_current->info.songLength)
        return;
    DeviceLock lock(m_devices.device());
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
    PlayStatus status;
    getPlayStatus(&status);
    return status.seconds;
}

void OpenMptSdlAudio::setPlayTime(double seconds)
{
    takeFollowOn();
    if (!m_current)
        return;
    const double within = std::clamp(seconds, 0.0, m_current->details.durationSeconds);
    DeviceLock lock(m_devices.device());
    moveCurrent([within](openmpt::module& module) { module.set_position_seconds(within); });
}

void OpenMptSdlAudio::selectSubsong(ModuleHandle module, int index)
{
    takeFollowOn();
    LoadedModule* const loaded = find(module);
    if (!loaded || index < 0 || index >= loaded->details.subsongs.size())
        return;
    DeviceLock lock(m_devices.device());
    ModuleDetails& details = loaded->details;
    const auto select = [index, &details](openmpt::module& played) {
        played.select_subsong(index);
        details.subsong = index;
        details.durationSeconds = details.subsongs[index].seconds;
    };
    if (loaded == m_current)
        moveCurrent(select);
    else
        loaded->moveWithinSong(select);
}

void OpenMptSdlAudio::moveCurrent(const std::function<void(openmpt::module&)>& move)
{
    OutputDevice* const device = m_devices.device();
    // The module that sounds gives the tail of a crossfade from where it is. Should the move
    // throw, the crossfade goes on to where the tail left the module, a few ms on.
    if (device && device->module() == m_current->module.get())
        device->renderer().prepareJump(*m_current->module);
    if (!m_current->moveWithinSong(move))
        return;
    m_devices.forgetFreshStart();
    if (device) {
        device->forgetSongEnd();
        device->renderer().restartPass();
    }
}

void OpenMptSdlAudio::setRenderQuality(const RenderQuality& quality)
{
    m_quality = quality.withinRanges();
    DeviceLock lock(m_devices.device());
    for (const auto& [handle, loaded] : m_modules)
        applyRenderQuality(*loaded->module, m_quality);
}

void OpenMptSdlAudio::setRepeat(bool repeat)
{
    m_devices.setRepeat(repeat);
}

void OpenMptSdlAudio::setOutputGain(double gain)
{
    m_outputGain = std::clamp(gain, 0.0, 1.0);
    takeFollowOn();
    DeviceLock lock(m_devices.device());
    for (LoadedModule* module : {m_current, m_queued}) {
        if (module)
            applyOutputGain(*module);
    }
}

void OpenMptSdlAudio::setModuleGain(ModuleHandle module, double decibels)
{
    takeFollowOn();
    LoadedModule* const loaded = find(module);
    if (!loaded)
        return;
    loaded->gainDecibels = std::clamp(decibels, -kModuleGainRange, kModuleGainRange);
    DeviceLock lock(m_devices.device());
    applyOutputGain(*loaded);
}

void OpenMptSdlAudio::applyOutputGain(LoadedModule& module) const
{
    // In millibel; -100 dB stands for silence.
    constexpr double kSilentMillibel = -10000;
    const double millibel = m_outputGain > 0.00001 ? 2000 * std::log10(m_outputGain) + 100 * module.gainDecibels
                                                   : kSilentMillibel;
    const auto rounded = static_cast<std::int32_t>(std::lround(millibel));
    // The module that sounds glides there; any other starts there.
    OutputDevice* const device = m_devices.device();
    if (device && device->module() == module.module.get())
        device->renderer().glideMasterGain(rounded);
    else
        module.module->set_render_param(openmpt::module::RENDER_MASTERGAIN_MILLIBEL, rounded);
}

LoadedModule* OpenMptSdlAudio::find(ModuleHandle handle) const
{
    const auto it = m_modules.find(handle);
    return it == m_modules.end() ? nullptr : it->second.get();
}

ModuleHandle OpenMptSdlAudio::handleOf(const LoadedModule* module) const
{
    for (const auto& [handle, loaded] : m_modules) {
        if (loaded.get() == module)
            return handle;
    }
    return 0;
}

void OpenMptSdlAudio::watchHeard(bool watch)
{
    m_devices.watchHeard(watch);
}

void OpenMptSdlAudio::getHeardStatus(HeardStatus* status)
{
    if (!status)
        return;
    *status = HeardStatus();
    OutputDevice* const device = m_devices.device();
    if (!device)
        return;
    const auto now = HeardSnapshots::Clock::now();
    std::optional<HeardSnapshots::Clock::time_point> nextRowAt;
    const auto heard = device->heard().heardAt(now, &nextRowAt);
    if (!heard)
        return;
    const auto loaded = std::find_if(m_modules.begin(), m_modules.end(),
                                     [&](const auto& entry) { return entry.second->module.get() == heard->module; });
    if (loaded == m_modules.end())
        return;  // freed since
    status->module = loaded->first;
    status->order = count(heard->order);
    status->pattern = count(heard->pattern);
    status->row = count(heard->row);
    status->levels = QList<float>(heard->levels.begin(), heard->levels.begin() + 2 * heard->channels);
    if (nextRowAt)
        status->msToNextRow = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*nextRowAt - now).count());
}

void OpenMptSdlAudio::setChannelMuted(ModuleHandle module, int channel, bool muted)
{
    LoadedModule* const loaded = find(module);
    if (!loaded || !loaded->interactive || channel < 0 || static_cast<quint32>(channel) >= loaded->info.channelCount)
        return;
    OutputDevice* const device = m_devices.device();
    DeviceLock lock(device);
    try {
        loaded->mutedChannels.set(*loaded->interactive, channel, muted, device ? device->moduleFrames() : 0);
    } catch (...) {
        // A channel libopenmpt does not know stays as it was.
    }
    if (muted)
        m_muteSettling->start(kMuteGlide);
}

void OpenMptSdlAudio::settleMutedChannels()
{
    if (!m_current || !m_current->interactive)
        return;
    OutputDevice* const device = m_devices.device();
    if (!device)
        return;
    DeviceLock lock(device);
    const auto glideFrames = static_cast<std::size_t>(device->renderer().format().rate * kMuteGlide.count() / 1000);
    try {
        // The device renders a period at a time: the glide may wait for the next one.
        if (m_current->mutedChannels.settle(*m_current->interactive, device->moduleFrames(), glideFrames)
            && !device->parked())
            m_muteSettling->start(kMuteGlide);
    } catch (...) {
        // Channels libopenmpt refuses stay muted by their volume.
    }
}
