// The rules between player and disc, on the recording audio library: no window, no sound, no
// waiting for a song to end.
#include "session/JukeboxSession.h"

#include "platform/Registry.h"
#include "settings/ClassOptions.h"
#include "support/RecordingAudioLibrary.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TimerTick.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

class JukeboxSessionTest : public ::testing::Test {
protected:
    JukeboxSessionTest()
    {
        for (const char* path : {"/mods/a.mod", "/mods/b.xm", "/mods/Upper Case.XM"})
            library.addLoadablePath(path);
        library.setModuleInfo(RecordingAudioLibrary::makeModuleInfo("Song", 24, 20, 8, 4));
        session.disc().AssignSlot(1, "/mods/a.mod");
        session.disc().AssignSlot(6, "/mods/b.xm");
        session.disc().ForgetCurrentSlot();
    }

    /// The player's next poll of the library, as its timer would run it; false when it does
    /// not poll (nothing plays).
    bool poll() { return tickNow(*session.player().findChild<QTimer*>()); }

    /// The song of the module playing comes to its end, the player sees it, and what follows
    /// has its turn.
    void songEnds()
    {
        library.setSongEnded(true);
        ASSERT_TRUE(poll());
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    Registry registry{dir.path() + "/registry"};
    RecordingAudioLibrary library;
    ScriptedMessageBoxes boxes;
    JukeboxSession session{registry, library, [](int, const std::function<void()>& step) { step(); }};
};

TEST_F(JukeboxSessionTest, ASlotsSongEndIsDecidedWhenItsModuleLoads)
{
    session.player().SetSongEnd(ClassOptions::SongEnd::PlayNextSlot);
    QSignalSpy loaded(&session, &JukeboxSession::moduleLoaded);

    session.PlaySlot(1);
    EXPECT_FALSE(library.repeats());
    const QStringList calls = library.calls();
    EXPECT_LT(calls.indexOf("setRepeat 0"), calls.indexOf("playModule 1"));  // from its first note
    ASSERT_EQ(loaded.size(), 1);
    EXPECT_EQ(loaded[0], QVariantList({"/mods/a.mod", "Song", 1}));
    EXPECT_EQ(session.disc().CurrentSlot(), 1);

    songEnds();
    EXPECT_EQ(session.CurrentModule(), "/mods/b.xm");
    EXPECT_EQ(session.disc().CurrentSlot(), 6);
    EXPECT_TRUE(session.SlotLooks(6).current);
    EXPECT_FALSE(session.SlotLooks(1).current);
    EXPECT_EQ(loaded.last(), QVariantList({"/mods/b.xm", "Song", 6}));

    // A module opened from outside is no slot's: it repeats.
    session.OpenCommandFile("/mods/Upper Case.XM");
    EXPECT_TRUE(library.repeats());
    EXPECT_EQ(loaded.last(), QVariantList({"/mods/Upper Case.XM", "Song", 0}));
    EXPECT_EQ(session.disc().CurrentSlot(), 0);
}

TEST_F(JukeboxSessionTest, PlayingThroughPassesOverSlotsThatCannotBeReadWithoutABox)
{
    library.setLoadError("no such file");
    session.disc().AssignSlot(3, "/mods/gone.mod");
    session.disc().AssignSlot(4, "/mods/also gone.xm");
    session.disc().ForgetCurrentSlot();
    session.player().SetSongEnd(ClassOptions::SongEnd::PlayNextSlot);
    session.PlaySlot(1);
    songEnds();
    EXPECT_EQ(session.CurrentModule(), "/mods/b.xm");
    EXPECT_EQ(session.disc().CurrentSlot(), 6);
    EXPECT_EQ(session.StatusText(), "Slots 3, 4 skipped: no such file");
    EXPECT_TRUE(boxes.shown.isEmpty());

    // With nothing left that can be read, play stops, with one text.
    session.disc().AssignSlot(1, "/mods/gone too.s3m");
    session.disc().AssignSlot(6, "/mods/gone again.it");  // where b.xm plays
    library.clearCalls();
    songEnds();
    EXPECT_EQ(library.calls().filter("loadModule").size(), 4);  // slots 1, 3, 4 and 6, once each
    EXPECT_EQ(session.StatusText(), "No module of the disc could be read: no such file");
    EXPECT_TRUE(session.CurrentModule().trimmed().isEmpty());
    EXPECT_TRUE(boxes.shown.isEmpty());

    // Opening one of them oneself still asks.
    session.PlaySlot(3);
    EXPECT_EQ(boxes.shown.size(), 1);
}

TEST_F(JukeboxSessionTest, TheNextSlotThatCanBeReadIsQueuedToFollowWithoutAGap)
{
    library.setLoadError("no such file");
    session.disc().AssignSlot(3, "/mods/gone.mod");
    session.disc().ForgetCurrentSlot();
    session.player().SetSongEnd(ClassOptions::SongEnd::PlayNextSlot);
    QSignalSpy loaded(&session, &JukeboxSession::moduleLoaded);
    session.PlaySlot(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(session.player().QueuedModulePath(), "/mods/b.xm");

    library.clearCalls();
    library.setSongEnded(true);  // the library hands over to the queued module
    ASSERT_TRUE(poll());
    EXPECT_EQ(session.CurrentModule(), "/mods/b.xm");
    EXPECT_EQ(session.disc().CurrentSlot(), 6);
    EXPECT_EQ(loaded.last(), QVariantList({"/mods/b.xm", "Song", 6}));
    EXPECT_EQ(session.StatusText(), "Slot 3 skipped: no such file");
    EXPECT_TRUE(session.player().Playing());
    EXPECT_EQ(library.calls().filter("playModule").size(), 0);  // it plays already
    EXPECT_TRUE(library.calls().contains("freeModule 1"));

    // Slot 1 follows it in turn, until play stops or the rule changes.
    QCoreApplication::processEvents();
    EXPECT_EQ(session.player().QueuedModulePath(), "/mods/a.mod");
    session.player().StopPlaying();
    EXPECT_TRUE(session.player().QueuedModulePath().isEmpty());
    session.player().ContinuePlaying();
    QCoreApplication::processEvents();
    EXPECT_EQ(session.player().QueuedModulePath(), "/mods/a.mod");
    session.player().SetSongEnd(ClassOptions::SongEnd::Stop);
    QCoreApplication::processEvents();
    EXPECT_TRUE(session.player().QueuedModulePath().isEmpty());
}

TEST_F(JukeboxSessionTest, EverySubsongPlaysThenTheNextSlotWhichPlaysOnlyItsOwn)
{
    // The second song is junk, under the shortest shown (2 s).
    library.setModuleDetails({10, "", "", {{"", 10, 0, 1}, {"", 0.5, 1, 2}, {"", 20, 2, 3}, {"", 30, 3, 4}}, 0});
    session.PlaySlot(6);
    session.player().SelectSubsong(2);
    session.disc().AssignSlot(6, "/mods/b.xm");
    EXPECT_EQ(session.disc().SlotSubsong(6), 2);
    EXPECT_EQ(session.SlotLooks(6).hint, "Song (subsong 3)");
    session.disc().ForgetCurrentSlot();
    session.player().SetSongEnd(ClassOptions::SongEnd::PlayEverySubsong);

    const auto playing = [this] {
        return QStringLiteral("%1 %2 slot %3").arg(session.CurrentModule()).arg(session.player().Details().subsong)
            .arg(session.disc().CurrentSlot());
    };
    session.PlaySlot(1);
    QCoreApplication::processEvents();
    QStringList heard{playing()};
    for (int end = 0; end < 4; ++end) {
        songEnds();
        heard << playing();
    }
    EXPECT_EQ(heard, QStringList({"/mods/a.mod 0 slot 1", "/mods/a.mod 2 slot 1", "/mods/a.mod 3 slot 1",
                                  "/mods/b.xm 2 slot 6", "/mods/a.mod 0 slot 1"}));
    EXPECT_TRUE(session.player().Playing());

    // A module that is no slot's goes round its subsongs.
    session.OpenCommandFile("/mods/Upper Case.XM");
    QCoreApplication::processEvents();
    EXPECT_FALSE(library.repeats());
    heard = QStringList{playing()};
    for (int end = 0; end < 3; ++end) {
        songEnds();
        heard << playing();
    }
    EXPECT_EQ(heard, QStringList({"/mods/Upper Case.XM 0 slot 0", "/mods/Upper Case.XM 2 slot 0",
                                  "/mods/Upper Case.XM 3 slot 0", "/mods/Upper Case.XM 0 slot 0"}));
}

TEST_F(JukeboxSessionTest, StopRuleStopsAtTheEndAndKeepsTheModuleForPlay)
{
    session.player().SetSongEnd(ClassOptions::SongEnd::Stop);
    session.PlaySlot(1);
    songEnds();
    EXPECT_FALSE(session.player().Playing());
    EXPECT_EQ(session.CurrentModule(), "/mods/a.mod");
    EXPECT_EQ(session.disc().CurrentSlot(), 1);
    EXPECT_EQ(session.StatusText(), "Playback stopped");
    EXPECT_FALSE(poll());
}

TEST_F(JukeboxSessionTest, ASlotThatStopsHoldingTheModuleLetsItRepeatAtOnce)
{
    session.player().SetSongEnd(ClassOptions::SongEnd::PlayNextSlot);
    session.PlaySlot(1);
    ASSERT_FALSE(library.repeats());
    boxes.answers = {MessageBoxRequest::Button::No};
    session.disc().CloseDisc();
    EXPECT_TRUE(library.repeats());  // before any poll
    EXPECT_EQ(session.CurrentModule(), "/mods/a.mod");

    session.disc().AssignSlot(3, "/mods/a.mod");  // a slot's again
    EXPECT_FALSE(library.repeats());
    session.disc().ShowSlotMenu(3, 0, 0);  // no window: no menu, but the slot is chosen
    session.disc().ClearPopupSlot();
    EXPECT_TRUE(library.repeats());
}

TEST_F(JukeboxSessionTest, EmptySlotsAndOtherNumbersPlayNothing)
{
    session.PlaySlot(1);
    library.clearCalls();
    for (int n : {2, 0, 21, -1})
        session.PlaySlot(n);
    EXPECT_TRUE(library.calls().isEmpty());
    EXPECT_EQ(session.disc().CurrentSlot(), 1);
}

TEST_F(JukeboxSessionTest, HandedOverFilesOpenModulesAndDiscsOnly)
{
    for (const char* file : {"", "/mods/readme.txt", "/mods/no disc.jkdc.txt"}) {
        session.OpenCommandFile(file);
        EXPECT_EQ(session.CommandFile(), file);
    }
    EXPECT_TRUE(library.calls().filter("loadModule").isEmpty());
    session.OpenCommandFile("/mods/Upper Case.XM");
    EXPECT_EQ(session.CurrentModule(), "/mods/Upper Case.XM");

    // A disc handed over replaces a changed one without the save question.
    const QString other = dir.path() + "/OTHER.JKDC";
    QSignalSpy saved(&session, &JukeboxSession::discSaved);
    QSignalSpy loaded(&session, &JukeboxSession::discLoaded);
    ASSERT_TRUE(session.disc().SaveToFile(other));
    EXPECT_EQ(saved.size(), 1);
    session.disc().AssignSlot(2, "/mods/b.xm");
    ASSERT_TRUE(session.disc().Changed());
    session.OpenCommandFile(other);
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(session.disc().SlotPath(2), "");
    EXPECT_EQ(session.disc().SlotPath(6), "/mods/b.xm");
    EXPECT_EQ(session.DiscCaption(), "OTHER.JKDC");
    ASSERT_EQ(loaded.size(), 1);
    EXPECT_EQ(loaded[0][0], other);
    EXPECT_FALSE(session.disc().Changed());
}
