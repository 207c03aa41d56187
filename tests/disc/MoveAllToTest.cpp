// Moving a disc with its modules: the checks before anything is copied, the undo of a failed
// copy, and a disc that plays from its new place.
#include "DiscFixture.h"

#include "platform/FileCopy.h"
#include "platform/TmpfsMount.h"

#include <memory>

namespace {

class MoveAllToTest : public DiscFixture {
protected:
    void TearDown() override { m_mount.reset(); }

    /// Slots 2 and 5 hold modules in two directories; the disc is saved in a third. Slot 1 is
    /// empty.
    void makeSavedDisc()
    {
        assign(2, module("mods/FLY.MOD", 3000), "Fly away");
        assign(5, module("more/sun.xm", 5000), "Sun");
        ASSERT_TRUE(QDir().mkpath(path("discs")));
        ASSERT_TRUE(disc.SaveToFile(path("discs/ROCK.jkdc")));
        ASSERT_TRUE(QDir().mkpath(path("target")));
        host.directoryAnswer = path("target/");
        host.statusTexts.clear();
    }

    /// The files of a directory, hidden ones too.
    QStringList filesIn(const QString& relative) const
    {
        return QDir(path(relative)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    /// Nothing moved: the sources and the disc file are where they were, the disc unchanged.
    void expectNothingMoved()
    {
        EXPECT_EQ(readBytes(path("mods/FLY.MOD")), QByteArray(3000, 'M'));
        EXPECT_EQ(readBytes(path("more/sun.xm")), QByteArray(5000, 'M'));
        EXPECT_TRUE(QFileInfo::exists(path("discs/ROCK.jkdc")));
        EXPECT_EQ(disc.SlotPath(2), path("mods/FLY.MOD"));
        EXPECT_EQ(disc.DiscFileName(), path("discs/ROCK.jkdc"));
        EXPECT_FALSE(disc.Changed());
    }

    std::unique_ptr<TmpfsMount> m_mount;
};

TEST_F(MoveAllToTest, ModulesAndDiscMoveAndTheDiscPlaysFromItsNewPlace)
{
    makeSavedDisc();
    disc.MoveAllTo();

    EXPECT_EQ(host.directoryKinds, QList<int>{3});
    EXPECT_EQ(host.statusTexts,
              (QStringList{"Calculating size...", "Checking modules...", "Moving " + path("mods/FLY.MOD"),
                           "Moving " + path("more/sun.xm"), "Disc \"ROCK.jkdc\" sucessfully saved",
                           "All modules&disc moved"}));
    EXPECT_EQ(shownTexts(), QStringList{message(21000, path("target/"))});
    EXPECT_EQ(filesIn("target"), (QStringList{"FLY.MOD", "ROCK.jkdc", "sun.xm"}));
    EXPECT_EQ(readBytes(path("target/sun.xm")), QByteArray(5000, 'M'));
    EXPECT_TRUE(filesIn("mods").isEmpty());
    EXPECT_TRUE(filesIn("more").isEmpty());
    EXPECT_TRUE(filesIn("discs").isEmpty());

    EXPECT_EQ(disc.DiscFileName(), path("target/ROCK.jkdc"));
    EXPECT_FALSE(disc.Changed());
    const QByteArray saved = readBytes(path("target/ROCK.jkdc"));
    EXPECT_TRUE(saved.contains("2.File=FLY.MOD\r\n2.Desc=Fly away\r\n"));
    EXPECT_TRUE(saved.contains("5.File=sun.xm\r\n5.Desc=Sun\r\n"));

    disc.NewDisc();
    disc.LoadFromFile(path("target/ROCK.jkdc"));
    EXPECT_EQ(host.discCaption, "ROCK.jkdc");
    EXPECT_EQ(disc.SlotModulePath(5), path("target/sun.xm"));
}

TEST_F(MoveAllToTest, UnsavedDiscIsRefused)
{
    assign(1, module("mods/FLY.MOD"));
    disc.MoveAllTo();  // never saved
    EXPECT_EQ(shownTexts(), QStringList{message(3600)});

    ASSERT_TRUE(disc.SaveToFile(path("ROCK.jkdc")));
    assign(2, module("mods/SUN.XM"));
    disc.MoveAllTo();  // changed since
    EXPECT_EQ(shownTexts(), (QStringList{message(3600), message(3600)}));
    EXPECT_TRUE(host.directoryKinds.isEmpty());
}

TEST_F(MoveAllToTest, SameFileNameInTwoSlotsIsRefusedBeforeTheChooser)
{
    assign(1, module("a/FLY.MOD"));
    assign(4, module("b/fly.mod"));
    ASSERT_TRUE(disc.SaveToFile(path("ROCK.jkdc")));
    disc.MoveAllTo();
    EXPECT_EQ(shownTexts(), QStringList{message(3700)});
    EXPECT_TRUE(host.directoryKinds.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(path("a/FLY.MOD")));
}

TEST_F(MoveAllToTest, MissingModulesEndWithAnErrorText)
{
    assign(3, path("gone/FLY.MOD"));
    assign(4, module("mods/EMPTY.MOD", 0));
    ASSERT_TRUE(disc.SaveToFile(path("ROCK.jkdc")));
    disc.MoveAllTo();
    EXPECT_EQ(host.statusTexts.last(), "Error \"Move all to\"");
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_TRUE(host.directoryKinds.isEmpty());
}

TEST_F(MoveAllToTest, CancelledChooserChangesNothing)
{
    makeSavedDisc();
    host.directoryAnswer.clear();
    disc.MoveAllTo();
    EXPECT_TRUE(boxes.shown.isEmpty());
    expectNothingMoved();
}

TEST_F(MoveAllToTest, NameTakenInTheTargetUndoesTheCopiesMade)
{
    makeSavedDisc();
    ASSERT_TRUE(writeBytes(path("target/sun.xm"), "someone else's"));
    disc.MoveAllTo();

    EXPECT_EQ(shownTexts(), QStringList{message(3900, path("target/"))});
    EXPECT_EQ(filesIn("target"), QStringList{"sun.xm"});  // FLY.MOD was copied, then removed
    EXPECT_EQ(readBytes(path("target/sun.xm")), "someone else's");
    expectNothingMoved();
}

TEST_F(MoveAllToTest, AnotherDiscOfTheSameNameInTheTargetIsRefusedBeforeCopying)
{
    makeSavedDisc();
    const QByteArray otherDisc = readBytes(path("discs/ROCK.jkdc")).replace("Fly away", "Other");
    ASSERT_TRUE(writeBytes(path("target/ROCK.jkdc"), otherDisc));
    const QByteArray ownDisc = readBytes(path("discs/ROCK.jkdc"));
    disc.MoveAllTo();

    EXPECT_EQ(shownTexts(), QStringList{message(3900, path("target/"))});
    EXPECT_EQ(filesIn("target"), QStringList{"ROCK.jkdc"});
    EXPECT_EQ(readBytes(path("target/ROCK.jkdc")), otherDisc);
    EXPECT_EQ(readBytes(path("discs/ROCK.jkdc")), ownDisc);
    expectNothingMoved();
}

// Links that another user planted in a shared target folder, under a module's name and under
// the disc's, leading to a place of their choice.
TEST_F(MoveAllToTest, LinksPlantedInTheTargetAreRefusedAndNothingLandsWhereTheyLead)
{
    makeSavedDisc();
    ASSERT_TRUE(QDir().mkpath(path("elsewhere")));
    for (const char* name : {"sun.xm", "ROCK.jkdc"}) {
        SCOPED_TRACE(name);
        const QString planted = path("target/") + name;
        ASSERT_TRUE(makeLink(path("elsewhere/") + name, planted));
        boxes.shown.clear();
        disc.MoveAllTo();

        EXPECT_EQ(shownTexts(), QStringList{message(3900, path("target/"))});
        EXPECT_TRUE(filesIn("target").isEmpty());
        EXPECT_TRUE(filesIn("elsewhere").isEmpty());
        expectNothingMoved();
        ASSERT_TRUE(QFile::remove(planted));
    }
}

TEST_F(MoveAllToTest, TargetWithoutRoomIsRefusedBeforeCopying)
{
    makeSavedDisc();
    m_mount = std::make_unique<TmpfsMount>(path("target"), "4k");
    if (!m_mount->isMounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    disc.MoveAllTo();

    EXPECT_EQ(shownTexts(), QStringList{message(3800, path("target/"))});
    EXPECT_TRUE(filesIn("target").isEmpty());
    expectNothingMoved();
}

TEST_F(MoveAllToTest, CopyToAFullVolumeLeavesNoPartialFile)
{
    m_mount = std::make_unique<TmpfsMount>(path("target"), "64k");
    if (!m_mount->isMounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const QString source = module("mods/BIG.MOD", 200 * 1024);

    EXPECT_FALSE(FileCopy::CopyWithoutOverwrite(source, path("target/BIG.MOD")));
    EXPECT_TRUE(filesIn("target").isEmpty());
    EXPECT_EQ(readBytes(source).size(), 200 * 1024);

    const QString small = module("mods/SMALL.MOD", 10 * 1024);
    EXPECT_TRUE(FileCopy::CopyWithoutOverwrite(small, path("target/SMALL.MOD")));
    EXPECT_FALSE(FileCopy::CopyWithoutOverwrite(source, path("target/SMALL.MOD")));
    EXPECT_EQ(filesIn("target"), QStringList{"SMALL.MOD"});
    EXPECT_EQ(readBytes(path("target/SMALL.MOD")), QByteArray(10 * 1024, 'M'));
}

}  // namespace
