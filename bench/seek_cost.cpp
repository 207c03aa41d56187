// How long a seek takes in a long module: the audio library's setPlayTime, which libopenmpt
// answers by replaying the song up to the time asked for, on a song of more than ten minutes
// (the long bench song played twice, 32 busy channels). Seeks go to every 15 s of the song,
// forwards, backwards and from far ends, each timed alone; the worst is the figure (target: at
// most 50 ms, as a seek bar must follow a drag).
//
// Usage: seek_cost. The module is made here; no sound device is opened.
#include "bench/BenchSongs.h"
#include "platform/audio/OpenMptSdlAudio.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr double kTargetMs = 50;
constexpr double kStepSeconds = 15;

using Clock = std::chrono::steady_clock;

}  // namespace

int main()
{
    QTemporaryDir dir;
    ModuleMaker::Song song = BenchSongs::longSong();
    const QList<int> once = song.orders;
    song.orders += once;
    const QString path = dir.filePath(QStringLiteral("ten-minutes.xm"));
    if (!ModuleMaker::write(song, ModuleMaker::Format::Xm, path)) {
        std::fprintf(stderr, "the long song could not be written\n");
        return 1;
    }
    OpenMptSdlAudio audio;
    const ModuleHandle module = audio.loadModule(path);
    if (module == 0) {
        std::fprintf(stderr, "the long song did not load\n");
        return 1;
    }
    audio.playModule(module, 0);
    ModuleDetails details;
    audio.getModuleDetails(module, &details);
    const double length = details.durationSeconds;

    std::vector<double> targets;
    for (double at = 0; at < length; at += kStepSeconds)
        targets.push_back(at);
    std::vector<double> order = targets;                    // forwards
    order.insert(order.end(), targets.rbegin(), targets.rend());  // backwards
    for (double at : targets) {                             // from the far end each time
        order.push_back(length - 1);
        order.push_back(at);
    }
    double worst = 0;
    for (double at : order) {
        const auto start = Clock::now();
        audio.setPlayTime(at);
        worst = std::max(worst, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::printf("song of %.0f s, %zu seeks\n", length, order.size());
    std::printf("seek: %.1f ms at most (target: <= %.0f ms)\n", worst, kTargetMs);
    return 0;
}
