// What the sound device's render path costs beyond libopenmpt's own rendering.
//
// For each module, four seconds of 16-bit stereo at 44100 Hz go through OutputRenderer (float
// render, volume, conversion: the device callback's work) and, from a second instance of the
// same module, through libopenmpt's plain float read, which is what "openmpt123 --render"
// does. Both render in device-sized chunks, one after the other in each round, in turns; the
// overhead is the median of the rounds' differences. It does not grow with the module: what
// it adds is a conversion per sample, so the target is an absolute one, checked on a long
// song with 32 busy channels, where the plain read costs most.
//
// Usage: render_cost [module...]. Without arguments: the demo module, a busy song in MOD, S3M
// and XM, and the long song, all made here.
#include "bench/BenchSongs.h"
#include "platform/audio/ModuleFile.h"
#include "platform/audio/OutputRenderer.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 4;
constexpr int kChunk = 1024;
constexpr int kRounds = 21;
constexpr double kTargetOverheadMs = 0.1;

using Clock = std::chrono::steady_clock;

/// Per second of audio.
struct Cost {
    double plainMs = 0;     // libopenmpt's plain read, median
    double overheadMs = 0;  // ours minus plain, median of the rounds
};

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

template <typename Render>
double timedMs(Render render)
{
    const auto start = Clock::now();
    render();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

/// The cost of path; nothing when it does not load.
std::optional<Cost> measure(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    std::vector<std::uint8_t> device(std::size_t(kChunk) * 4);
    std::vector<float> plain(std::size_t(kChunk) * 2);
    std::vector<double> plainTimes, differences;
    for (int round = 0; round < kRounds; ++round) {
        // Fresh modules for every round, loaded before the clock runs.
        const auto ours = loadModuleFile(path);
        if (!ours)
            return std::nullopt;
        openmpt::module reference(bytes.constData(), std::size_t(bytes.size()));
        reference.set_repeat_count(-1);
        const auto renderOurs = [&] {
            OutputRenderer renderer(OutputFormat{kRate, 2, 2}, kChunk);
            for (int done = 0; done < kSeconds * kRate; done += kChunk)
                renderer.render(ours->module.get(), device.data(), kChunk);
        };
        const auto renderPlain = [&] {
            for (int done = 0; done < kSeconds * kRate; done += kChunk)
                reference.read_interleaved_stereo(kRate, kChunk, plain.data());
        };
        // In turns, so that a machine that speeds up or slows down favours neither.
        double oursMs = 0, plainMs = 0;
        if (round % 2 == 0) {
            oursMs = timedMs(renderOurs);
            plainMs = timedMs(renderPlain);
        } else {
            plainMs = timedMs(renderPlain);
            oursMs = timedMs(renderOurs);
        }
        plainTimes.push_back(plainMs / kSeconds);
        differences.push_back((oursMs - plainMs) / kSeconds);
    }
    return Cost{median(plainTimes), median(differences)};
}

}  // namespace

int main(int argc, char** argv)
{
    QStringList paths;
    for (int i = 1; i < argc; ++i)
        paths.append(QString::fromLocal8Bit(argv[i]));
    QTemporaryDir dir;
    if (paths.isEmpty()) {
        paths.append(QStringLiteral(JK_DEMO_MODULE));
        for (auto format : {ModuleMaker::Format::Mod, ModuleMaker::Format::S3m, ModuleMaker::Format::Xm}) {
            const QString path = dir.filePath(QStringLiteral("busy.") + ModuleMaker::extension(format));
            if (ModuleMaker::write(BenchSongs::busySong(), format, path))
                paths.append(path);
        }
        const QString path = dir.filePath(QStringLiteral("long.xm"));
        if (ModuleMaker::write(BenchSongs::longSong(), ModuleMaker::Format::Xm, path))
            paths.append(path);
    }

    std::printf("per second of audio at %d Hz, 16-bit stereo; overhead: median of %d rounds' differences\n",
                kRate, kRounds);
    std::printf("%-24s %14s %14s\n", "module", "plain read", "overhead");
    double worst = 0;
    for (const QString& path : paths) {
        const auto cost = measure(path);
        if (!cost) {
            std::printf("%-24s does not load\n", qPrintable(path));
            continue;
        }
        std::printf("%-24s %11.3f ms %11.3f ms\n", qPrintable(QFileInfo(path).fileName()), cost->plainMs,
                    cost->overheadMs);
        worst = std::max(worst, cost->overheadMs);
    }
    std::printf("render overhead: %.3f ms per second of audio at most (target: <= %.1f ms)\n", worst,
                kTargetOverheadMs);
    return 0;
}
