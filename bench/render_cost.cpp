// What the sound device's render path costs beyond libopenmpt's own rendering.
//
// For each module, one second of 16-bit stereo at 44100 Hz goes through OutputRenderer (float
// render, volume, conversion: the device callback's work) and, from a second instance of the
// same module, through libopenmpt's plain float read, which is what "openmpt123 --render"
// does. Both render in device-sized chunks; each figure is the median of several rounds.
//
// Usage: render_cost [module...]. Without arguments: the demo module and a busy song made
// here in MOD, S3M and XM.
#include "platform/audio/ModuleFile.h"
#include "platform/audio/OutputRenderer.h"
#include "tools/modulemaker/ModuleMaker.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kChunk = 2048;
constexpr int kRounds = 15;

using Clock = std::chrono::steady_clock;

ModuleMaker::Song busySong()
{
    using namespace ModuleMaker;
    Song song;
    song.name = QStringLiteral("Busy Bench Song");
    song.speed = 3;
    song.samples = {{QStringLiteral("Saw"), Waveform::Saw, 32, 2048, true, 0, 48, 64},
                    {QStringLiteral("Square"), Waveform::Square, 64, 2048, true, 0, 48, 192}};
    Pattern pattern;
    for (int row = 0; row < 64; row += 2) {
        for (int channel = 0; channel < 4; ++channel)
            pattern.notes.append({row, channel, noteNumber(3 + channel % 2, (row + 3 * channel) % 12), 1 + channel % 2, -1});
    }
    song.patterns = {pattern};
    song.orders = {0, 0};
    return song;
}

/// The median time of render(round) over the rounds, in ms.
double medianMs(const std::function<void(int)>& render)
{
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        render(round);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + kRounds / 2, times.end());
    return times[kRounds / 2];
}

/// Prints the two costs of path and returns their ratio; 0 when it does not load.
double measure(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.readAll();
    // A fresh module for every round, loaded before the clock runs.
    std::vector<std::unique_ptr<LoadedModule>> ourModules;
    std::vector<std::unique_ptr<openmpt::module>> plainModules;
    for (int round = 0; round < kRounds; ++round) {
        ourModules.push_back(loadModuleFile(path));
        if (!ourModules.back())
            return 0;
        plainModules.push_back(std::make_unique<openmpt::module>(bytes.constData(), std::size_t(bytes.size())));
        plainModules.back()->set_repeat_count(-1);
    }

    std::vector<std::uint8_t> device(std::size_t(kChunk) * 4);
    const double ours = medianMs([&](int round) {
        OutputRenderer renderer(OutputFormat{kRate, 2, 2}, kChunk);
        for (int done = 0; done < kRate; done += kChunk)
            renderer.render(ourModules[round]->module.get(), device.data(), std::size_t(std::min(kChunk, kRate - done)));
    });
    std::vector<float> plain(std::size_t(kChunk) * 2);
    const double reference = medianMs([&](int round) {
        for (int done = 0; done < kRate; done += kChunk)
            plainModules[round]->read_interleaved_stereo(kRate, std::size_t(std::min(kChunk, kRate - done)), plain.data());
    });
    std::printf("%-28s %9.3f ms %9.3f ms %7.3f\n", qPrintable(QFileInfo(path).fileName()), ours,
                reference, ours / reference);
    return ours / reference;
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
            if (ModuleMaker::write(busySong(), format, path))
                paths.append(path);
        }
    }

    std::printf("one second at %d Hz, 16-bit stereo, median of %d rounds (ratio target: at most 1.1)\n",
                kRate, kRounds);
    std::printf("%-28s %12s %12s %7s\n", "module", "ours", "plain read", "ratio");
    double worst = 0;
    for (const QString& path : paths) {
        const double ratio = measure(path);
        if (ratio == 0)
            std::printf("%-28s does not load\n", qPrintable(path));
        worst = std::max(worst, ratio);
    }
    std::printf("worst ratio %.3f\n", worst);
    return 0;
}
