// How fast a song is saved as an audio file: rendered at the default playback quality and
// written as FLAC, the work of "Save as audio file..." and "jukarium --render", against the
// length of the audio written (the song played once, and the fade-out where it loops).
//
// Timed as the CPU time of the one thread that does it all, so that the figure is per core and
// other work on the machine does not count; the median of five runs per module. The target
// holds for the modules people mostly play, four to eight channels: the demo module (8
// channels) and a busy 4-channel song in MOD, S3M and XM. The long 32-channel song is shown
// beside them, and so is libopenmpt's plain float read of each song: the floor.
//
// Usage: save_as_audio [module...]. Without arguments the modules above, all made here.
#include "bench/BenchSongs.h"
#include "platform/audio/AudioFileFormats.h"
#include "platform/audio/ModuleFile.h"
#include "platform/audio/SongFile.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <optional>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr double kTargetTimesRealTime = 150;
constexpr int kRate = 44100;

double threadSeconds()
{
    timespec now = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

/// Seconds of audio per second of one core's time.
struct Speed {
    double toFlac = 0;
    double plainRead = 0;
};

/// libopenmpt's plain read of module's song, once through.
double plainReadSpeed(openmpt::module& module)
{
    std::vector<float> piece(4096 * 2);
    std::size_t frames = 0;
    const double start = threadSeconds();
    while (const std::size_t got = module.read_interleaved_stereo(kRate, 4096, piece.data()))
        frames += got;
    return double(frames) / kRate / (threadSeconds() - start);
}

std::optional<Speed> measure(const QString& path, const QString& target)
{
    std::vector<double> toFlac, plainRead;
    for (int run = 0; run < kRuns; ++run) {
        // Loaded before the clock runs, as the saving worker loads before it renders.
        const auto loaded = loadModuleFile(path);
        const auto plain = loadModuleFile(path);
        if (!loaded || !plain)
            return std::nullopt;
        SongFileJob job;
        job.target = target;
        job.format = AudioFileFormat::Flac;
        job.existing = WholeFileWriter::Existing::Replace;
        const std::atomic<bool> cancel{false};
        const double start = threadSeconds();
        const SongFileResult result = writeSongFile(*loaded->module, job, cancel);
        const double seconds = threadSeconds() - start;
        if (result.outcome != SongFileResult::Outcome::Written || seconds <= 0)
            return std::nullopt;
        toFlac.push_back(double(result.frames) / audioFileType(job.format).sampleRate / seconds);
        plainRead.push_back(plainReadSpeed(*plain->module));
    }
    return Speed{median(toFlac), median(plainRead)};
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir dir;
    struct Module {
        QString path;
        bool held;  // to the target
    };
    std::vector<Module> modules;
    for (int i = 1; i < argc; ++i)
        modules.push_back({QString::fromLocal8Bit(argv[i]), true});
    if (modules.empty()) {
        modules.push_back({QStringLiteral(JK_DEMO_MODULE), true});
        for (auto format : {ModuleMaker::Format::Mod, ModuleMaker::Format::S3m, ModuleMaker::Format::Xm}) {
            const QString path = dir.filePath(QStringLiteral("busy.") + ModuleMaker::extension(format));
            if (ModuleMaker::write(BenchSongs::busySong(), format, path))
                modules.push_back({path, true});
        }
        const QString path = dir.filePath(QStringLiteral("long-32-channels.xm"));
        if (ModuleMaker::write(BenchSongs::longSong(), ModuleMaker::Format::Xm, path))
            modules.push_back({path, false});
    }

    std::printf("times real time on one core (CPU time of the saving thread), median of %d runs\n", kRuns);
    std::printf("%-24s %14s %14s\n", "module", "to FLAC", "plain read");
    std::optional<double> slowest;
    for (const Module& module : modules) {
        const auto speed = measure(module.path, dir.filePath(QStringLiteral("out.flac")));
        if (!speed) {
            std::printf("%-24s does not load or save\n", qPrintable(module.path));
            continue;
        }
        std::printf("%-24s %13.0fx %13.0fx%s\n", qPrintable(QFileInfo(module.path).fileName()),
                    speed->toFlac, speed->plainRead, module.held ? "" : "  (not held to the target)");
        if (module.held)
            slowest = std::min(slowest.value_or(speed->toFlac), speed->toFlac);
    }
    std::printf("save as FLAC: %.0f times real time at least (target: >= %.0f)\n", slowest.value_or(0),
                kTargetTimesRealTime);
    return 0;
}
