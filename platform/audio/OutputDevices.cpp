#include "platform/audio/OutputDevices.h"

#include "platform/audio/ModuleFile.h"

#include <libopenmpt/libopenmpt.hpp>

#include <utility>

namespace {

// A device with nothing to play is looked at a few times while the server plays out what it
// queued: a tenth of a second is well below the shortest such time.
constexpr std::chrono::milliseconds kIdleCheckInterval{100};

}  // namespace

OutputDevices::OutputDevices(DeviceClock& clock)
    : m_clock(clock),
      m_idleTimer(clock.timer(DeviceClock::TimerMode::Repeating, [this] { settleIdleDevices(); })),
      m_startCheckTimer(clock.timer(DeviceClock::TimerMode::SingleShot, [this] { checkFreshStart(); }))
{
}

OutputDevices::~OutputDevices() { close(); }

bool OutputDevices::open(const OutputFormat& format, const DeviceTiming& timing)
{
    close();
    m_settings = Settings{format, timing};
    m_device = openDevice();
    if (!m_device)
        m_settings.reset();
    return m_device != nullptr;
}

void OutputDevices::close()
{
    m_idleTimer->stop();
    m_startCheckTimer->stop();
    m_playing = nullptr;
    m_queued = nullptr;
    // Each returns once its device thread has ended, so nothing renders after this.
    m_retired.clear();
    m_device.reset();
    m_settings.reset();
}

int OutputDevices::openCount() const { return static_cast<int>(m_retired.size()) + (m_device ? 1 : 0); }

std::unique_ptr<OutputDevice> OutputDevices::openDevice(const std::string& streamName)
{
    if (!m_settings)
        return nullptr;
    auto device = OutputDevice::open(m_settings->format, m_settings->timing, m_clock, streamName);
    if (!device && !m_retired.empty()) {
        // Where a device opens only once at a time, the module before gives its own up.
        m_retired.clear();
        device = OutputDevice::open(m_settings->format, m_settings->timing, m_clock, streamName);
    }
    if (device) {
        device->renderer().setVolume(m_volume);
        device->renderer().setRepeat(m_repeat);
        device->heard().setWatched(m_watchHeard);
    }
    return device;
}

void OutputDevices::play(LoadedModule* module)
{
    // Nothing was heard of a device that has not played: one named after the module takes its
    // place, as long as the server can keep two streams (the disk driver writes one file).
    const bool misnamed = module && m_device && !m_device->hasPlayed() && m_device->timing().serverLatencyMs != 0
        && m_device->streamName() != module->streamName;
    if (misnamed) {
        if (auto named = openDevice(module->streamName))
            m_device = std::move(named);
    }
    if (module && !m_device)
        m_device = openDevice(module->streamName);
    if (!m_device)
        return;
    const bool freshStart = module && !m_device->hasPlayed();
    {
        DeviceLock lock(m_device.get());
        noteSongEnd();
        m_device->setModule(module ? module->module.get() : nullptr);
        if (module && m_queued)
            m_device->setNext(m_queued->module.get());
        m_playing = module;
        if (freshStart)
            m_freshStart = {module->module->get_position_seconds(), 0};
    }
    if (module)
        m_device->unpark();
    else
        m_idleTimer->start(kIdleCheckInterval);
    const auto checkDelay = m_device->startCheckDelay();
    if (freshStart && checkDelay && m_serverMayStartBehind)
        m_startCheckTimer->start(*checkDelay);
}

void OutputDevices::queue(LoadedModule* module)
{
    m_queued = module;
    DeviceLock lock(m_device.get());
    if (m_device && m_playing)
        m_device->setNext(module ? module->module.get() : nullptr);
}

LoadedModule* OutputDevices::takeFollowOn()
{
    if (!m_queued || !m_device)
        return nullptr;
    DeviceLock lock(m_device.get());
    if (m_device->module() != m_queued->module.get())
        return nullptr;
    m_playing = std::exchange(m_queued, nullptr);
    return m_playing;
}

void OutputDevices::forgetFreshStart()
{
    m_startCheckTimer->stop();
}

void OutputDevices::checkFreshStart()
{
    if (!m_playing || !m_device)
        return;
    {
        DeviceLock lock(m_device.get());
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
    auto replacement = openDevice(m_playing->streamName);
    if (!replacement)
        return;
    // The stream behind its silence goes, with the module's first periods queued there
    // unheard; the module starts again, where it started, on a fresh device of its own.
    const std::unique_ptr<OutputDevice> behind = std::exchange(m_device, std::move(replacement));
    {
        DeviceLock lock(behind.get());
        behind->setModule(nullptr);
    }
    LoadedModule* const module = m_playing;
    {
        DeviceLock lock(m_device.get());
        const double start = m_freshStart.position;
        module->moveWithinSong([start](openmpt::module& playing) { playing.set_position_seconds(start); });
    }
    const int replacements = m_freshStart.replacements + 1;
    play(module);
    m_freshStart.replacements = replacements;
}

void OutputDevices::retire()
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
        DeviceLock lock(m_device.get());
        noteSongEnd();
        m_device->setModule(nullptr);
        m_playing = nullptr;
    }
    m_startCheckTimer->stop();
    m_retired.push_back(std::move(m_device));
    // Modules changed faster than their sound is heard: the oldest is cut short.
    constexpr std::size_t kMostRetired = 2;
    if (m_retired.size() > kMostRetired)
        m_retired.erase(m_retired.begin());
    m_idleTimer->start(kIdleCheckInterval);
}

void OutputDevices::noteSongEnd()
{
    if (m_device && m_playing && m_device->songEnded())
        m_playing->songEnded = true;
}

void OutputDevices::settleIdleDevices()
{
    const auto now = m_clock.now();
    // True when the device may close: parked, and all it played heard.
    const auto settle = [this, now](std::unique_ptr<OutputDevice>& device) {
        if (device->parked())
            return device->playedOut(now);
        DeviceLock lock(device.get());
        // Parked only where its stream ends in silence, so that running dry makes no click.
        if (device->endsInSilence())
            device->park(m_clock);
        return false;
    };
    std::erase_if(m_retired, settle);
    if (m_device && !m_playing && settle(m_device)) {
        m_startCheckTimer->stop();
        m_device.reset();
    }
    if (m_retired.empty() && (!m_device || m_playing))
        m_idleTimer->stop();
}

void OutputDevices::setVolume(int volume)
{
    m_volume = volume;
    DeviceLock lock(m_device.get());
    if (m_device)
        m_device->renderer().setVolume(volume);
}

void OutputDevices::watchHeard(bool watch)
{
    m_watchHeard = watch;
    if (m_device)
        m_device->heard().setWatched(watch);
}

void OutputDevices::setRepeat(bool repeat)
{
    m_repeat = repeat;
    DeviceLock lock(m_device.get());
    if (m_device)
        m_device->renderer().setRepeat(repeat);
}
