// Loading modules and reading what the library tells about them.
#include "support/TestSongs.h"
#include "platform/audio/ModuleFile.h"
#include "platform/audio/OpenMptSdlAudio.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using ModuleMaker::Format;

namespace {

std::string text(const std::array<char, 32>& fixed)
{
    return std::string(fixed.data(), strnlen(fixed.data(), fixed.size()));
}

struct FormatCase {
    Format format;
    quint32 instrumentCount;  // MOD has 31 sample slots
};

class ModuleLoadingTest : public ::testing::TestWithParam<FormatCase> {
protected:
    void SetUp() override
    {
        m_path = TestSongs::write(TestSongs::toneSong(), GetParam().format, m_dir.path(),
                                  QStringLiteral("tone"));
        ASSERT_FALSE(m_path.isEmpty());
    }

    QTemporaryDir m_dir;
    QString m_path;
    OpenMptSdlAudio m_audio;  // no output opened: loading does not need one
};

TEST_P(ModuleLoadingTest, TellsTheCountsAndNamesOfTheModule)
{
    const ModuleHandle module = m_audio.loadModule(m_path);
    ASSERT_NE(module, 0u);

    ModuleInfo info;
    m_audio.getModuleInfo(module, &info);
    EXPECT_EQ(text(info.songName), TestSongs::kToneSongName);
    EXPECT_EQ(info.songLength, quint32(TestSongs::kToneSongOrders));
    EXPECT_EQ(info.patternCount, quint32(TestSongs::kToneSongPatterns));
    EXPECT_EQ(info.instrumentCount, GetParam().instrumentCount);
    EXPECT_EQ(info.channelCount, quint32(TestSongs::kToneSongChannels));

    const char* names[] = {"Square Lead", "Saw Bass", "Sine Pad", ""};
    for (int index = 0; index < 4; ++index) {
        InstrumentInfo instrument;
        instrument.name.fill('x');
        m_audio.getInstrumentInfo(module, index, &instrument);
        EXPECT_EQ(text(instrument.name), names[index]) << index;
    }
}

TEST_P(ModuleLoadingTest, GivesEachLoadItsOwnHandleAndIgnoresStaleOnes)
{
    const ModuleHandle first = m_audio.loadModule(m_path);
    const ModuleHandle second = m_audio.loadModule(m_path);
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_NE(first, second);

    m_audio.playModule(first, 0);
    m_audio.setPosition(2);
    m_audio.freeModule(first);
    for (ModuleHandle stale : {first, ModuleHandle(0), second + 1000}) {
        m_audio.playModule(stale, 0);
        m_audio.stopModule(stale);
        m_audio.freeModule(stale);
        ModuleInfo info;
        info.songLength = 99;
        m_audio.getModuleInfo(stale, &info);
        EXPECT_EQ(info.songLength, 0u);
        InstrumentInfo instrument;
        instrument.name.fill('x');
        m_audio.getInstrumentInfo(stale, 0, &instrument);
        EXPECT_EQ(text(instrument.name), "");
    }
    PlayStatus status;
    status.position = 99;
    m_audio.getPlayStatus(&status);
    EXPECT_EQ(status.position, 0u);  // the freed module played; nothing plays now

    ModuleInfo info;
    m_audio.getModuleInfo(second, &info);
    EXPECT_EQ(info.songLength, quint32(TestSongs::kToneSongOrders));
    m_audio.playModule(second, 0);
    m_audio.setPosition(3);
    m_audio.getPlayStatus(&status);
    EXPECT_EQ(status.position, 3u);
}

TEST_P(ModuleLoadingTest, CloseFreesEveryModule)
{
    const ModuleHandle module = m_audio.loadModule(m_path);
    ASSERT_NE(module, 0u);
    m_audio.close();
    ModuleInfo info;
    m_audio.getModuleInfo(module, &info);
    EXPECT_EQ(info.songLength, 0u);
    EXPECT_NE(m_audio.loadModule(m_path), module);
}

INSTANTIATE_TEST_SUITE_P(Formats, ModuleLoadingTest,
                         ::testing::Values(FormatCase{Format::Mod, 31}, FormatCase{Format::S3m, 3},
                                           FormatCase{Format::Xm, 3}),
                         [](const auto& info) { return ModuleMaker::extension(info.param.format).toStdString(); });

TEST(FixedTextTest, CutsTo32BytesOnACharacterBoundaryAndPadsWithNul)
{
    EXPECT_EQ(text(fixedText("")), "");
    EXPECT_EQ(text(fixedText("Song")), "Song");
    const std::string exact(32, 'a');
    const auto full = fixedText(exact);
    EXPECT_EQ(std::string(full.data(), 32), exact);  // all 32 used, no NUL
    EXPECT_EQ(text(fixedText(exact + "bc")), exact);
    // "ä" takes two bytes; the 16th would end at byte 33 and is left out whole.
    std::string umlauts = "x";
    for (int i = 0; i < 16; ++i)
        umlauts += "\xC3\xA4";
    EXPECT_EQ(text(fixedText(umlauts)), umlauts.substr(0, 31));
    EXPECT_EQ(fixedText(umlauts)[31], '\0');
}

}  // namespace
