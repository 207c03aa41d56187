// The output format, the buffer size and the render path of the device callback, without a
// device.
#include "audio/DiskOutput.h"
#include "support/TestSongs.h"
#include "platform/audio/AudioLibrary.h"
#include "platform/audio/ModuleFile.h"
#include "platform/audio/OutputRenderer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <cstdlib>
#include <cstring>

namespace {

TEST(OutputFormatTest, MapsEachOutputModeAndRefusesOthers)
{
    EXPECT_EQ(OutputFormat::fromMode(AudioLibrary::kMode8BitMono, 11200), (OutputFormat{11200, 1, 1}));
    EXPECT_EQ(OutputFormat::fromMode(AudioLibrary::kMode8BitStereo, 22000), (OutputFormat{22000, 2, 1}));
    EXPECT_EQ(OutputFormat::fromMode(AudioLibrary::kMode16BitMono, 32000), (OutputFormat{32000, 1, 2}));
    EXPECT_EQ(OutputFormat::fromMode(AudioLibrary::kMode16BitStereo, 44100), (OutputFormat{44100, 2, 2}));
    for (int mode : {0, 4, 7, 8, 11})
        EXPECT_FALSE(OutputFormat::fromMode(mode, 44100)) << mode;
    EXPECT_FALSE(OutputFormat::fromMode(AudioLibrary::kMode16BitStereo, 7999));
    EXPECT_FALSE(OutputFormat::fromMode(AudioLibrary::kMode16BitStereo, 192001));
}

TEST(OutputFormatTest, ShortPeriodsWhereTheServerKeepsTheLatency)
{
    // Periods: powers of two of at most 24 ms; latency: the buffer length, at most 500 ms.
    EXPECT_EQ(deviceTiming(44100, 500, true).periodFrames, 1024);
    EXPECT_EQ(deviceTiming(22000, 500, true).periodFrames, 512);
    EXPECT_EQ(deviceTiming(11200, 2000, true).periodFrames, 256);
    EXPECT_EQ(deviceTiming(44100, 300, true).serverLatencyMs, 300);
    EXPECT_EQ(deviceTiming(44100, 500, true).serverLatencyMs, 500);
    EXPECT_EQ(deviceTiming(44100, 2000, true).serverLatencyMs, 500);
}

TEST(OutputFormatTest, ElsewhereThePeriodIsTheLatencyOfAtMost200Ms)
{
    // Power of two, at most 200 ms, at least 64 frames; no latency asked of the server.
    EXPECT_EQ(deviceTiming(44100, 500, false).periodFrames, 8192);
    EXPECT_EQ(deviceTiming(44100, 2000, false).periodFrames, 8192);
    EXPECT_EQ(deviceTiming(38000, 300, false).periodFrames, 4096);
    EXPECT_EQ(deviceTiming(11200, 300, false).periodFrames, 2048);
    EXPECT_EQ(deviceTiming(44100, 20, false).periodFrames, 512);
    EXPECT_EQ(deviceTiming(11200, 1, false).periodFrames, 64);
    EXPECT_EQ(deviceTiming(44100, 500, false).serverLatencyMs, 0);
}

TEST(VolumeRampTest, GlidesToEachTargetWithoutJumps)
{
    VolumeRamp ramp(1000);  // 10 frames for a full swing
    ramp.setTarget(0.0f);
    float previous = ramp.gain();
    int frames = 0;
    while (!ramp.isSteady()) {
        const float gain = ramp.next();
        EXPECT_LE(previous - gain, 0.1f + 1e-6f);
        EXPECT_LT(gain, previous);
        previous = gain;
        ++frames;
    }
    EXPECT_EQ(frames, 10);
    EXPECT_EQ(ramp.gain(), 0.0f);

    ramp.setTarget(0.25f);
    for (int i = 0; i < 3; ++i)
        ramp.next();
    EXPECT_TRUE(ramp.isSteady());
    EXPECT_EQ(ramp.gain(), 0.25f);
}

class OutputRendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString path = TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::Xm,
                                              m_dir.path(), QStringLiteral("tone"));
        m_loaded = loadModuleFile(path);
        ASSERT_TRUE(m_loaded);
    }

    /// Renders frames frames into a buffer that held no silence before.
    static std::vector<std::uint8_t> render(OutputRenderer& renderer, openmpt::module* module,
                                            std::size_t frames)
    {
        std::vector<std::uint8_t> bytes(frames * renderer.format().frameBytes(), 0x55);
        renderer.render(module, bytes.data(), frames);
        return bytes;
    }

    /// The left channel of 16-bit stereo bytes.
    static std::vector<int> left16(const std::vector<std::uint8_t>& bytes)
    {
        std::vector<int> samples(bytes.size() / 4);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            std::int16_t value;
            std::memcpy(&value, bytes.data() + 4 * i, sizeof value);
            samples[i] = value;
        }
        return samples;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<LoadedModule> m_loaded;
};

TEST_F(OutputRendererTest, WritesTheSilenceOfEachFormatWithoutModule)
{
    OutputRenderer unsigned8(*OutputFormat::fromMode(AudioLibrary::kMode8BitStereo, 22000), 256);
    EXPECT_EQ(render(unsigned8, nullptr, 1000), std::vector<std::uint8_t>(2000, 0x80));
    OutputRenderer signed16(*OutputFormat::fromMode(AudioLibrary::kMode16BitMono, 22000), 256);
    EXPECT_EQ(render(signed16, nullptr, 1000), std::vector<std::uint8_t>(2000, 0));
}

TEST_F(OutputRendererTest, VolumeChangesGlideInsteadOfJumping)
{
    // A square wave so slow that its first half lasts 245 ms: a steady level, on which every
    // change of gain shows directly. At 44100 Hz a full swing of the gain takes 441 frames.
    ModuleMaker::Song song = TestSongs::beatSong();
    song.samples[0] = {QStringLiteral("Level"), ModuleMaker::Waveform::Square, 4096, 4096, true, 0, 64, 128};
    const auto steady = loadModuleFile(TestSongs::write(song, ModuleMaker::Format::Xm, m_dir.path(),
                                                        QStringLiteral("steady")));
    ASSERT_TRUE(steady);
    OutputRenderer renderer(*OutputFormat::fromMode(AudioLibrary::kMode16BitStereo, 44100), 2048);
    std::vector<int> level = left16(render(renderer, steady->module.get(), 2205));
    renderer.setVolume(32);
    const auto half = left16(render(renderer, steady->module.get(), 2205));
    renderer.setVolume(0);
    const auto none = left16(render(renderer, steady->module.get(), 2205));
    level.insert(level.end(), half.begin(), half.end());
    level.insert(level.end(), none.begin(), none.end());

    const int full = level[2204];
    ASSERT_GT(full, 3000);
    EXPECT_LT(level[40], full / 5);  // sound after silence fades in
    for (std::size_t i = 1; i < 441; ++i)
        ASSERT_GE(level[i], level[i - 1]) << "frame " << i;
    for (std::size_t i = 441; i < level.size(); ++i)
        ASSERT_LE(std::abs(level[i] - level[i - 1]), full / 441 + 2) << "frame " << i;
    EXPECT_NEAR(level[2205 + 300], full / 2, 2);
    EXPECT_EQ(level[4410 + 300], 0);
    EXPECT_EQ(level.back(), 0);
}

TEST_F(OutputRendererTest, JumpsCrossfadeAcrossShortBuffersIntoEachOtherAndIntoSilence)
{
    // Buffers of 32 frames, a seventh of a crossfade at 44100 Hz, and each jump within the
    // crossfade of the one before. Every jump lands on the start of an order, where the tone
    // is struck anew from the start of its sine, away from where the tone was.
    const OutputFormat mono = *OutputFormat::fromMode(AudioLibrary::kMode16BitMono, 44100);
    const auto tone = loadModuleFile(TestSongs::write(TestSongs::steadyToneSong(), ModuleMaker::Format::Xm,
                                                      m_dir.path(), QStringLiteral("steady")));
    ASSERT_TRUE(tone);
    openmpt::module& module = *tone->module;
    OutputRenderer renderer(mono, 32);
    QByteArray heard;
    const auto play = [&](int buffers) {
        for (int i = 0; i < buffers; ++i) {
            const std::vector<std::uint8_t> bytes = render(renderer, &module, 32);
            heard.append(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
        }
    };
    play(100);
    const qsizetype steadyEnd = heard.size() / mono.frameBytes();
    for (int jump = 0; jump < 6; ++jump) {
        renderer.prepareJump(module);
        module.set_position_order_row(jump % 2, 0);
        play(jump % 3 + 2);
    }
    play(20);
    // To the end of a song that does not repeat: the tail fades out into the silence there.
    renderer.setRepeat(false);
    renderer.prepareJump(module);
    module.set_position_seconds(module.get_duration_seconds());
    play(10);
    EXPECT_TRUE(renderer.songEnded());
    const PcmOutput output(heard, mono);

    const int steady = output.largestStep(mono.rate / 50, steadyEnd, 0);  // after the fade-in
    ASSERT_GT(steady, 100);
    EXPECT_LE(output.largestStep(steadyEnd - 1, output.frameCount(), 0), steady * 3 / 2);
}

TEST_F(OutputRendererTest, AnEndedModuleLeavesSilenceUntilItsEndIsForgotten)
{
    OutputRenderer renderer(*OutputFormat::fromMode(AudioLibrary::kMode16BitMono, 22000), 1024);
    renderer.setRepeat(false);
    render(renderer, m_loaded->module.get(), 22000 * 5);  // the song lasts 5.76 s
    EXPECT_FALSE(renderer.songEnded());
    render(renderer, m_loaded->module.get(), 22000);
    EXPECT_TRUE(renderer.songEnded());
    EXPECT_EQ(render(renderer, m_loaded->module.get(), 5000), std::vector<std::uint8_t>(10000, 0));
    renderer.forgetSongEnd();  // the module goes on at its loop start
    EXPECT_NE(render(renderer, m_loaded->module.get(), 5000), std::vector<std::uint8_t>(10000, 0));
}

}  // namespace
