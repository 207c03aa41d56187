// Opening the sound output: every mode at every rate, a driver that does not exist, opening
// again after closing. And the devices' life, with time stepped by the test: idle devices
// parked and closed, a retired device playing out its module, and a start behind silence
// told and replaced.
#include "audio/DiskOutput.h"
#include "audio/SteppedClock.h"
#include "platform/audio/ModuleFile.h"
#include "platform/audio/OutputDevices.h"
#include "support/TestSongs.h"

#include <QFile>

#include <SDL.h>

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

using namespace std::chrono_literals;

/// What a sound server that keeps 200 ms queued gets: a retired device plays out there, and
/// starts are too short to be checked.
constexpr DeviceTiming kServerTiming{1024, 200};
/// What a sound server that keeps 500 ms queued gets: starts are checked.
constexpr DeviceTiming kCheckedServerTiming{1024, 500};
/// How often idle devices are looked at.
constexpr auto kIdleCheck = 100ms;

/// The devices' life on SDL's disk driver, which stands in for the sound server: it takes
/// what a device renders as soon as it is rendered, unless a test paces it. Time goes on only
/// where the test steps it.
class OutputDevicesTest : public DiskOutputTest {
protected:
    void SetUp() override
    {
        DiskOutputTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
        m_first = loadModuleFile(TestSongs::write(TestSongs::toneSong(), Format::Xm, m_dir.path(), "tone"));
        m_second = loadModuleFile(TestSongs::write(TestSongs::beatSong(), Format::Xm, m_dir.path(), "beat"));
        ASSERT_TRUE(m_first && m_second);
    }
    void TearDown() override
    {
        m_devices.close();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        DiskOutputTest::TearDown();
    }

    /// Paces the driver to a period every quarter second, far slower than a device asks: a
    /// stream that takes its first module only period by period, however slowly the test
    /// runs.
    static void paceTheServer() { qputenv("SDL_DISKAUDIODELAY", "250"); }

    SteppedClock m_clock;
    std::unique_ptr<LoadedModule> m_first;
    std::unique_ptr<LoadedModule> m_second;
    OutputDevices m_devices{m_clock};
};

TEST_F(OutputDevicesTest, AnIdleDeviceParksOnceItsStreamIsSilentAndClosesOnceAllItPlayedIsHeard)
{
    ASSERT_TRUE(m_devices.open(OutputFormat{}, kServerTiming));
    m_devices.play(m_first.get());
    OutputDevice* const device = m_devices.device();
    ASSERT_FALSE(device->parked());
    {
        // Held here, the device thread renders nothing more: its stream still ends in the
        // module's sound, where running dry would click.
        DeviceLock hold(device);
        m_devices.play(nullptr);
        m_clock.advance(kIdleCheck);
        EXPECT_FALSE(device->parked());
    }
    ASSERT_TRUE(waitUntil([device] {
        DeviceLock lock(device);
        return device->endsInSilence();
    }));
    m_clock.advance(kIdleCheck);
    ASSERT_TRUE(device->parked());
    // Closed at the first look once the 200 ms queued and the period being written are heard.
    m_clock.advance(2 * kIdleCheck);
    EXPECT_EQ(m_devices.openCount(), 1);
    m_clock.advance(kIdleCheck);
    EXPECT_EQ(m_devices.openCount(), 0);
    EXPECT_FALSE(m_clock.nextCallIn());  // nothing wakes up for silence any more
}

TEST_F(OutputDevicesTest, ARetiredDevicePlaysOutBesideTheNextAndClosesOnceItIsHeard)
{
    ASSERT_TRUE(m_devices.open(OutputFormat{}, kServerTiming));
    m_devices.play(m_first.get());
    OutputDevice* const retired = m_devices.device();
    m_devices.retire();
    m_devices.play(m_second.get());
    OutputDevice* const next = m_devices.device();
    ASSERT_NE(next, retired);
    EXPECT_FALSE(next->parked());
    EXPECT_EQ(m_devices.openCount(), 2);

    ASSERT_TRUE(waitUntil([retired] {
        DeviceLock lock(retired);
        return retired->endsInSilence();
    }));
    m_clock.advance(kIdleCheck);
    ASSERT_TRUE(retired->parked());
    m_clock.advance(2 * kIdleCheck);
    EXPECT_EQ(m_devices.openCount(), 2);
    m_clock.advance(kIdleCheck);
    EXPECT_EQ(m_devices.openCount(), 1);
    EXPECT_EQ(m_devices.device(), next);
    EXPECT_FALSE(next->parked());
    EXPECT_FALSE(m_clock.nextCallIn());

    // Modules changed faster than their sound is heard: the oldest of three retired is cut
    // short.
    for (LoadedModule* module : {m_first.get(), m_second.get(), m_first.get()}) {
        m_devices.retire();
        m_devices.play(module);
    }
    EXPECT_EQ(m_devices.openCount(), 3);
}

// A stream that takes the device's first module only period by period is full already:
// the module's first notes wait behind what was queued before them, and the device is
// replaced when it is looked at. A stream that takes half the latency at once is kept.
TEST_F(OutputDevicesTest, AStreamTakingItsFirstModulePeriodByPeriodStartsBehindSilence)
{
    // What a fresh stream takes at once.
    const qint64 halfLatencyBytes =
        qint64(OutputFormat{}.rate) * OutputFormat{}.frameBytes() * kCheckedServerTiming.serverLatencyMs / 2000;
    for (const bool paced : {true, false}) {
        if (paced)
            paceTheServer();
        else
            qputenv("SDL_DISKAUDIODELAY", "0");
        ASSERT_TRUE(m_devices.open(OutputFormat{}, kCheckedServerTiming));
        m_devices.play(m_first.get());
        OutputDevice* const device = m_devices.device();
        const auto checkDelay = device->startCheckDelay();
        ASSERT_TRUE(checkDelay);
        if (!paced) {
            ASSERT_TRUE(waitUntil([&] { return outputSize() >= halfLatencyBytes; }));
        }
        {
            DeviceLock lock(device);
            EXPECT_EQ(device->startsBehindSilence(), paced);
        }
        m_clock.advance(*checkDelay);
        EXPECT_EQ(m_devices.device() != device, paced);
        m_devices.close();
    }
    // Without a latency of its own, the server says nothing by how it takes a stream.
    EXPECT_FALSE(OutputDevice::open(OutputFormat{}, deviceTiming(44100, 500, false), m_clock)->startCheckDelay());
}

TEST_F(OutputDevicesTest, AStartBehindSilenceIsReplacedTwiceAtMostAndThenNoLongerChecked)
{
    paceTheServer();
    ASSERT_TRUE(m_devices.open(OutputFormat{}, kCheckedServerTiming));
    m_devices.play(m_first.get());
    OutputDevice* device = m_devices.device();
    const auto checkDelay = *device->startCheckDelay();
    for (int replacement = 1; replacement <= 2; ++replacement) {
        m_clock.advance(checkDelay);
        // The replacement opened while the device behind was still open: a new address.
        ASSERT_NE(m_devices.device(), device) << replacement;
        device = m_devices.device();
        EXPECT_FALSE(device->parked()) << replacement;
        EXPECT_EQ(m_devices.openCount(), 1) << replacement;
    }
    // A third device behind as well shows a server that never takes its queue at once: it
    // stays, and no later start is looked at.
    m_clock.advance(checkDelay);
    EXPECT_EQ(m_devices.device(), device);
    EXPECT_FALSE(m_clock.nextCallIn());
    m_devices.retire();
    m_devices.play(m_second.get());
    EXPECT_NE(m_devices.device(), device);
    EXPECT_EQ(m_clock.nextCallIn(), kIdleCheck);  // the retired device's looks only
}

TEST_F(OutputDevicesTest, AStartCheckLeavesWithItsDevice)
{
    paceTheServer();
    ASSERT_TRUE(m_devices.open(OutputFormat{}, kCheckedServerTiming));
    m_devices.play(m_first.get());
    const auto checkDelay = m_devices.device()->startCheckDelay();
    ASSERT_TRUE(checkDelay);
    EXPECT_EQ(m_clock.nextCallIn(), *checkDelay);
    m_devices.retire();
    EXPECT_EQ(m_clock.nextCallIn(), kIdleCheck);  // the retired device's looks only
    m_devices.play(m_second.get());  // a fresh device, looked at in turn
    EXPECT_EQ(m_clock.nextCallIn(), *checkDelay);
    m_devices.close();
    EXPECT_FALSE(m_clock.nextCallIn());
}

}  // namespace
