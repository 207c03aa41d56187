#include "bench/MonitorCapture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

std::unique_ptr<MonitorCapture> MonitorCapture::open(int seconds)
{
    std::unique_ptr<MonitorCapture> capture(new MonitorCapture);
    // Room for all of it, so that the capture thread never waits for memory.
    capture->m_samples.reserve(static_cast<std::size_t>(seconds) * kRate * 2);
    SDL_AudioSpec wanted = {};
    wanted.freq = kRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 256;
    wanted.callback = callback;
    wanted.userdata = capture.get();
    capture->m_id = SDL_OpenAudioDevice(nullptr, 1, &wanted, nullptr, 0);
    if (capture->m_id == 0)
        return nullptr;
    SDL_PauseAudioDevice(capture->m_id, 0);
    return capture;
}

MonitorCapture::~MonitorCapture()
{
    if (m_id != 0)
        SDL_CloseAudioDevice(m_id);
}

void MonitorCapture::callback(void* self, std::uint8_t* stream, int length)
{
    const auto arrived = Clock::now();
    auto* capture = static_cast<MonitorCapture*>(self);
    std::lock_guard lock(capture->m_mutex);
    auto& samples = capture->m_samples;
    const std::size_t count = std::min(static_cast<std::size_t>(length) / sizeof(std::int16_t),
                                       samples.capacity() - samples.size());
    const std::size_t at = samples.size();
    samples.resize(at + count);
    std::memcpy(samples.data() + at, stream, count * sizeof(std::int16_t));
    const auto played = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(double(samples.size() / 2) / kRate));
    const auto origin = arrived - played;
    if (!capture->m_origin || origin < *capture->m_origin)
        capture->m_origin = origin;
}

bool MonitorCapture::waitFor(Clock::time_point at, std::chrono::milliseconds timeout) const
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_origin && timeOf(m_samples.size() / 2) >= at)
                return true;
        }
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

MonitorCapture::Clock::time_point MonitorCapture::timeOf(std::size_t frame) const
{
    return *m_origin + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(double(frame) / kRate));
}

std::vector<MonitorCapture::Sound> MonitorCapture::sounds(Clock::time_point from, Clock::time_point to, int threshold,
                                                           std::chrono::milliseconds quiet) const
{
    std::lock_guard lock(m_mutex);
    std::vector<Sound> found;
    if (!m_origin)
        return found;
    const std::size_t quietFrames = static_cast<std::size_t>(quiet.count()) * kRate / 1000;
    std::size_t quietRun = 0;
    std::optional<std::size_t> start;  // of the sound that goes on, if any
    std::size_t last = 0;              // the last loud frame
    const auto close = [&] {
        const auto at = timeOf(*start);
        if (at >= from && at < to)
            found.push_back({at, timeOf(last + 1) - at});
        start.reset();
    };
    for (std::size_t frame = 0; frame < m_samples.size() / 2; ++frame) {
        const int level = std::max(std::abs(int(m_samples[2 * frame])), std::abs(int(m_samples[2 * frame + 1])));
        if (level <= threshold) {
            if (++quietRun == quietFrames && start)
                close();
            continue;
        }
        if (quietRun >= quietFrames && !start)
            start = frame;
        last = frame;
        quietRun = 0;
    }
    if (start)
        close();
    return found;
}
