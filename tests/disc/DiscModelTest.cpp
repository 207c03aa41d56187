// The disc in memory and on the window: slots, disc commands, disc buttons, the save question.
#include "DiscFixture.h"

namespace {

using DiscModelTest = DiscFixture;

TEST_F(DiscModelTest, FreshDiscShowsNoDiscAndTwentyEmptySlots)
{
    EXPECT_EQ(host.discCaption, "(no disc loaded)");
    EXPECT_EQ(host.buttonCaptions.value(1), "(no disc selected)");
    EXPECT_EQ(host.buttonCaptions.value(2), "(no disc selected)");
    for (int n = 1; n <= ClassDisc::kSlotCount; ++n) {
        EXPECT_FALSE(host.assignedColour.value(n, true)) << n;
        EXPECT_EQ(host.hints.value(n, "unset"), "") << n;
        EXPECT_EQ(disc.SlotPath(n), " ") << n;
        EXPECT_EQ(disc.SlotTitle(n), " ") << n;
    }
    EXPECT_TRUE(host.boldItalic.isEmpty());
    EXPECT_EQ(disc.DiscFileName(), ClassDisc::kNoDiscLoaded);
    EXPECT_EQ(disc.CurrentSlot(), 0);
    EXPECT_FALSE(disc.Changed());
    EXPECT_EQ(disc.SlotPath(0), "");
    EXPECT_EQ(disc.SlotPath(21), "");
}

TEST_F(DiscModelTest, AssigningMarksTheSlotAndMovesTheMarking)
{
    assign(7, "/music/FLY.MOD", "Fly away");
    EXPECT_EQ(disc.SlotPath(7), "/music/FLY.MOD");
    EXPECT_EQ(disc.SlotTitle(7), "Fly away");
    EXPECT_EQ(host.hints.value(7), "Fly away");
    EXPECT_TRUE(host.assignedColour.value(7));
    EXPECT_TRUE(host.boldItalic.value(7));
    EXPECT_EQ(disc.CurrentSlot(), 7);
    EXPECT_TRUE(disc.Changed());

    assign(20, "/music/SUN.XM", "Sun");
    EXPECT_FALSE(host.boldItalic.value(7));
    EXPECT_TRUE(host.boldItalic.value(20));
    EXPECT_EQ(disc.CurrentSlot(), 20);

    disc.AssignSlot(21, "/music/OUT.MOD");
    disc.AssignSlot(0, "/music/OUT.MOD");
    EXPECT_EQ(disc.CurrentSlot(), 20);
}

TEST_F(DiscModelTest, ClearingASlotThroughItsMenuMakesClosingAsk)
{
    assign(3, "/music/FLY.MOD");
    ASSERT_TRUE(disc.SaveToFile(path("ROCK.jkdc")));

    disc.ShowSlotMenu(3, 10, 20);
    ASSERT_EQ(host.slotMenus.size(), 1);
    EXPECT_EQ(host.slotMenus[0].x, 10);
    EXPECT_EQ(host.slotMenus[0].y, 20);
    EXPECT_TRUE(host.slotMenus[0].firstEnabled);
    EXPECT_TRUE(host.slotMenus[0].clearEnabled);
    disc.ClearPopupSlot();
    EXPECT_EQ(disc.SlotPath(3), " ");
    EXPECT_EQ(host.hints.value(3), "");
    EXPECT_FALSE(host.assignedColour.value(3));
    EXPECT_FALSE(host.boldItalic.value(3));
    EXPECT_EQ(disc.CurrentSlot(), 3);  // only the marking goes
    EXPECT_TRUE(disc.Changed());

    boxes.answers = {Button::Cancel};
    disc.CloseDisc();
    EXPECT_EQ(shownTexts(), QStringList{message(30000)});
    EXPECT_EQ(disc.DiscFileName(), path("ROCK.jkdc"));
    EXPECT_TRUE(disc.Changed());

    boxes.answers = {Button::No};
    disc.CloseDisc();
    EXPECT_EQ(disc.DiscFileName(), ClassDisc::kNoDiscLoaded);
    EXPECT_FALSE(disc.Changed());
    EXPECT_EQ(host.statusTexts.last(), "Disc closed");
}

TEST_F(DiscModelTest, SlotMenuOffersOnlyWhatMakesSense)
{
    host.currentTitle = "x";  // a title of one character counts as no module
    disc.ShowSlotMenu(4, 0, 0);
    ASSERT_EQ(host.slotMenus.size(), 1);
    EXPECT_FALSE(host.slotMenus[0].firstEnabled);
    EXPECT_FALSE(host.slotMenus[0].clearEnabled);

    host.currentTitle = "Sun";
    disc.AssignPopupSlot("/music/SUN.XM");
    EXPECT_EQ(disc.SlotPath(4), "/music/SUN.XM");
    EXPECT_EQ(disc.CurrentSlot(), 4);
}

TEST_F(DiscModelTest, NewDiscAsksOnlyWhenChangedAndCancelKeepsEverything)
{
    disc.NewDisc();
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(host.statusTexts.last(), "New (empty) disc created");

    assign(1, "/music/FLY.MOD");
    boxes.answers = {Button::Cancel};
    disc.NewDisc();
    EXPECT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(disc.SlotPath(1), "/music/FLY.MOD");
    EXPECT_TRUE(disc.Changed());

    // Yes without a disc file asks for a name; cancelling that still goes on.
    boxes.answers = {Button::Yes};
    disc.NewDisc();
    EXPECT_EQ(host.saveDialogs, 1);
    EXPECT_EQ(disc.SlotPath(1), " ");
    EXPECT_FALSE(disc.Changed());
}

TEST_F(DiscModelTest, YesToTheSaveQuestionSavesToTheDiscFile)
{
    assign(2, "/music/FLY.MOD");
    ASSERT_TRUE(disc.SaveToFile(path("ROCK.jkdc")));
    assign(5, "/music/SUN.XM");

    boxes.answers = {Button::Yes};
    EXPECT_FALSE(disc.QuerySave());
    EXPECT_FALSE(disc.Changed());
    EXPECT_EQ(host.saveDialogs, 0);
    EXPECT_TRUE(readBytes(path("ROCK.jkdc")).contains("5.File=/music/SUN.XM\r\n"));
}

TEST_F(DiscModelTest, BareNameResolvesAgainstTheDiscFilesDirectory)
{
    assign(4, "FLY.MOD");
    EXPECT_EQ(disc.SlotModulePath(4), "FLY.MOD");  // no disc file: stays bare

    ASSERT_TRUE(QDir().mkpath(path("discs")));
    ASSERT_TRUE(disc.SaveToFile(path("discs/ROCK.jkdc")));
    disc.LoadFromFile(path("discs/ROCK.jkdc"));
    EXPECT_EQ(disc.SlotModulePath(4), path("discs/FLY.MOD"));
    disc.SetCurrentSlot(4);
    EXPECT_EQ(disc.CurrentSlot(), 4);
    EXPECT_TRUE(host.boldItalic.value(4));

    EXPECT_EQ(disc.SlotModulePath(5), "");  // empty
    EXPECT_EQ(disc.SlotModulePath(21), "");
}

TEST_F(DiscModelTest, CurrentSlotFollowsTheModuleUntilThePlayerForgetsIt)
{
    disc.ModulePathChanged("/music/A.MOD");  // no current slot: only the window hears of it
    EXPECT_EQ(host.modulePath, "/music/A.MOD");
    EXPECT_FALSE(disc.Changed());

    assign(6, "/music/FLY.MOD", "Fly away");
    EXPECT_TRUE(disc.CurrentSlotAssigned());
    disc.ModulePathChanged("/other/FLIGHT.MOD");
    EXPECT_EQ(disc.SlotPath(6), "/other/FLIGHT.MOD");
    EXPECT_EQ(disc.SlotTitle(6), "Fly away");

    disc.ModulePathChanged("");  // deleted
    EXPECT_EQ(disc.SlotPath(6), " ");
    EXPECT_EQ(disc.CurrentSlot(), 6);  // the number stays for the neighbours
    EXPECT_FALSE(disc.CurrentSlotAssigned());
    EXPECT_FALSE(host.assignedColour.value(6));

    disc.ForgetCurrentSlot();
    EXPECT_EQ(disc.CurrentSlot(), 0);
    EXPECT_FALSE(host.boldItalic.value(6));
}

TEST_F(DiscModelTest, OpenDiscAsksThenOpensTheChosenDiscAndRemembersItsDirectory)
{
    assign(1, "/music/FLY.MOD");
    ASSERT_TRUE(QDir().mkpath(path("discs")));
    ASSERT_TRUE(disc.SaveToFile(path("discs/ROCK.jkdc")));
    assign(2, "/music/SUN.XM");
    options.SetOpenDiscPath("/start/");

    host.openDialogAnswer = path("discs/ROCK.jkdc");
    boxes.answers = {Button::Cancel};
    disc.OpenDisc();
    EXPECT_TRUE(host.openDialogStarts.isEmpty());
    EXPECT_EQ(disc.SlotPath(2), "/music/SUN.XM");

    boxes.answers = {Button::No};
    disc.OpenDisc();
    EXPECT_EQ(host.openDialogStarts, QStringList{"/start/"});
    EXPECT_EQ(options.OpenDiscPath(), path("discs/"));
    EXPECT_EQ(disc.SlotPath(2), "");
    EXPECT_EQ(host.discCaption, "ROCK.jkdc");
}

TEST_F(DiscModelTest, SaveAsAppendsTheExtensionAndShowsTheNewName)
{
    assign(1, "/music/FLY.MOD");
    host.saveDialogAnswer = path("ROCK");
    disc.SaveDisc();  // no disc file yet: asks for a name
    EXPECT_EQ(host.saveDialogs, 1);
    EXPECT_EQ(disc.DiscFileName(), path("ROCK.jkdc"));
    EXPECT_EQ(host.discCaption, "ROCK.jkdc");
    EXPECT_EQ(options.OpenDiscPath(), path(""));
    EXPECT_TRUE(QFileInfo::exists(path("ROCK.jkdc")));
}

TEST_F(DiscModelTest, BrowsingADiscButtonOnAChangedDiscAsksAndNoKeepsTheChanges)
{
    assign(1, "/music/FLY.MOD");
    host.openDialogAnswer = path("discs/JAZZ.jkdc");
    disc.ShowDiscButtonMenu(2, 5, 6);
    ASSERT_EQ(host.discButtonMenus.size(), 1);
    EXPECT_FALSE(host.discButtonMenus[0].clearEnabled);

    boxes.answers = {Button::No};
    disc.BrowseDiscButton();
    EXPECT_EQ(shownTexts(), QStringList{message(30000)});
    EXPECT_EQ(disc.DiscButtonPath(2), path("discs/JAZZ.jkdc"));
    EXPECT_EQ(disc.DiscButtonPath(1), ClassDisc::kNoDiscSelected);
    EXPECT_EQ(host.buttonCaptions.value(2), "JAZZ.jkdc");
    EXPECT_EQ(disc.SlotPath(1), "/music/FLY.MOD");
    EXPECT_TRUE(disc.Changed());

    disc.ShowDiscButtonMenu(2, 5, 6);
    EXPECT_TRUE(host.discButtonMenus[1].clearEnabled);
    disc.ClearDiscButton();
    EXPECT_EQ(disc.DiscButtonPath(2), ClassDisc::kNoDiscSelected);
    EXPECT_EQ(host.buttonCaptions.value(2), "(no disc selected)");
}

TEST_F(DiscModelTest, DiscButtonLoadsItsDiscOrSays4000)
{
    writeBytes(path("SHORT.jkdc"), "[GeNeRaL]\r\nApp=Vorn Jukarium\r\nDesc=Jukarium Disc file\r\n"
                                   "[DiSCS]\r\nFirst=" + path("SHORT.jkdc").toUtf8() + "\r\nSecond=ab\r\n");
    disc.LoadFromFile(path("SHORT.jkdc"));
    ASSERT_EQ(disc.DiscButtonPath(2), "ab");

    disc.OpenDiscButton(2);
    EXPECT_EQ(shownTexts(), QStringList{message(4000)});
    EXPECT_EQ(disc.DiscFileName(), path("SHORT.jkdc"));

    disc.NewDisc();
    disc.OpenDiscButton(1);  // unassigned
    EXPECT_EQ(boxes.shown.size(), 2);

    disc.LoadFromFile(path("SHORT.jkdc"));
    assign(1, "/music/FLY.MOD");
    boxes.answers = {Button::No};
    disc.OpenDiscButton(1);
    EXPECT_EQ(boxes.shown.size(), 3);  // the save question, then the disc of button 1
    EXPECT_EQ(disc.SlotPath(1), "");
    EXPECT_FALSE(disc.Changed());
}

}  // namespace
