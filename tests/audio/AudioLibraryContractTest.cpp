// The edge cases every audio library shares, checked once against the real library and the
// recording one the player's tests rely on: a fake that answered otherwise would let those
// tests pass on behaviour the real library never shows.
#include "support/RecordingAudioLibrary.h"
#include "support/TestSongs.h"
#include "platform/audio/OpenMptSdlAudio.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

template <typename Library>
class AudioLibraryContractTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::Xm, m_dir.path(), "tone");
        if constexpr (std::is_same_v<Library, RecordingAudioLibrary>) {
            m_library.addLoadablePath(m_path);
            m_library.setModuleInfo(RecordingAudioLibrary::makeModuleInfo("Tone", 6, 4, 3, 4));
            m_library.setInstrumentNames({"Square Lead", "Saw Bass", "Sine Pad"});
            m_library.setModuleDetails({6.0, "message", "artist", {}, 0});
        }
        m_library.startup();
        ASSERT_TRUE(m_library.init());
        m_library.startBackgroundPlay(0);
    }

    static bool isEmpty(const ModuleInfo& info)
    {
        return info.songLength == 0 && info.patternCount == 0 && info.instrumentCount == 0
               && info.channelCount == 0 && info.songName == std::array<char, 32>{};
    }
    static bool isEmpty(const InstrumentInfo& info) { return info.name == std::array<char, 32>{}; }
    static bool isEmpty(const ModuleDetails& details)
    {
        return details.durationSeconds == 0 && details.message.isEmpty() && details.artist.isEmpty()
               && details.subsongs.isEmpty();
    }

    /// Every record about handle comes back empty, and commands with it change nothing.
    void expectUnknown(ModuleHandle handle)
    {
        ModuleInfo info;
        info.songLength = 99;
        m_library.getModuleInfo(handle, &info);
        EXPECT_TRUE(isEmpty(info)) << handle;
        InstrumentInfo instrument;
        instrument.name[0] = 'x';
        m_library.getInstrumentInfo(handle, 0, &instrument);
        EXPECT_TRUE(isEmpty(instrument)) << handle;
        ModuleDetails details{1.0, "x", "y", {}, 0};
        m_library.getModuleDetails(handle, &details);
        EXPECT_TRUE(isEmpty(details)) << handle;
        m_library.setModuleGain(handle, 6.0);
        m_library.playModule(handle, 0);
        m_library.stopModule(handle);
        m_library.freeModule(handle);
        expectNothingPlayed();
    }

    void expectNothingPlayed()
    {
        PlayStatus status{9, 9, 9, 9};
        m_library.setPosition(2);
        m_library.setPlayTime(3.0);
        m_library.getPlayStatus(&status);
        EXPECT_EQ(status.position + status.pattern + status.row + status.syncInfo, 0u);
        EXPECT_EQ(m_library.getPlayTime(), 0);
    }

    QTemporaryDir m_dir;
    QString m_path;
    Library m_library;
};

using Libraries = ::testing::Types<OpenMptSdlAudio, RecordingAudioLibrary>;
TYPED_TEST_SUITE(AudioLibraryContractTest, Libraries);

TYPED_TEST(AudioLibraryContractTest, ZeroFreedAndClosedHandlesAreUnknown)
{
    auto& library = this->m_library;
    this->expectUnknown(0);

    const ModuleHandle freed = library.loadModule(this->m_path);
    ASSERT_NE(freed, 0u);
    library.playModule(freed, 0);
    library.freeModule(freed);
    this->expectUnknown(freed);

    const ModuleHandle closed = library.loadModule(this->m_path);
    ASSERT_NE(closed, 0u);
    library.close();
    this->expectUnknown(closed);
}

TYPED_TEST(AudioLibraryContractTest, LoadedModuleAnswersWithinItsInstrumentsAndOnlyOncePlayed)
{
    auto& library = this->m_library;
    const ModuleHandle module = library.loadModule(this->m_path);
    ASSERT_NE(module, 0u);
    this->expectNothingPlayed();  // loaded, not yet played

    ModuleInfo info;
    library.getModuleInfo(module, &info);
    ASSERT_EQ(info.instrumentCount, 3u);
    InstrumentInfo instrument;
    library.getInstrumentInfo(module, 2, &instrument);
    EXPECT_EQ(NameText(instrument.name), "Sine Pad");
    for (int outside : {-1, 3, 1000}) {
        instrument.name[0] = 'x';
        library.getInstrumentInfo(module, outside, &instrument);
        EXPECT_TRUE(this->isEmpty(instrument)) << outside;
    }

    library.getModuleInfo(module, nullptr);
    library.getInstrumentInfo(module, 0, nullptr);
    library.getModuleDetails(module, nullptr);
    library.getPlayStatus(nullptr);

    library.playModule(module, 0);
    library.setPosition(2);
    PlayStatus status;
    library.getPlayStatus(&status);
    EXPECT_EQ(status.position, 2u);
}

TYPED_TEST(AudioLibraryContractTest, AFailedLoadTellsWhyUntilALoadWorks)
{
    auto& library = this->m_library;
    QByteArray garbage(4096, '\0');
    for (qsizetype at = 0; at < garbage.size(); ++at)
        garbage[at] = char(at * 37 + 11);
    const QString corrupt = this->m_dir.filePath(QStringLiteral("corrupt.xm"));
    {
        QFile file(corrupt);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(garbage), garbage.size());
    }
    ASSERT_EQ(library.loadModule(corrupt), 0u);
    EXPECT_FALSE(library.loadError().isEmpty());
    EXPECT_EQ(library.loadModule(this->m_dir.filePath(QStringLiteral("missing.xm"))), 0u);
    EXPECT_FALSE(library.loadError().isEmpty());

    ASSERT_NE(library.loadModule(this->m_path), 0u);
    EXPECT_EQ(library.loadError(), QString());
}

}  // namespace

TYPED_TEST(AudioLibraryContractTest, SubsongsAreListedAndSelectedForEachModule)
{
    auto& library = this->m_library;
    // Three songs in one order list, each ended by an end-of-song mark.
    ModuleMaker::Song song = TestSongs::toneSong();
    song.orders = {0, ModuleMaker::kSongEnd, 1, 2, ModuleMaker::kSongEnd, 3};
    const QString path = TestSongs::write(song, ModuleMaker::Format::It, this->m_dir.path(), "three songs");
    if constexpr (std::is_same_v<TypeParam, RecordingAudioLibrary>) {
        library.addLoadablePath(path);
        library.setModuleDetails({0.96, "", "", {{"", 0.96, 0, 1}, {"", 1.92, 2, 4}, {"", 0.96, 5, 6}}, 0});
    }
    const ModuleHandle module = library.loadModule(path);
    ASSERT_NE(module, 0u);
    ModuleDetails details;
    library.getModuleDetails(module, &details);
    ASSERT_EQ(details.subsongs.size(), 3);
    EXPECT_EQ(details.subsong, 0);
    EXPECT_NEAR(details.subsongs[1].seconds, 2 * details.subsongs[0].seconds, 0.01);
    EXPECT_EQ(details.durationSeconds, details.subsongs[0].seconds);
    // Each holds the orders between the marks that end the songs.
    EXPECT_EQ(details.subsongs[0].endOrder, 1);
    EXPECT_EQ(details.subsongs[1].firstOrder, 2);
    EXPECT_EQ(details.subsongs[1].endOrder, 4);
    EXPECT_EQ(details.subsongs[2].firstOrder, 5);
    EXPECT_EQ(details.subsongs[2].endOrder, 6);

    // Chosen before it plays, a subsong is where playing begins.
    library.selectSubsong(module, 2);
    for (int outside : {-1, 3})
        library.selectSubsong(module, outside);
    library.playModule(module, 0);
    library.getModuleDetails(module, &details);
    EXPECT_EQ(details.subsong, 2);
    EXPECT_EQ(details.durationSeconds, details.subsongs[2].seconds);
    library.selectSubsong(module, 1);
    library.getModuleDetails(module, &details);
    EXPECT_EQ(details.subsong, 1);
    EXPECT_EQ(details.durationSeconds, details.subsongs[1].seconds);
    EXPECT_LT(library.getPlayTime(), 0.5);  // from its start

    // Another module starts at its first song.
    const ModuleHandle other = library.loadModule(path);
    library.playModule(other, 0);
    library.getModuleDetails(other, &details);
    EXPECT_EQ(details.subsong, 0);
}
