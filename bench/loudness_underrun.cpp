// Whether measuring loudness disturbs playback: a module plays through SDL's disk driver,
// paced in real time (the driver sleeps a period between periods), with the device callback's
// work (OutputRenderer): first alone, for comparison, then while the loudness measurer
// (LoudnessMeasurer at nice 10, the real measurement) measures the benchmark modules one after
// the other for as long again. The whole
// process is held to one core, so that the measurer and the sound device's thread compete for
// it, as on a machine whose other cores are busy.
//
// A period's "lateness" is how long its callback came after the previous one beyond the
// driver's sleep: the previous render and the wait to be scheduled. A real device holding
// two periods runs dry, an underrun, where that passes a whole period. The target is none.
//
// Usage: loudness_underrun [seconds]. Plays seconds (default 20) of each,  the long 32-channel song (the costliest to
// render) in periods of 1024 frames at 44100 Hz, the period used with PulseAudio.
#include "bench/BenchSongs.h"
#include "platform/audio/LoudnessMeter.h"
#include "platform/audio/ModuleFile.h"
#include "platform/audio/OutputRenderer.h"
#include "playback/LoudnessCache.h"
#include "playback/LoudnessMeasurer.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <sched.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;
constexpr int kPeriodFrames = 1024;
constexpr int kPeriodMs = kPeriodFrames * 1000 / kRate;  // the disk driver's sleep, rounded down

struct Playback {
    LoadedModule* module = nullptr;
    OutputRenderer renderer{OutputFormat{kRate, 2, 2}, kPeriodFrames};
    std::vector<Clock::time_point> starts;  // of each callback, under the device lock
};

void callback(void* user, Uint8* stream, int length)
{
    auto* playback = static_cast<Playback*>(user);
    playback->starts.push_back(Clock::now());
    playback->renderer.render(playback->module->module.get(), stream, static_cast<std::size_t>(length) / 4);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(QString::fromLocal8Bit(argv[1]).toInt(), 1) : 20;
    cpu_set_t oneCore;
    CPU_ZERO(&oneCore);
    CPU_SET(sched_getcpu(), &oneCore);
    sched_setaffinity(0, sizeof oneCore, &oneCore);  // inherited by every thread started later

    QTemporaryDir dir;
    QStringList paths;
    const QString longSong = dir.filePath(QStringLiteral("long.xm"));
    if (!ModuleMaker::write(BenchSongs::longSong(), ModuleMaker::Format::Xm, longSong))
        return 1;
    for (int n = 0; n < BenchSongs::kLevelSongs; ++n) {
        const QString path = dir.filePath(QStringLiteral("level-%1.").arg(n + 1)
                                          + ModuleMaker::extension(BenchSongs::levelSongFormat(n)));
        if (!ModuleMaker::write(BenchSongs::levelSong(n), BenchSongs::levelSongFormat(n), path))
            return 1;
        paths << path;
    }

    Playback playback;
    const auto loaded = loadModuleFile(longSong);
    if (!loaded)
        return 1;
    playback.module = loaded.get();
    playback.starts.reserve(static_cast<std::size_t>(seconds) * kRate / kPeriodFrames + 100);
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(dir.filePath(QStringLiteral("output.raw"))));
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return 1;
    SDL_AudioSpec wanted{};
    wanted.freq = kRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kPeriodFrames;
    wanted.callback = callback;
    wanted.userdata = &playback;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0)
        return 1;

    // Every round of the modules at another stereo separation: new songs to the cache, so
    // the measurer never runs out of work.
    LoudnessCache cache{QString()};
    LoudnessMeasurer measurer(cache, measureLoudness);
    int measured = 0;
    int round = 0;
    const auto measureRound = [&] {
        QList<LoudnessJob> jobs;
        RenderQuality quality;
        quality.stereoSeparation = 100 - round++;
        for (const QString& path : std::as_const(paths))
            jobs.append({path, 0, quality});
        measurer.measureAhead(jobs);
    };
    QObject::connect(&measurer, &LoudnessMeasurer::measured, [&] {
        if (++measured % paths.size() == 0)
            measureRound();
    });
    Clock::time_point measuringFrom;
    QTimer::singleShot(seconds * 1000, &app, [&] {
        SDL_LockAudioDevice(device);
        measuringFrom = Clock::now();
        SDL_UnlockAudioDevice(device);
        measureRound();
    });
    SDL_PauseAudioDevice(device, 0);
    QTimer::singleShot(2 * seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    SDL_CloseAudioDevice(device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);

    struct Lateness {
        int periods = 0;
        double worstMs = 0;
        int underruns = 0;
    };
    Lateness alone;
    Lateness measuring;
    for (std::size_t i = 1; i < playback.starts.size(); ++i) {
        const double late =
            std::chrono::duration<double, std::milli>(playback.starts[i] - playback.starts[i - 1]).count() - kPeriodMs;
        Lateness& part = playback.starts[i - 1] >= measuringFrom ? measuring : alone;
        ++part.periods;
        part.worstMs = std::max(part.worstMs, late);
        part.underruns += late > kPeriodMs ? 1 : 0;
    }
    std::printf("periods of %d ms on one core: %d alone, %d while %d songs were measured\n", kPeriodMs,
                alone.periods, measuring.periods, measured);
    std::printf("latest period, alone: %.1f ms after its due time; while measuring: %.1f ms\n", alone.worstMs,
                measuring.worstMs);
    std::printf("underruns while measuring: %d (target: <= 0)\n", measuring.underruns);
    return measuring.underruns == 0 && measured > 0 ? 0 : 1;
}
