// How far the row that the audio library says is heard (getHeardStatus, the row the pattern view
// highlights) is from the sound of that row at the sound server. A module with a beep at the
// start of every row and silence between (row-beeps.xm) plays through the real SDL device at a
// buffer setting of the options (the default unless told), watched as the pattern view watches
// it and polled every millisecond: the view times its frames to land where the library says the
// next row is heard, so that this is when it shows each row. The sound server's monitor is
// recorded in the same process (MonitorCapture); both are timed on the steady clock
// (CLOCK_MONOTONIC). Each beep in the recording is matched to the moment the library began to
// name its row: which row among 16 it is, the long beeps tell; which of the rows 16 apart, the
// one named nearest in time (so offsets are told right up to 480 ms, half of 16 rows).
//
// The recording's clock is checked before and after the module: clicks written through a
// second device, which the server queues for a few milliseconds only, must be found no earlier
// than they were written and at most that much later.
//
// Target: the heard row changes within 30 ms of its sound (median and 90th percentile).
//
// Usage: heard_row_offset [--buffer-index N] [--seconds S]. Needs SDL's
// pulseaudio driver and a sound server whose monitor PULSE_SOURCE names ("nullsink.monitor",
// the null sound server's, where it is not set); see bench/README.md.
#include "bench/BenchSongs.h"
#include "bench/MonitorCapture.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "settings/OptionsTable.h"

#include <QCoreApplication>
#include <QTimer>

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Clock = MonitorCapture::Clock;
using Sound = MonitorCapture::Sound;
using std::chrono::milliseconds;

constexpr double kTargetMs = 30;
constexpr int kThreshold = 500;     // a twentieth of a beep, reached at its first point
constexpr milliseconds kQuiet{10};  // beeps leave 20 ms of their 60 ms row silent at least
constexpr milliseconds kLongBeep{30};  // between a short beep (20 ms) and a long one (40 ms)
// Half of the time between rows of the same place among 16: the largest offset told right.
constexpr auto kWithin = std::chrono::duration_cast<Clock::duration>(
    std::chrono::duration<double>(BenchSongs::kRowBeepSeconds * BenchSongs::kRowBeepLongEvery / 2));
constexpr int kClicks = 10;
constexpr int kClickFrames = 128;  // the click device's period: a queue of a few ms

double toMs(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

/// A second sound device that writes a click at a moment known on the steady clock: when its
/// thread asks for the period that begins with it. The server plays the click after that, by
/// no more than the little it queues for such a device.
class ClickDevice {
public:
    bool open()
    {
        SDL_AudioSpec wanted = {};
        wanted.freq = MonitorCapture::kRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = kClickFrames;
        wanted.callback = callback;
        wanted.userdata = this;
        m_id = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (m_id != 0)
            SDL_PauseAudioDevice(m_id, 0);
        return m_id != 0;
    }
    ~ClickDevice()
    {
        if (m_id != 0)
            SDL_CloseAudioDevice(m_id);
    }

    /// Clicks with the next period; returns when that period was written.
    Clock::time_point click()
    {
        m_armed = true;
        while (m_armed)
            std::this_thread::sleep_for(milliseconds(1));
        return Clock::time_point(Clock::duration(m_writtenAt.load()));
    }

private:
    static void callback(void* self, std::uint8_t* stream, int length)
    {
        auto* device = static_cast<ClickDevice*>(self);
        std::memset(stream, 0, static_cast<std::size_t>(length));
        if (!device->m_armed)
            return;
        device->m_writtenAt = Clock::now().time_since_epoch().count();
        auto* samples = reinterpret_cast<std::int16_t*>(stream);
        std::fill(samples, samples + 2 * 32, std::int16_t(16000));
        device->m_armed = false;
    }

    SDL_AudioDeviceID m_id = 0;
    std::atomic<bool> m_armed{false};
    std::atomic<Clock::rep> m_writtenAt{0};
};

/// Milliseconds from each click written, kClicks of them, to the first sound found after it.
std::vector<double> clickDelays(const MonitorCapture& monitor)
{
    ClickDevice device;
    if (!device.open())
        return {};
    std::this_thread::sleep_for(milliseconds(300));
    std::vector<Clock::time_point> written;
    for (int n = 0; n < kClicks; ++n) {
        written.push_back(device.click());
        std::this_thread::sleep_for(milliseconds(150));
    }
    monitor.waitFor(written.back() + milliseconds(100), milliseconds(3000));
    std::vector<double> delays;
    for (const auto at : written) {
        // A recording early by more than its error would find a click before it was written.
        const auto found = monitor.sounds(at - milliseconds(50), at + milliseconds(100), kThreshold, kQuiet);
        if (!found.empty())
            delays.push_back(toMs(found.front().start - at));
    }
    return delays;
}

struct RowChange {
    Clock::time_point at;
    int index;  // order × rows + row: the row's place in the song
};

struct Watch {
    std::vector<RowChange> changes;
    Clock::time_point played;  // playModule
    Clock::time_point ended;   // the last poll
};

/// Plays the module for seconds at bufferMs, polling the heard row every millisecond: the
/// moments it changed. Returns once what was queued has played out; nothing without sound.
std::optional<Watch> watchHeardRows(int bufferMs, int seconds)
{
    OpenMptSdlAudio audio;
    audio.startup();
    audio.setOption(AudioLibrary::kOptionMixBufLen, bufferMs);
    if (!audio.init()) {
        std::fprintf(stderr, "no sound output\n");
        return std::nullopt;
    }
    audio.startBackgroundPlay(0);
    audio.watchHeard(true);
    const ModuleHandle module = audio.loadModule(QStringLiteral(JK_ROW_BEEPS_MODULE));
    if (module == 0) {
        std::fprintf(stderr, "%s did not load\n", JK_ROW_BEEPS_MODULE);
        return std::nullopt;
    }
    Watch watch;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        HeardStatus heard;
        audio.getHeardStatus(&heard);
        if (heard.module != module)
            return;
        const int index = static_cast<int>(heard.order) * BenchSongs::kRowBeepPatternRows + static_cast<int>(heard.row);
        if (watch.changes.empty() || watch.changes.back().index != index)
            watch.changes.push_back({now, index});
    });
    watch.played = Clock::now();
    audio.playModule(module, 0);
    poll.start(1);
    QTimer::singleShot(seconds * 1000, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    poll.stop();
    watch.ended = Clock::now();
    audio.stopModule(module);
    // What was queued plays out into the recording.
    std::this_thread::sleep_for(milliseconds(1000));
    audio.close();
    return watch;
}

/// Each beep with its row among BenchSongs::kRowBeepLongEvery: counted in rows of time from the
/// long beep before it (for those before the first long one, from the long one after). Beeps
/// that do not fall on a row of it are left out.
std::vector<std::pair<Sound, int>> beepRows(const std::vector<Sound>& beeps)
{
    constexpr int kEvery = BenchSongs::kRowBeepLongEvery;
    std::vector<Clock::time_point> longStarts;
    for (const Sound& beep : beeps) {
        if (beep.length > kLongBeep)
            longStarts.push_back(beep.start);
    }
    std::vector<std::pair<Sound, int>> rows;
    if (longStarts.empty())
        return rows;
    for (const Sound& beep : beeps) {
        const auto after = std::upper_bound(longStarts.begin(), longStarts.end(), beep.start);
        const Clock::time_point anchor = after == longStarts.begin() ? *after : *std::prev(after);
        const double rowsOn = toMs(beep.start - anchor) / (1000 * BenchSongs::kRowBeepSeconds);
        if (std::abs(rowsOn - std::round(rowsOn)) > 0.1)
            continue;
        const int row = static_cast<int>(std::lround(rowsOn));
        rows.emplace_back(beep, (row % kEvery + kEvery) % kEvery);
    }
    return rows;
}

/// Milliseconds from each beep to the moment its row began to be named (positive: named after
/// the beep was heard): the row named within kWithin of it that is the beep's among 16, one at
/// most. Where there is none, the row was never named: nothing.
std::vector<std::optional<double>> rowOffsets(const std::vector<std::pair<Sound, int>>& beeps,
                                              const std::vector<RowChange>& changes)
{
    std::vector<std::optional<double>> offsets;
    for (const auto& [beep, row] : beeps) {
        std::optional<double> offset;
        for (const RowChange& change : changes) {
            if (change.index % BenchSongs::kRowBeepLongEvery == row && change.at - beep.start < kWithin
                && beep.start - change.at < kWithin)
                offset = toMs(change.at - beep.start);
        }
        offsets.push_back(offset);
    }
    return offsets;
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(std::lround(fraction * double(values.size() - 1))))];
}

}  // namespace

int main(int argc, char** argv)
{
    int bufferIndex = OptionsTable::kPlaybackBuffer.defaultValue;
    int seconds = 20;
    for (int n = 1; n + 1 < argc; n += 2) {
        if (std::strcmp(argv[n], "--buffer-index") == 0)
            bufferIndex = std::clamp(std::atoi(argv[n + 1]), OptionsTable::kPlaybackBuffer.first,
                                     OptionsTable::kPlaybackBuffer.last);
        else if (std::strcmp(argv[n], "--seconds") == 0)
            seconds = std::clamp(std::atoi(argv[n + 1]), 2, 60);
    }
    const int bufferMs = OptionsTable::playbackBufferMs(bufferIndex);
    setenv("PULSE_SOURCE", "nullsink.monitor", 0);
    QCoreApplication app(argc, argv);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || std::strcmp(SDL_GetCurrentAudioDriver(), "pulseaudio") != 0) {
        std::fprintf(stderr, "needs SDL's pulseaudio driver and a sound server (see bench/README.md)\n");
        return 1;
    }
    const auto monitor = MonitorCapture::open(seconds + 20);
    if (!monitor) {
        std::fprintf(stderr, "the monitor does not record: %s\n", SDL_GetError());
        return 1;
    }
    if (!monitor->waitFor(Clock::now(), milliseconds(3000))) {
        std::fprintf(stderr, "nothing comes from the monitor\n");
        return 1;
    }

    const std::vector<double> clicksBefore = clickDelays(*monitor);
    std::this_thread::sleep_for(milliseconds(300));
    const std::optional<Watch> watch = watchHeardRows(bufferMs, seconds);
    if (!watch)
        return 1;
    const std::vector<double> clicksAfter = clickDelays(*monitor);
    // Rows heard later may have been named after the last poll.
    const auto beeps = beepRows(monitor->sounds(watch->played, watch->ended - kWithin, kThreshold, kQuiet));
    std::vector<double> offsets;
    int neverNamed = 0;
    for (const std::optional<double>& offset : rowOffsets(beeps, watch->changes)) {
        if (offset)
            offsets.push_back(*offset);
        else
            ++neverNamed;
    }
    if (clicksBefore.size() < kClicks || clicksAfter.size() < kClicks || offsets.size() < 10) {
        std::fprintf(stderr, "too little found: %zu and %zu of %d clicks, %zu rows named, %zu beeps matched\n",
                     clicksBefore.size(), clicksAfter.size(), kClicks, watch->changes.size(), offsets.size());
        return 1;
    }

    std::printf("offsets of the heard row from its sound, ms, in song order (positive: shown late):\n");
    for (std::size_t n = 0; n < offsets.size(); ++n)
        std::printf("%+6.1f%s", offsets[n], n % 16 == 15 || n + 1 == offsets.size() ? "\n" : " ");
    for (const auto& [when, clicks] : {std::pair("before", &clicksBefore), std::pair("after", &clicksAfter)}) {
        std::printf("monitor clock %s the module: clicks found %.1f to %.1f ms after they were written\n", when,
                    *std::min_element(clicks->begin(), clicks->end()), *std::max_element(clicks->begin(), clicks->end()));
    }
    std::vector<double> distances(offsets.size());
    std::transform(offsets.begin(), offsets.end(), distances.begin(), [](double offset) { return std::abs(offset); });
    std::printf("buffer %d ms: %zu rows heard and named, %d heard but never named; median offset %+.1f ms\n",
                bufferMs, offsets.size(), neverNamed, percentile(offsets, 0.5));
    std::printf("heard row from its sound, median: %.1f ms (target: <= %.0f ms)\n", percentile(distances, 0.5),
                kTargetMs);
    std::printf("heard row from its sound, 90th percentile: %.1f ms (target: <= %.0f ms)\n",
                percentile(distances, 0.9), kTargetMs);
    std::printf("heard row from its sound, worst: %.1f ms\n", percentile(distances, 1.0));
    return 0;
}
