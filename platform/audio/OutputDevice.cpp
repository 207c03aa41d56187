#include "platform/audio/OutputDevice.h"

#include "platform/audio/DeviceClock.h"

#include <QByteArray>
#include <QtGlobal>

#include <SDL.h>

#include <utility>

namespace {

/// Asks PulseAudio to keep milliseconds of sound queued for the streams opened while it lives.
/// SDL's PulseAudio driver asks for one period only; libpulse reads this variable when a
/// stream connects and asks the server for it instead. A value the user set stays.
class ServerLatencyRequest {
public:
    explicit ServerLatencyRequest(int milliseconds)
        : m_asked(milliseconds > 0 && !qEnvironmentVariableIsSet(kVariable))
    {
        if (m_asked)
            qputenv(kVariable, QByteArray::number(milliseconds));
    }
    ~ServerLatencyRequest()
    {
        if (m_asked)
            qunsetenv(kVariable);
    }
    ServerLatencyRequest(const ServerLatencyRequest&) = delete;
    ServerLatencyRequest& operator=(const ServerLatencyRequest&) = delete;

private:
    static constexpr const char* kVariable = "PULSE_LATENCY_MSEC";
    bool m_asked;
};

}  // namespace

OutputDevice::OutputDevice(const OutputFormat& format, const DeviceTiming& timing)
    : m_timing(timing), m_renderer(format, timing.periodFrames), m_streamClock(format.rate)
{
    m_renderer.recordHeard(&m_heard);
}

std::unique_ptr<OutputDevice> OutputDevice::open(const OutputFormat& format, const DeviceTiming& timing,
                                                 const DeviceClock& clock, const std::string& streamName)
{
    std::unique_ptr<OutputDevice> device(new OutputDevice(format, timing));
    device->m_streamName = streamName;
    // Read by SDL's sound server drivers when the stream opens, and only then.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, streamName.c_str());
    SDL_AudioSpec wanted = {};
    wanted.freq = format.rate;
    wanted.format = format.bytesPerSample == 1 ? AUDIO_U8 : AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = static_cast<Uint16>(timing.periodFrames);
    wanted.callback = callback;
    wanted.userdata = device.get();
    SDL_AudioSpec obtained = {};
    {
        ServerLatencyRequest latency(timing.serverLatencyMs);
        // No changes allowed: what the device takes is exactly the format asked for.
        device->m_id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    }
    if (device->m_id == 0)
        return nullptr;
    // SDL opens the device paused, and its thread writes silence at once: mostly a period
    // before it is parked here, at times all the server takes while the device opens
    // (startsBehindSilence). Parked, it writes no more until it is given a module.
    device->park(clock);
    SDL_PauseAudioDevice(device->m_id, 0);
    return device;
}

OutputDevice::~OutputDevice()
{
    if (m_id == 0)
        return;
    // SDL closes under the device lock and then waits for the thread, which must be free to
    // take the lock and see that it is to end.
    unpark();
    SDL_CloseAudioDevice(m_id);
}

DeviceLock::DeviceLock(const OutputDevice* device) : m_device(device ? device->id() : 0)
{
    if (m_device != 0)
        SDL_LockAudioDevice(m_device);
}

DeviceLock::~DeviceLock()
{
    if (m_device != 0)
        SDL_UnlockAudioDevice(m_device);
}

bool OutputDevice::endsInSilence() const
{
    return m_silentFrames >= static_cast<std::size_t>(m_timing.periodFrames);
}

void OutputDevice::park(const DeviceClock& clock)
{
    if (m_parked)
        return;
    SDL_LockAudioDevice(m_id);
    m_parked = true;
    m_parkedAt = clock.now();
}

void OutputDevice::unpark()
{
    if (!m_parked)
        return;
    m_parked = false;
    m_streamClock.resume();
    SDL_UnlockAudioDevice(m_id);
}

bool OutputDevice::playedOut(Clock::time_point now) const
{
    const int rate = m_renderer.format().rate;
    const int periodMs = m_timing.periodFrames * 1000 / rate + 1;
    // Without a latency of its own the server holds what the driver queues: about two periods.
    const int queuedMs = m_timing.serverLatencyMs > 0 ? m_timing.serverLatencyMs : 2 * periodMs;
    // One more period: the one the thread was writing when it was parked.
    return m_parked && now - m_parkedAt >= std::chrono::milliseconds(queuedMs + periodMs);
}

namespace {

/// How long after its first module a device is looked at: long after its first burst to a
/// fresh stream (about a millisecond), before a stream full already asks it for much more.
constexpr std::chrono::milliseconds kStartCheckDelay{15};

}  // namespace

std::optional<std::chrono::milliseconds> OutputDevice::startCheckDelay() const
{
    // By the check, a device that the server takes only period by period has rendered
    // kStartCheckDelay and one period more; a quarter of the latency must be well above that.
    const int periodMs = m_timing.periodFrames * 1000 / m_renderer.format().rate;
    const int pacedMs = static_cast<int>(kStartCheckDelay.count()) + periodMs;
    if (m_timing.serverLatencyMs / 4 < 2 * pacedMs)
        return std::nullopt;
    return kStartCheckDelay;
}

bool OutputDevice::startsBehindSilence() const
{
    const auto quarterLatency = static_cast<std::size_t>(m_renderer.format().rate) * m_timing.serverLatencyMs / 4000;
    return m_moduleFrames < quarterLatency;
}

void OutputDevice::callback(void* self, std::uint8_t* stream, int length)
{
    // SDL holds the device lock around this call.
    auto* device = static_cast<OutputDevice*>(self);
    const std::size_t frameBytes = device->m_renderer.format().frameBytes();
    const std::size_t frames = static_cast<std::size_t>(length) / frameBytes;
    const auto heardAt = device->m_streamClock.write(Clock::now(), frames);
    device->m_renderer.nextHeardAt(heardAt);
    const std::size_t done = device->m_renderer.render(device->m_module, stream, frames);
    if (device->m_next && device->m_renderer.songEnded()) {
        device->m_renderer.finishGlide(device->m_module);
        device->m_module = std::exchange(device->m_next, nullptr);
        device->m_renderer.followOn();
        device->m_renderer.nextHeardAt(heardAt + device->m_renderer.format().duration(static_cast<std::int64_t>(done)));
        device->m_renderer.render(device->m_module, stream + done * frameBytes, frames - done);
    }
    if (device->m_module) {
        device->m_silentFrames = 0;
        device->m_moduleFrames += frames;
    } else {
        device->m_silentFrames += frames;
    }
    device->m_streamClock.handedOver(Clock::now());
}
