#include "platform/audio/OpenMptSdlAudio.h"
#include "playback/ClassModPlayer.h"
#include "playback/ModuleDescriptions.h"

#include "support/TestSongs.h"

#include "PlayerFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray numberedLines(int count)
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += "line " + QByteArray::number(i) + "\r\n";
    return text;
}

}  // namespace

TEST(ModuleDescriptions, BasePathDropsTheExtensionOfTheName)
{
    using ModuleDescriptions::BasePath;
    EXPECT_EQ(BasePath("/mods/SONG.XM"), "/mods/SONG");
    EXPECT_EQ(BasePath("/mods/A.B.MOD"), "/mods/A.B");
    EXPECT_EQ(BasePath("/mods/SONG"), "/mods/SONG");
    EXPECT_EQ(BasePath("/mo.ds/SONG"), "/mo.ds/SONG");
    EXPECT_EQ(BasePath("/mods/"), "/mods/");
}

class DescriptionFileTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.path() + "/" + name; }
    QTemporaryDir dir;
};

TEST_F(DescriptionFileTest, TwoHundredLinesAtMost)
{
    writeFile(path("200.txt"), numberedLines(200));
    writeFile(path("201.txt"), numberedLines(201));
    const QStringList whole = ModuleDescriptions::ReadTextFile(path("200.txt")).split("\r\n");
    EXPECT_EQ(whole.size(), 200);
    EXPECT_EQ(whole.last(), "line 200");
    const QStringList cut = ModuleDescriptions::ReadTextFile(path("201.txt")).split("\r\n");
    EXPECT_EQ(cut.size(), 201);
    EXPECT_EQ(cut.at(199), "line 200");
    EXPECT_EQ(cut.last(), "...File truncated...");
}

TEST_F(DescriptionFileTest, DosTextIsDecodedAndEndsCleanly)
{
    // A box of code page 437 characters, LF and CR LF line ends, then Ctrl-Z and metadata.
    writeFile(path("box.diz"), "\xC9\xCD\xBB\r\n\xBA\x81\xBA\n\xC8\xCD\xBC\r\n\x1ASAUCE00 garbage");
    EXPECT_EQ(ModuleDescriptions::ReadTextFile(path("box.diz")), "╔═╗\r\n║ü║\r\n╚═╝");
    writeFile(path("empty.diz"), "");
    EXPECT_EQ(ModuleDescriptions::ReadTextFile(path("empty.diz")), "");
    EXPECT_EQ(ModuleDescriptions::ReadTextFile(path("gone.diz")),
              "Can't find file \"" + path("gone.diz") + "\"");
    QDir(dir.path()).mkdir("folder.diz");
    EXPECT_EQ(ModuleDescriptions::ReadTextFile(path("folder.diz")), "Error while reading file..");
}

TEST_F(DescriptionFileTest, NamesAreFoundWhateverTheirCase)
{
    writeFile(path("Song.mdz"), "x");
    EXPECT_EQ(ModuleDescriptions::FindIgnoringCase(path("SONG.MDZ")), path("Song.mdz"));
    EXPECT_EQ(ModuleDescriptions::FindIgnoringCase(path("FILE_ID.DIZ")), "");
}

class ModuleInformationTest : public PlayerFixture {
protected:
    ModuleInformationTest()
    {
        modulePath = dir.path() + "/SONG.XM";
        library.addLoadablePath(modulePath);
    }

    void load(quint32 instruments)
    {
        library.setModuleInfo(RecordingAudioLibrary::makeModuleInfo("Song", 2, 2, instruments, 4));
        player.LoadModule(modulePath);
    }

    QString modulePath;
};

TEST_F(ModuleInformationTest, InstrumentsOnly)
{
    library.setInstrumentNames({"  Bass drum ", "\tSnare\x01", "   "});
    load(3);
    player.ToggleInfos();
    EXPECT_EQ(host.infoLines, QStringList({"-=] Instruments [=-", "001: Bass drum", "002: Snare",
                                           "003: ", "[-=end=-]"}));
    EXPECT_EQ(host.statusTexts.last(), "Displaying infos");
    EXPECT_TRUE(host.infoVisible);
    EXPECT_TRUE(player.InfosShown());
    player.ToggleInfos();
    EXPECT_EQ(host.statusTexts.last(), "Infos closed");
    EXPECT_FALSE(host.infoVisible);
}

TEST_F(ModuleInformationTest, DescriptionFileOfTheDirectoryAlone)
{
    writeFile(dir.path() + "/file_id.diz", "Greetings\r\n");
    load(0);
    player.ToggleInfos();
    EXPECT_EQ(host.infoLines, QStringList({"-=] FILE_ID.DIZ [=-", "Greetings", "[-=end=-]"}));
}

TEST_F(ModuleInformationTest, ThreeSectionsApartByOneBlank)
{
    library.setInstrumentNames({"Lead"});
    writeFile(dir.path() + "/song.mdz", "About the song");
    writeFile(dir.path() + "/FILE_ID.DIZ", "");
    load(1);
    player.ToggleInfos();
    EXPECT_EQ(host.infoLines,
              QStringList({"-=] Instruments [=-", "001: Lead", "[-=end=-]", " ", "-=] MDZ file [=-",
                           "About the song", "[-=end=-]", " ", "-=] FILE_ID.DIZ [=-", "",
                           "[-=end=-]"}));
}

TEST_F(ModuleInformationTest, SongMessageFollowsTheInstrumentsWhateverItsLineEnds)
{
    library.setInstrumentNames({"Lead"});
    library.setModuleDetails({0, "DOS\r\nMac\rUnix\n\n  indented  \r\n\r\n", "", {}, 0});
    writeFile(dir.path() + "/SONG.MDZ", "About the song");
    load(1);
    player.ToggleInfos();
    EXPECT_EQ(host.infoLines,
              QStringList({"-=] Instruments [=-", "001: Lead", "[-=end=-]", " ",
                           "-=] Song message [=-", "DOS", "Mac", "Unix", "", "  indented",
                           "[-=end=-]", " ", "-=] MDZ file [=-", "About the song", "[-=end=-]"}));

    library.setModuleDetails({0, "Only a message", "", {}, 0});
    load(0);
    EXPECT_EQ(host.infoLines, QStringList({"-=] Song message [=-", "Only a message", "[-=end=-]",
                                           " ", "-=] MDZ file [=-", "About the song",
                                           "[-=end=-]"}));
}

TEST_F(ModuleInformationTest, AModuleOfSeveralSongsNamesThemFirst)
{
    library.setInstrumentNames({"Lead"});
    library.setModuleDetails({5.2, "", "", {{"Level & Boss", 5.2}, {"", 88.0}, {"Jingle", 3723.0}}, 0});
    load(1);
    player.ToggleInfos();
    EXPECT_EQ(host.infoLines,
              QStringList({"-=] 3 subsongs [=-", "1: Level & Boss (0:00:05)", "2 (0:01:28)",
                           "3: Jingle (1:02:03)", "[-=end=-]", " ", "-=] Instruments [=-", "001: Lead",
                           "[-=end=-]"}));
}

TEST_F(ModuleInformationTest, NothingToShowIsReported)
{
    load(0);
    player.ToggleInfos();
    EXPECT_EQ(host.statusTexts.last(), "No infos found");
    EXPECT_FALSE(host.infoVisible);
    EXPECT_FALSE(player.InfosShown());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].request.text,
              "Unable to display Information about \"" + modulePath +
                  "\". I can't list any instruments or find a MDZ/FILE_ID.DIZ file.");
}

TEST_F(ModuleInformationTest, ThousandsOfInstrumentsGetFourDigits)
{
    load(1000);
    player.ToggleInfos();
    EXPECT_EQ(host.infoLines.at(1000), "1000: ");
}

TEST_F(ModuleInformationTest, OpenViewFollowsLoadsAndClosesOnAFailedOne)
{
    load(1);
    player.ToggleInfos();
    const QString other = dir.path() + "/other.mod";
    library.addLoadablePath(other);
    library.setModuleInfo(RecordingAudioLibrary::makeModuleInfo("Other", 2, 2, 2, 4));
    player.LoadModule(other);
    EXPECT_EQ(host.infoLines.size(), 4);  // refilled for the new module
    player.LoadModule(dir.path() + "/broken.mod");
    EXPECT_FALSE(player.InfosShown());
    EXPECT_FALSE(host.infoVisible);
    EXPECT_TRUE(host.statusTexts.contains("Infos closed"));
}

// The player on the real audio library, with modules made by the module maker.
class RealLibraryInformationTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Registry registry{dir.path() + "/registry"};
    ClassOptions options{registry};
    OpenMptSdlAudio library;
    FakePlayerHost host;
    ScriptedMessageBoxes boxes;
    ClassModPlayer player{library, options, host, [](int, const std::function<void()>& step) { step(); }};
};

TEST_F(RealLibraryInformationTest, ImpulseTrackerModulesShowTheirInstrumentsAndSongMessage)
{
    ModuleMaker::Song song = TestSongs::toneSong();
    song.message = "Made for the jukebox\n\n  by its own maker";
    const QString module = TestSongs::write(song, ModuleMaker::Format::It, dir.path(), "Song");
    player.LoadModule(module);
    ASSERT_EQ(host.modulePath, module);
    player.ToggleInfos();
    const QStringList instruments = {"-=] Instruments [=-", "001: Square Lead", "002: Saw Bass",
                                     "003: Sine Pad", "[-=end=-]"};
    EXPECT_EQ(host.infoLines, instruments + QStringList({" ", "-=] Song message [=-",
                                                         "Made for the jukebox", "",
                                                         "  by its own maker", "[-=end=-]"}));

    // libopenmpt's stand-in for a missing message, the list of names, is no message.
    player.LoadModule(TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::It,
                                       dir.path(), "Plain"));
    EXPECT_EQ(host.infoLines, instruments);

    const QString notAModule = dir.path() + "/language.It";
    writeFile(notAModule, "Deutsch\r\nEnglish\r\n");
    player.LoadModule(notAModule);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].request.text.startsWith(
        "Load Error! Can't read module \"" + notAModule + "\"."));
    EXPECT_EQ(host.modulePath, " ");
    EXPECT_FALSE(player.InfosShown());
}
