// Opening the sound output: every mode at every rate, a driver that does not exist, opening
// again after closing, and telling a stream whose first notes wait behind silence.
#include "audio/DiskOutput.h"
#include "platform/audio/OutputDevice.h"
#include "support/TestSongs.h"

#include <QFile>
#include <QScopeGuard>

#include <SDL.h>
#include <libopenmpt/libopenmpt.hpp>

#include <thread>

using ModuleMaker::Format;

namespace {

class OutputModeTest : public DiskOutputTest, public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(OutputModeTest, PlaysInTheFormatAskedFor)
{
    const auto [mode, rate] = GetParam();
    const OutputFormat format = *OutputFormat::fromMode(mode, rate);
    const ModuleHandle module =
        m_audio.loadModule(TestSongs::write(TestSongs::beatSong(), Format::Xm, m_dir.path(), "beat"));
    ASSERT_NE(module, 0u);
    m_audio.playModule(module, 0);
    ASSERT_TRUE(openOutput(mode, rate));
    m_audio.startBackgroundPlay(0);
    ASSERT_TRUE(waitUntil([&] { return position() >= 3; }));  // 12 beats played
    const PcmOutput output = closeAndRead(mode, rate);

    EXPECT_EQ(QFile(m_outputPath).size() % format.frameBytes(), 0);
    // The beats, found in the file as the format reads it, lie kBeatSeconds apart: the device
    // took rate × channels × bytes per sample for each second the module played.
    const auto onsets = output.onsets(rate / 100);
    ASSERT_GE(onsets.size(), 12);
    const double bytesPerBeat = TestSongs::kBeatSeconds * rate * format.channels * format.bytesPerSample;
    for (qsizetype i = 2; i < onsets.size(); ++i)
        EXPECT_NEAR(double(onsets[i] - onsets[i - 1]) * format.frameBytes(), bytesPerBeat,
                    3.0 * format.frameBytes()) << "beat " << i;
    if (format.channels == 2) {
        EXPECT_TRUE(output.isChannelSilent(1));  // the click is panned hard left
    }
}

INSTANTIATE_TEST_SUITE_P(ModesAndRates, OutputModeTest,
                         ::testing::Combine(::testing::Values(AudioLibrary::kMode8BitMono, AudioLibrary::kMode8BitStereo,
                                                              AudioLibrary::kMode16BitMono, AudioLibrary::kMode16BitStereo),
                                            ::testing::Values(11200, 22000, 32000, 38000, 44100)),
                         [](const auto& info) {
                             return "mode" + std::to_string(std::get<0>(info.param)) + "_"
                                 + std::to_string(std::get<1>(info.param)) + "Hz";
                         });

using OutputDeviceTest = DiskOutputTest;

TEST_F(OutputDeviceTest, InitFailsWithoutADriverAndModulesStillLoad)
{
    qputenv("SDL_AUDIODRIVER", "nonexistent");
    m_audio.startup();
    EXPECT_FALSE(m_audio.init());
    m_audio.startBackgroundPlay(0);
    const ModuleHandle module =
        m_audio.loadModule(TestSongs::write(TestSongs::toneSong(), Format::Xm, m_dir.path(), "tone"));
    EXPECT_NE(module, 0u);
    m_audio.setMusicVolume(64);
    m_audio.playModule(module, 0);
    m_audio.setPosition(2);
    EXPECT_EQ(position(), 2u);
    m_audio.stopModule(module);
    m_audio.freeModule(module);
    m_audio.stopBackgroundPlay();
    m_audio.close();

    qputenv("SDL_AUDIODRIVER", "disk");
    EXPECT_TRUE(m_audio.init());
}

TEST_F(OutputDeviceTest, OpensAgainAfterCloseWithTheNewOptions)
{
    const QString path = TestSongs::write(TestSongs::beatSong(), Format::Xm, m_dir.path(), "beat");
    for (const auto& [mode, rate] : {std::pair{AudioLibrary::kMode16BitStereo, 44100},
                                     std::pair{AudioLibrary::kMode8BitMono, 11200},
                                     std::pair{AudioLibrary::kMode16BitMono, 22000}}) {
        const ModuleHandle module = m_audio.loadModule(path);
        m_audio.playModule(module, 0);
        ASSERT_TRUE(openOutput(mode, rate));
        EXPECT_TRUE(m_audio.init());  // opening again while open replaces the device
        m_audio.startBackgroundPlay(0);
        ASSERT_TRUE(waitUntil([&] { return position() >= 1; }));
        const PcmOutput output = closeAndRead(mode, rate);
        const auto onsets = output.onsets(rate / 100);
        ASSERT_GE(onsets.size(), 4) << mode;
        EXPECT_NEAR(onsets[3] - onsets[2], TestSongs::kBeatSeconds * rate, 3) << mode;
    }
}

TEST_F(OutputDeviceTest, StartupRestoresTheDefaultsAndBadOptionsAreIgnored)
{
    m_audio.setOption(AudioLibrary::kOptionMixRate, 11200);
    m_audio.startup();
    m_audio.setOption(AudioLibrary::kOptionOutputMode, 7);
    m_audio.setOption(AudioLibrary::kOptionMixRate, -1);
    m_audio.setOption(AudioLibrary::kOptionMixBufLen, 0);
    m_audio.setOption(99, 1);
    const ModuleHandle module =
        m_audio.loadModule(TestSongs::write(TestSongs::beatSong(), Format::Xm, m_dir.path(), "beat"));
    m_audio.playModule(module, 0);
    ASSERT_TRUE(m_audio.init());
    m_audio.startBackgroundPlay(0);
    ASSERT_TRUE(waitUntil([&] { return position() >= 1; }));
    // Defaults: 16-bit stereo at 44100 Hz.
    const auto onsets = closeAndRead(AudioLibrary::kMode16BitStereo, 44100).onsets(441);
    ASSERT_GE(onsets.size(), 4);
    EXPECT_NEAR(onsets[3] - onsets[2], TestSongs::kBeatSeconds * 44100, 3);
}

// A stream that takes the device's first module only period by period is full already:
// the module's first notes wait behind what was queued before them. SDL's disk driver stands
// in for the server, pacing the device to one period per period by default and taking
// everything at once without a delay.
TEST_F(OutputDeviceTest, AStreamTakingItsFirstModulePeriodByPeriodStartsBehindSilence)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
    const auto quitAudio = qScopeGuard([] { SDL_QuitSubSystem(SDL_INIT_AUDIO); });
    const QByteArray song = ModuleMaker::make(TestSongs::toneSong(), Format::Xm);
    for (const bool paced : {true, false}) {
        if (paced)
            qunsetenv("SDL_DISKAUDIODELAY");
        else
            qputenv("SDL_DISKAUDIODELAY", "0");
        // What a sound server that keeps 500 ms queued gets.
        auto device = OutputDevice::open(OutputFormat{}, DeviceTiming{1024, 500});
        ASSERT_TRUE(device);
        const auto checkDelay = device->startCheckDelay();
        ASSERT_TRUE(checkDelay);
        openmpt::module module(song.constData(), static_cast<std::size_t>(song.size()));
        device->setModule(&module);  // parked: the device lock is held here
        device->unpark();
        std::this_thread::sleep_for(*checkDelay);
        SDL_LockAudioDevice(device->id());
        EXPECT_EQ(device->startsBehindSilence(), paced);
        device->setModule(nullptr);
        SDL_UnlockAudioDevice(device->id());
    }
    // Without a latency of its own, the server says nothing by how it takes a stream.
    EXPECT_FALSE(OutputDevice::open(OutputFormat{}, deviceTiming(44100, 500, false))->startCheckDelay());
}

}  // namespace
