// How fast a module's loudness is measured: measureLoudness (render once with the default
// quality, integrated loudness and true peak by libebur128), in seconds of song per second of
// one core's time (CPU time of the measuring thread, so a busy machine does not count against
// it). The slowest of the modules of up to eight channels counts, the typical module; the
// target is 200 times real time. Busier ones are shown: their cost is libopenmpt's rendering,
// which grows with the channels (the long 32-channel song: about 130 times).
//
// Usage: loudness_speed [module...]. Without arguments: the demo module, a busy four-channel
// song in MOD, S3M and XM, and the long 32-channel song, all made here.
#include "bench/BenchSongs.h"
#include "platform/audio/LoudnessMeter.h"
#include "platform/audio/ModuleFile.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>

namespace {

constexpr double kTargetTimesRealTime = 200;
constexpr quint32 kTypicalChannels = 8;

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

/// Seconds of song measured per second of CPU; 0 when it does not measure. typical tells
/// whether the module has up to kTypicalChannels channels.
double timesRealTime(const QString& path, bool* typical)
{
    const auto loaded = loadModuleFile(path);
    if (!loaded)
        return 0;
    *typical = loaded->info.channelCount <= kTypicalChannels;
    const std::atomic<bool> never{false};
    const double start = threadSeconds();
    const auto loudness = measureLoudness(path, RenderQuality(), 0, never);
    const double spent = threadSeconds() - start;
    if (!loudness)
        return 0;
    std::printf("%-20s %2u channels, %6.1f s of song, %5.1f LUFS, peak %5.1f dBTP: %6.0f x real time\n",
                qPrintable(QFileInfo(path).fileName()), loaded->info.channelCount,
                loaded->details.durationSeconds, loudness->integratedLufs,
                loudness->truePeakDbtp, loaded->details.durationSeconds / spent);
    return loaded->details.durationSeconds / spent;
}

}  // namespace

int main(int argc, char** argv)
{
    QStringList paths;
    for (int i = 1; i < argc; ++i)
        paths << QString::fromLocal8Bit(argv[i]);
    QTemporaryDir made;
    if (paths.isEmpty()) {
        using ModuleMaker::Format;
        paths << QStringLiteral(JK_DEMO_MODULE);
        const std::pair<ModuleMaker::Song, Format> songs[] = {
            {BenchSongs::busySong(), Format::Mod}, {BenchSongs::busySong(), Format::S3m},
            {BenchSongs::busySong(), Format::Xm}, {BenchSongs::longSong(), Format::Xm}};
        int n = 0;
        for (const auto& [song, format] : songs) {
            const QString path = made.filePath(QStringLiteral("song-%1.%2").arg(++n).arg(ModuleMaker::extension(format)));
            if (!ModuleMaker::write(song, format, path))
                return 1;
            paths << path;
        }
    }
    double slowest = std::numeric_limits<double>::max();
    for (const QString& path : std::as_const(paths)) {
        bool typical = false;
        const double times = timesRealTime(path, &typical);
        if (typical || times == 0)
            slowest = std::min(slowest, times);
    }
    std::printf("loudness measurement, up to %u channels: %.0f x real time at least (target: >= %.0f x)\n",
                kTypicalChannels, slowest, kTargetTimesRealTime);
    return slowest >= kTargetTimesRealTime ? 0 : 1;
}
