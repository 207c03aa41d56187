// The disc file: what is written, byte for byte, what is read back, and every file that is not
// a disc.
#include "DiscFixture.h"

#include "platform/TmpfsMount.h"

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kHeader = "[GeNeRaL]\r\nApp=Vorn Jukarium\r\nDesc=Jukarium Disc file\r\nVer=1.0\r\n"_ba;

class DiscFileTest : public DiscFixture {
protected:
    void TearDown() override { m_mount.reset(); }

    /// A volume of size mounted in the test's directory, or nullptr when mounting is not allowed.
    TmpfsMount* mount(const QString& size)
    {
        m_mount = std::make_unique<TmpfsMount>(path("volume"), size);
        return m_mount->isMounted() ? m_mount.get() : nullptr;
    }

    /// The disc is empty and shows so, after message 3000 about name.
    void expectRefused(const QString& name)
    {
        EXPECT_EQ(shownTexts(), QStringList{message(3000, name)});
        EXPECT_EQ(host.statusTexts.last(), "Cannot read \"" + name + "\"");
        EXPECT_EQ(disc.DiscFileName(), ClassDisc::kNoDiscLoaded);
        EXPECT_EQ(host.discCaption, "(no disc loaded)");
        for (int n = 1; n <= ClassDisc::kSlotCount; ++n)
            EXPECT_EQ(disc.SlotPath(n), " ") << n;
        EXPECT_FALSE(disc.Changed());
        EXPECT_FALSE(host.discFiles.contains("loaded " + name));
    }

    std::unique_ptr<TmpfsMount> m_mount;
};

TEST_F(DiscFileTest, NewFileHoldsEveryKeyInOrder)
{
    assign(3, "/music/FLY.MOD", "Fly away");
    ASSERT_TRUE(disc.SaveToFile(path("ROCK")));

    EXPECT_EQ(readBytes(path("ROCK.jkdc")),
              "[GeNeRaL]\r\nApp=Vorn Jukarium\r\nDesc=Jukarium Disc file\r\nVer=1.0\r\n"
              "\r\n[FiLeS]\r\n"
                             "1.File= \r\n1.Desc= \r\n"
                             "2.File= \r\n2.Desc= \r\n"
                             "3.File=/music/FLY.MOD\r\n3.Desc=Fly away\r\n"
                             "4.File= \r\n4.Desc= \r\n"
                             "5.File= \r\n5.Desc= \r\n"
                             "6.File= \r\n6.Desc= \r\n"
                             "7.File= \r\n7.Desc= \r\n"
                             "8.File= \r\n8.Desc= \r\n"
                             "9.File= \r\n9.Desc= \r\n"
                             "10.File= \r\n10.Desc= \r\n"
                             "11.File= \r\n11.Desc= \r\n"
                             "12.File= \r\n12.Desc= \r\n"
                             "13.File= \r\n13.Desc= \r\n"
                             "14.File= \r\n14.Desc= \r\n"
                             "15.File= \r\n15.Desc= \r\n"
                             "16.File= \r\n16.Desc= \r\n"
                             "17.File= \r\n17.Desc= \r\n"
                             "18.File= \r\n18.Desc= \r\n"
                             "19.File= \r\n19.Desc= \r\n"
                             "20.File= \r\n20.Desc= \r\n"
                             "\r\n[DiSCS]\r\nFirst=(no disc selected)\r\nSecond=(no disc selected)\r\n"_ba);
    EXPECT_EQ(disc.DiscFileName(), path("ROCK.jkdc"));
    EXPECT_FALSE(disc.Changed());
    EXPECT_EQ(host.statusTexts.last(), "Disc \"ROCK.jkdc\" sucessfully saved");
    EXPECT_EQ(host.discCaption, "(no disc loaded)");  // shown at the next refresh only
}

TEST_F(DiscFileTest, ASlotsSubsongIsKeptOnlyWhereItIsNotTheFirst)
{
    host.currentSubsong = 2;
    assign(5, "/music/GAME.MOD", "Game");
    EXPECT_EQ(host.hints.value(5), "Game (subsong 3)");
    host.currentSubsong = 0;
    assign(6, "/music/FLY.MOD", "Fly away");
    ASSERT_TRUE(disc.SaveToFile(path("GAME.jkdc")));
    const QByteArray saved = readBytes(path("GAME.jkdc"));
    EXPECT_TRUE(saved.contains("\r\n5.Desc=Game\r\n5.Subsong=3\r\n6.File="));
    EXPECT_EQ(saved.count("Subsong"), 1);

    disc.LoadFromFile(path("GAME.jkdc"));
    EXPECT_EQ(disc.SlotSubsong(5), 2);
    EXPECT_EQ(host.hints.value(5), "Game (subsong 3)");
    EXPECT_EQ(disc.SlotSubsong(6), 0);

    // Numbers that name no subsong read as the first, and go when the disc is saved; so does
    // the subsong of a slot given the first again.
    QByteArray damaged = saved;
    damaged.replace("5.Subsong=3", "5.Subsong=3x\r\n6.Subsong=0\r\n7.Subsong=2");
    ASSERT_TRUE(writeBytes(path("GAME.jkdc"), damaged));
    disc.LoadFromFile(path("GAME.jkdc"));
    for (int n : {5, 6, 7})
        EXPECT_EQ(disc.SlotSubsong(n), 0) << n;  // slot 7 holds no module
    EXPECT_EQ(host.hints.value(5), "Game");
    ASSERT_TRUE(disc.SaveToFile(path("GAME.jkdc")));
    EXPECT_EQ(readBytes(path("GAME.jkdc")).count("Subsong"), 0);
}

TEST_F(DiscFileTest, ExtensionIsAppendedUnlessItIsTheDiscExtension)
{
    const QList<std::pair<QString, QString>> cases = {
        {"ROCK.txt", "ROCK.txt.jkdc"}, {"ROCK.JkDc", "ROCK.JkDc"}, {"my.discs/ROCK", "my.discs/ROCK.jkdc"}};
    ASSERT_TRUE(QDir().mkpath(path("my.discs")));
    for (const auto& [given, written] : cases) {
        ASSERT_TRUE(disc.SaveToFile(path(given))) << given.toStdString();
        EXPECT_EQ(disc.DiscFileName(), path(written));
        EXPECT_TRUE(QFileInfo(path(written)).isFile()) << written.toStdString();
    }
}

TEST_F(DiscFileTest, SavedDiscLoadsBackWithItsSlotsAndButtons)
{
    assign(1, "/music/FLY.MOD", "Fly away");
    assign(20, "SUN.XM", "Sun");
    disc.ShowDiscButtonMenu(1, 0, 0);
    host.openDialogAnswer = "/discs/JAZZ.jkdc";
    boxes.answers = {Button::No};
    disc.BrowseDiscButton();
    ASSERT_TRUE(disc.SaveToFile(path("ROCK.jkdc")));
    disc.NewDisc();
    boxes.shown.clear();
    host.hints.clear();
    host.assignedColour.clear();

    disc.LoadFromFile(path("ROCK.jkdc"));
    EXPECT_EQ(disc.SlotPath(1), "/music/FLY.MOD");
    EXPECT_EQ(disc.SlotTitle(1), "Fly away");
    EXPECT_EQ(disc.SlotPath(20), "SUN.XM");
    EXPECT_EQ(host.hints.value(20), "Sun");
    EXPECT_TRUE(host.assignedColour.value(20));
    EXPECT_EQ(disc.SlotPath(2), "");  // a blank in the file reads as empty
    EXPECT_EQ(host.hints.value(2), "");
    EXPECT_FALSE(host.assignedColour.value(2));
    EXPECT_EQ(disc.DiscButtonPath(1), "/discs/JAZZ.jkdc");
    EXPECT_EQ(disc.DiscButtonPath(2), ClassDisc::kNoDiscSelected);
    EXPECT_EQ(host.buttonCaptions.value(1), "JAZZ.jkdc");
    EXPECT_EQ(host.discCaption, "ROCK.jkdc");
    EXPECT_FALSE(disc.Changed());
    EXPECT_EQ(host.statusTexts.last(), "Disc \"ROCK.jkdc\" succesfully loaded");
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// Module titles and file names may begin or end with blanks or stand in quotes, all of which
// reading a profile value takes off: they are saved so that they load back as they were.
TEST_F(DiscFileTest, TitlesAndPathsWithBlanksOrQuotesAtTheirEndsLoadBackAsTheyWere)
{
    const QList<std::pair<QString, QString>> held = {
        {"/music/ends in a blank.mod ", "  Padded  "}, {" starts with a blank.xm", "\"Quoted\""},
        {"'quoted name.s3m'", "'single'"}, {"/music/\"odd.it", "\t"}, {"/music/a\"b\".mod", "x\"y\""}};
    for (int n = 1; n <= held.size(); ++n)
        assign(n, held[n - 1].first, held[n - 1].second);
    ASSERT_TRUE(disc.SaveToFile(path("ROCK.jkdc")));
    disc.NewDisc();

    disc.LoadFromFile(path("ROCK.jkdc"));
    for (int n = 1; n <= held.size(); ++n) {
        EXPECT_EQ(disc.SlotPath(n), held[n - 1].first) << n;
        EXPECT_EQ(disc.SlotTitle(n), held[n - 1].second) << n;
    }
}

TEST_F(DiscFileTest, SavingOverADiscKeepsForeignLines)
{
    writeBytes(path("ROCK.jkdc"), "; made by hand\r\n" + kHeader + "Owner=me\r\n[FiLeS]\r\n3.File=old\r\n"
                                  "3.Note=keep\r\n[Extra]\r\nx=1\r\n"_ba);
    assign(3, "/music/FLY.MOD", "Fly away");
    ASSERT_TRUE(disc.SaveToFile(path("ROCK.jkdc")));

    const QByteArray bytes = readBytes(path("ROCK.jkdc"));
    EXPECT_TRUE(bytes.startsWith("; made by hand\r\n[GeNeRaL]\r\n"));
    EXPECT_TRUE(bytes.contains("Ver=1.0\r\nOwner=me\r\n"));
    EXPECT_TRUE(bytes.contains("[FiLeS]\r\n3.File=/music/FLY.MOD\r\n3.Note=keep\r\n"));
    EXPECT_TRUE(bytes.contains("[Extra]\r\nx=1\r\n"));
    EXPECT_FALSE(bytes.contains("old"));
    disc.LoadFromFile(path("ROCK.jkdc"));
    EXPECT_EQ(disc.SlotTitle(3), "Fly away");
}

TEST_F(DiscFileTest, FailedLoadOfASecondDiscLeavesTheDiscEmpty)
{
    assign(1, "/music/FLY.MOD");
    ASSERT_TRUE(disc.SaveToFile(path("ROCK.jkdc")));
    disc.LoadFromFile(path("ROCK.jkdc"));
    writeBytes(path("BAD.jkdc"), "[GeNeRaL]\r\nApp=Vorn Jukarium\r\nDesc=Jukarium disc file\r\n");

    disc.LoadFromFile(path("BAD.jkdc"));
    expectRefused(path("BAD.jkdc"));
    EXPECT_FALSE(host.assignedColour.value(1));
}

TEST_F(DiscFileTest, MissingDiscsSectionGivesEmptyButtonPaths)
{
    writeBytes(path("ROCK.jkdc"), kHeader + "[FiLeS]\r\n1.File=/music/FLY.MOD\r\n");
    disc.LoadFromFile(path("ROCK.jkdc"));
    EXPECT_EQ(disc.SlotPath(1), "/music/FLY.MOD");
    EXPECT_EQ(disc.DiscButtonPath(1), "");
    EXPECT_EQ(disc.DiscButtonPath(2), "");
    EXPECT_EQ(host.buttonCaptions.value(1, "unset"), "");
    EXPECT_EQ(host.buttonCaptions.value(2, "unset"), "");

    ASSERT_TRUE(disc.SaveToFile(path("ROCK.jkdc")));
    EXPECT_TRUE(readBytes(path("ROCK.jkdc")).endsWith("[DiSCS]\r\nFirst=\r\nSecond=\r\n"));
}

TEST_F(DiscFileTest, SlotKeysMissingReorderedOrRepeatedLoadWhatIsThere)
{
    writeBytes(path("ROCK.jkdc"), kHeader + "[files]\r\n5.Desc= 'Five' \r\n5.File = \"/m/FIVE.MOD\"\r\n"
                                  "2.FILE=/m/TWO.MOD\r\n2.File=/m/AGAIN.MOD\r\n21.File=/m/OUT.MOD\r\n"
                                  "x\r\n\r\n=\r\n");
    disc.LoadFromFile(path("ROCK.jkdc"));
    EXPECT_EQ(disc.SlotPath(5), "/m/FIVE.MOD");
    EXPECT_EQ(disc.SlotTitle(5), "Five");
    EXPECT_EQ(disc.SlotPath(2), "/m/TWO.MOD");
    EXPECT_EQ(disc.SlotTitle(2), "");
    EXPECT_EQ(disc.SlotPath(1), "");
    EXPECT_EQ(disc.DiscFileName(), path("ROCK.jkdc"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(DiscFileTest, OverlongValueIsCutTo1023Characters)
{
    writeBytes(path("ROCK.jkdc"), kHeader + "[FiLeS]\r\n1.File=/m/A.MOD\r\n1.Desc="
                                  + QByteArray(10 * 1024 * 1024, 'z') + "\r\n");
    disc.LoadFromFile(path("ROCK.jkdc"));
    EXPECT_EQ(disc.SlotTitle(1), QString(1023, u'z'));
    EXPECT_EQ(disc.SlotPath(1), "/m/A.MOD");
}

TEST_F(DiscFileTest, FilesThatAreNoDiscAreRefused)
{
    const QList<std::pair<const char*, QByteArray>> files = {
        {"app in other case", "[GeNeRaL]\r\nApp=vorn jukarium\r\nDesc=Jukarium Disc file\r\n"_ba},
        {"no desc", "[GeNeRaL]\r\nApp=Vorn Jukarium\r\n"_ba},
        {"no sections", "App=Vorn Jukarium\r\nDesc=Jukarium Disc file\r\n"_ba},
        {"empty", ""_ba},
        {"random bytes", randomBytes()},
        {"binary zeros", QByteArray(4096, '\0')},
        {"one 10 MB line", QByteArray(10 * 1024 * 1024, 'q')},
    };
    for (const auto& [label, bytes] : files) {
        SCOPED_TRACE(label);
        boxes.shown.clear();
        ASSERT_TRUE(writeBytes(path("BAD.jkdc"), bytes));
        disc.LoadFromFile(path("BAD.jkdc"));
        expectRefused(path("BAD.jkdc"));
    }
}

TEST_F(DiscFileTest, MissingFileOrDirectoryIsRefused)
{
    disc.LoadFromFile(path("NONE.jkdc"));
    expectRefused(path("NONE.jkdc"));

    boxes.shown.clear();
    ASSERT_TRUE(QDir().mkpath(path("FOLDER.jkdc")));
    disc.LoadFromFile(path("FOLDER.jkdc"));
    expectRefused(path("FOLDER.jkdc"));

    boxes.shown.clear();
    assign(1, "/music/FLY.MOD");
    EXPECT_FALSE(disc.SaveToFile(path("FOLDER.jkdc")));
    EXPECT_EQ(shownTexts(), QStringList{message(3100, path("FOLDER.jkdc"))});
}

/// A failed save shows 3100, leaves the old file as it was and the disc unsaved.
class FailedSaveTest : public DiscFileTest {
protected:
    /// Saves a disc and changes it to one of about newSize bytes.
    void saveOldDisc(int newSize = 20000)
    {
        assign(1, "/music/FLY.MOD", "Fly away");
        ASSERT_TRUE(disc.SaveToFile(path("volume/ROCK.jkdc")));
        m_oldBytes = readBytes(path("volume/ROCK.jkdc"));
        const int slotSize = newSize / ClassDisc::kSlotCount;
        for (int n = 1; n <= ClassDisc::kSlotCount; ++n)
            assign(n, "/music/" + QString(slotSize / 5, u'n') + ".MOD", QString(slotSize * 4 / 5, u't'));
    }

    void expectSaveFails()
    {
        host.discFiles.clear();
        disc.SaveDisc();
        EXPECT_TRUE(host.discFiles.isEmpty());  // never announced as saved
        EXPECT_EQ(shownTexts(), QStringList{message(3100, path("volume/ROCK.jkdc"))});
        EXPECT_EQ(readBytes(path("volume/ROCK.jkdc")), m_oldBytes);
        EXPECT_TRUE(disc.Changed());
        EXPECT_EQ(disc.DiscFileName(), path("volume/ROCK.jkdc"));
        EXPECT_EQ(QDir(path("volume")).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                  QStringList{"ROCK.jkdc"} + m_otherFiles);
    }

    QByteArray m_oldBytes;
    QStringList m_otherFiles;
};

TEST_F(FailedSaveTest, ReadOnlyFolder)
{
    TmpfsMount* volume = mount("1m");
    if (!volume)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    saveOldDisc();
    ASSERT_TRUE(volume->makeReadOnly());
    expectSaveFails();
}

// A small disc fits in a write buffer, where a full volume shows only when it is flushed.
class FullVolumeSaveTest : public FailedSaveTest, public ::testing::WithParamInterface<int> {};

TEST_P(FullVolumeSaveTest, KeepsTheOldFile)
{
    if (!mount("64k"))
        GTEST_SKIP() << "cannot mount a tmpfs here";
    saveOldDisc(GetParam());
    QFile filler(path("volume/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, 'f')) == 4096) {
    }
    filler.close();
    m_otherFiles = {"filler"};
    expectSaveFails();
}

INSTANTIATE_TEST_SUITE_P(DiscSizes, FullVolumeSaveTest, ::testing::Values(1300, 20000));

}  // namespace
