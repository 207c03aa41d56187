#include "playback/ClassModPlayer.h"

#include "FakePlayerHost.h"

#include "platform/Registry.h"
#include "settings/ClassOptions.h"
#include "support/RecordingAudioLibrary.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TimerTick.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

class ClassModPlayerTest : public ::testing::Test {
protected:
    ClassModPlayerTest()
    {
        library.addLoadablePath("/mods/a.mod");
        library.addLoadablePath("/mods/b.xm");
        library.setModuleInfo(RecordingAudioLibrary::makeModuleInfo("Song", 24, 20, 8, 4));
    }

    // The fade-out's waits are recorded, and each step taken at once.
    ClassModPlayer::FadeClock recordWaits()
    {
        return [this](int ms, const std::function<void()>& step) {
            waits << ms;
            step();
        };
    }

    std::unique_ptr<ClassModPlayer> makePlayer()
    {
        auto player = std::make_unique<ClassModPlayer>(library, options, host, recordWaits());
        library.clearCalls();
        host.statusTexts.clear();
        return player;
    }

    QStringList callsStartingWith(const QString& prefix) const
    {
        return library.calls().filter(QRegularExpression("^" + prefix));
    }

    QTemporaryDir dir;
    Registry registry{dir.path()};
    ClassOptions options{registry};
    RecordingAudioLibrary library;
    FakePlayerHost host;
    ScriptedMessageBoxes boxes;
    QList<int> waits;
};

TEST_F(ClassModPlayerTest, StartsTheLibraryWithTheStoredOptions)
{
    ClassModPlayer player(library, options, host, recordWaits());
    EXPECT_EQ(library.calls(), QStringList({"startup", "setOption 2 10", "setOption 1 44100",
                                            "setOption 3 500", "init", "startBackgroundPlay 0"}));
    EXPECT_EQ(host.bufferText, "B:0.5");
    EXPECT_EQ(host.positionText, "000/000");
    EXPECT_TRUE(player.AudioStarted());
    EXPECT_EQ(player.FadeOutSteps(), 10);
}

TEST_F(ClassModPlayerTest, OutOfRangeOptionsAreMappedAndStoredBack)
{
    options.SetPlaybackMode(7);
    options.SetPlaybackFrequency(-1);
    ClassModPlayer player(library, options, host, recordWaits());
    EXPECT_TRUE(library.calls().contains("setOption 2 10"));
    EXPECT_TRUE(library.calls().contains("setOption 1 44100"));
    EXPECT_EQ(options.PlaybackMode(), 3);
    EXPECT_EQ(options.PlaybackFrequency(), 4);
    player.SetOutputMode(0);
    player.SetMixingRate(1);
    EXPECT_EQ(library.calls().mid(library.calls().size() - 2),
              QStringList({"setOption 2 5", "setOption 1 22000"}));
}

TEST_F(ClassModPlayerTest, BufferLengthsAndTheirStatusTexts)
{
    auto player = makePlayer();
    const struct { int index; const char* call; const char* text; } table[] = {
        {0, "setOption 3 300", "B:0.3"},   {6, "setOption 3 900", "B:0.9"},
        {7, "setOption 3 1000", "B:1,0"},  {12, "setOption 3 1500", "B:1,5"},
        {17, "setOption 3 2000", "B:2,0"}};
    for (const auto& row : table) {
        player->SetBufferSize(row.index);
        EXPECT_EQ(library.calls().last(), row.call);
        EXPECT_EQ(host.bufferText, row.text);
        EXPECT_EQ(options.PlaybackBuffer(), row.index);
    }
}

TEST_F(ClassModPlayerTest, NoSoundOutputIsReportedAndThePlayerStaysUsable)
{
    library.setInitResult(false);
    ClassModPlayer player(library, options, host, recordWaits());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].request.text.startsWith("Can't initialize Soundoutput."));
    EXPECT_FALSE(player.AudioStarted());
    EXPECT_FALSE(library.calls().contains("startBackgroundPlay 0"));
    player.LoadModule("/mods/a.mod");
    EXPECT_TRUE(player.Playing());
}

TEST_F(ClassModPlayerTest, LoadingPlaysAndTellsTheWindow)
{
    auto player = makePlayer();
    player->LoadModule("/mods/b.xm");
    EXPECT_EQ(library.calls(), QStringList({"loadModule /mods/b.xm", "setMusicVolume 64",
                                            "playModule 1", "getModuleInfo 1", "getModuleDetails 1"}));
    EXPECT_EQ(host.modulePath, "/mods/b.xm");
    EXPECT_EQ(host.statusTexts.last(), "Module \"b.xm\" loaded");
    EXPECT_EQ(host.positionText, "000/024");
    EXPECT_EQ(host.bannerText, "24 orders of /mods/b.xm");
    EXPECT_TRUE(player->Playing());
}

TEST_F(ClassModPlayerTest, LoadingWhilePlayingFadesTheOldModuleOutFirst)
{
    auto player = makePlayer();
    player->LoadModule("/mods/a.mod");
    host.statusTexts.clear();
    library.clearCalls();
    player->LoadModule("/mods/b.xm");
    EXPECT_EQ(host.statusTexts, QStringList({"Fading out...", "Playback stopped", "Module closed",
                                             "Module \"b.xm\" loaded"}));
    EXPECT_EQ(callsStartingWith("setMusicVolume"),
              QStringList({"setMusicVolume 54", "setMusicVolume 48", "setMusicVolume 42",
                           "setMusicVolume 36", "setMusicVolume 30", "setMusicVolume 24",
                           "setMusicVolume 18", "setMusicVolume 12", "setMusicVolume 6",
                           "setMusicVolume 0", "setMusicVolume 64"}));
    EXPECT_EQ(waits, QList<int>(10, 100));
    EXPECT_EQ(host.slotsForgotten, 1);
}

struct FadeCase {
    int steps;
    int waits;
    int firstVolume;
};

class FadeOutTest : public ClassModPlayerTest, public ::testing::WithParamInterface<FadeCase> {};

TEST_P(FadeOutTest, FadesInStepsOf100MsDownToSilence)
{
    auto player = makePlayer();
    player->SetFadeOutSteps(GetParam().steps);
    player->LoadModule("/mods/a.mod");
    library.clearCalls();
    host.statusTexts.clear();
    player->StopPlaying();
    EXPECT_EQ(waits.size(), GetParam().waits);
    const QStringList volumes = callsStartingWith("setMusicVolume");
    if (GetParam().steps == 0) {
        EXPECT_TRUE(volumes.isEmpty());
        EXPECT_EQ(host.statusTexts, QStringList({"Playback stopped"}));
    } else {
        EXPECT_EQ(volumes.first(), QString("setMusicVolume %1").arg(GetParam().firstVolume));
        EXPECT_EQ(volumes.last(), "setMusicVolume 0");
        EXPECT_EQ(host.statusTexts, QStringList({"Fading out...", "Playback stopped"}));
    }
    EXPECT_EQ(library.calls().last(), "stopModule 1");
    EXPECT_FALSE(player->Playing());
}

INSTANTIATE_TEST_SUITE_P(Steps, FadeOutTest,
                         ::testing::Values(FadeCase{0, 0, 0}, FadeCase{1, 1, 0},
                                           FadeCase{7, 7, 54}, FadeCase{30, 30, 58}));

TEST_F(ClassModPlayerTest, FailedLoadLeavesNoModule)
{
    auto player = makePlayer();
    player->LoadModule("/mods/a.mod");
    player->LoadModule("/mods/not a module.txt");
    EXPECT_EQ(host.statusTexts.last(), "Error reading \"/mods/not a module.txt\"");
    EXPECT_EQ(host.modulePath, " ");
    EXPECT_EQ(host.positionText, "000/000");
    EXPECT_EQ(host.bannerText, "> No module loaded <");
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].request.text.startsWith(
        "Load Error! Can't read module \"/mods/not a module.txt\"."));
    EXPECT_TRUE(player->ModulePath().isEmpty());
}

TEST_F(ClassModPlayerTest, StepsStayWithinTheSong)
{
    library.setModuleInfo(RecordingAudioLibrary::makeModuleInfo("Song", 3, 3, 1, 4));
    auto player = makePlayer();
    player->LoadModule("/mods/a.mod");
    library.clearCalls();
    EXPECT_TRUE(player->StepBack());  // at 0: no jump
    EXPECT_TRUE(library.calls().filter("setPosition").isEmpty());
    player->StepForward();
    player->StepForward();
    EXPECT_EQ(host.positionText, "002/003");
    library.clearCalls();
    player->StepForward();  // at the last position: polled, never asked to jump
    EXPECT_TRUE(library.calls().contains("getPlayStatus"));
    EXPECT_TRUE(library.calls().filter("setPosition").isEmpty());
    player->StepBack();
    EXPECT_EQ(host.positionText, "001/003");
}

TEST_F(ClassModPlayerTest, StepsAndInformationWithoutAModuleAskForOne)
{
    auto player = makePlayer();
    EXPECT_FALSE(player->StepForward());
    EXPECT_FALSE(player->StepBack());
    player->ToggleInfos();
    ASSERT_EQ(boxes.shown.size(), 3);
    for (const auto& shown : boxes.shown)
        EXPECT_EQ(shown.request.text, "You have to open a module first to use this function.");
    EXPECT_TRUE(library.calls().isEmpty());
}

TEST_F(ClassModPlayerTest, ContinueOnlyAfterAStop)
{
    auto player = makePlayer();
    player->ContinuePlaying();
    player->LoadModule("/mods/a.mod");
    library.clearCalls();
    player->ContinuePlaying();
    EXPECT_TRUE(library.calls().isEmpty());
    player->SetFadeOutSteps(0);
    player->StopPlaying();
    player->ContinuePlaying();
    EXPECT_EQ(library.calls(), QStringList({"stopModule 1", "playModule 1"}));
    EXPECT_EQ(host.statusTexts.last(), "Continue playing");
}

TEST_F(ClassModPlayerTest, LongSongsShowFourDigits)
{
    library.setModuleInfo(RecordingAudioLibrary::makeModuleInfo("Long", 1000, 1, 1, 4));
    auto player = makePlayer();
    player->LoadModule("/mods/a.mod");
    EXPECT_EQ(host.positionText, "000/1000");
    EXPECT_EQ(ClassModPlayer::PositionText(7), "007");
    EXPECT_EQ(ClassModPlayer::PositionText(12345), "12345");
}

TEST_F(ClassModPlayerTest, TheTimePanelShowsTheTimeWithinTheSongOncePerSecond)
{
    auto player = makePlayer();
    EXPECT_EQ(host.timeText, "0:00 / 0:00");
    library.setModuleDetails({145.4, "", "", {}, 0});
    player->LoadModule("/mods/a.mod");
    EXPECT_EQ(host.timeText, "0:00 / 2:25");
    library.setPlayTime(83.9);
    ASSERT_TRUE(tickNow(*player->findChild<QTimer*>()));
    EXPECT_EQ(host.timeText, "1:23 / 2:25");
    library.setPlayTime(3.0);  // the song repeats: its time starts again
    ASSERT_TRUE(tickNow(*player->findChild<QTimer*>()));
    EXPECT_EQ(host.timeText, "0:03 / 2:25");
    player->SetFadeOutSteps(0);
    player->CloseModule();
    EXPECT_EQ(host.timeText, "0:00 / 0:00");

    EXPECT_EQ(ClassModPlayer::TimeText(59.99, 60), "0:59 / 1:00");
    EXPECT_EQ(ClassModPlayer::TimeText(600, 3599.5), "10:00 / 59:59");
    EXPECT_EQ(ClassModPlayer::TimeText(309, 3723), "0:05:09 / 1:02:03");
}

TEST_F(ClassModPlayerTest, RestartCallsTheLibraryInOrder)
{
    auto player = makePlayer();
    player->LoadModule("/mods/a.mod");
    library.clearCalls();
    player->RestartAudio();
    EXPECT_EQ(library.calls(),
              QStringList({"getModuleDetails 1", "setMusicVolume 54", "setMusicVolume 48", "setMusicVolume 42",
                           "setMusicVolume 36", "setMusicVolume 30", "setMusicVolume 24",
                           "setMusicVolume 18", "setMusicVolume 12", "setMusicVolume 6",
                           "setMusicVolume 0", "stopModule 1", "freeModule 1",
                           "stopBackgroundPlay", "close", "startup", "setOption 2 10",
                           "setOption 1 44100", "setOption 3 500", "init",
                           "startBackgroundPlay 0", "loadModule /mods/a.mod", "setMusicVolume 64",
                           "playModule 2", "getModuleInfo 2", "getModuleDetails 2"}));
}

TEST_F(ClassModPlayerTest, DestructionClosesWithoutTellingTheBanner)
{
    auto player = makePlayer();
    player->LoadModule("/mods/a.mod");
    host.bannerText = "module line";
    player.reset();
    EXPECT_EQ(host.bannerText, "module line");
    EXPECT_EQ(library.calls().mid(library.calls().size() - 4),
              QStringList({"stopModule 1", "freeModule 1", "stopBackgroundPlay", "close"}));
}

TEST_F(ClassModPlayerTest, TitleIsTheTrimmedSongNameOrTheFileName)
{
    ModuleInfo info;
    EXPECT_EQ(ClassModPlayer::TitleOf(info, "/mods/SONG.MOD"), "SONG.MOD");
    const char blank[] = "  \t ";
    std::copy(blank, blank + 4, info.songName.begin());
    EXPECT_EQ(ClassModPlayer::TitleOf(info, "/mods/SONG.MOD"), "SONG.MOD");
    const char full[] = "  Night Drive ABCDEFGHIJKLMNOPQR";  // all 32 used, no NUL
    std::copy(full, full + 32, info.songName.begin());
    EXPECT_EQ(ClassModPlayer::TitleOf(info, "/mods/SONG.MOD"), "Night Drive ABCDEFGHIJKLMNOPQR");

    auto player = makePlayer();
    player->LoadModule("/mods/a.mod");
    EXPECT_EQ(player->ModuleTitle(), "Song");
    player->CloseModule();
    EXPECT_EQ(player->ModuleTitle(), "");
}

TEST_F(ClassModPlayerTest, PositionIsPolledWhilePlaying)
{
    auto player = makePlayer();
    player->LoadModule("/mods/a.mod");
    library.setCurrentPosition(5);
    QTimer* poll = player->findChild<QTimer*>();
    ASSERT_NE(poll, nullptr);
    EXPECT_EQ(host.positionText, "000/024");
    ASSERT_TRUE(tickNow(*poll));
    EXPECT_EQ(host.positionText, "005/024");
}

TEST_F(ClassModPlayerTest, AtTheSongsEndTheRuleAndTheDiscDecide)
{
    const struct {
        ClassOptions::SongEnd rule;
        bool slot;
        bool repeats;
        int nextSlots;
    } cases[] = {
        {ClassOptions::SongEnd::RepeatIt, true, true, 0},
        {ClassOptions::SongEnd::PlayNextSlot, false, true, 0},  // no slot: it repeats
        {ClassOptions::SongEnd::PlayNextSlot, true, false, 1},
        {ClassOptions::SongEnd::Stop, false, false, 0},
    };
    for (const auto& [rule, slot, repeats, nextSlots] : cases) {
        SCOPED_TRACE(static_cast<int>(rule) * 10 + slot);
        options.SetAtTheEnd(rule);
        host.playsDiscSlot = slot;
        host.nextSlotsPlayed = 0;
        auto player = makePlayer();
        player->LoadModule("/mods/a.mod");
        QTimer* poll = player->findChild<QTimer*>();
        ASSERT_TRUE(tickNow(*poll));  // the slot is known by now
        EXPECT_EQ(library.repeats(), repeats);
        if (!repeats) {
            library.setSongEnded(true);
            waits.clear();
            ASSERT_TRUE(tickNow(*poll));
            EXPECT_TRUE(waits.isEmpty());  // it ended by itself: no fade-out
            EXPECT_FALSE(player->Playing());
            EXPECT_FALSE(tickNow(*poll));
            EXPECT_EQ(host.nextSlotsPlayed, nextSlots);
            EXPECT_EQ(host.modulePath, "/mods/a.mod");  // kept for Play
        }
        player->ContinuePlaying();
        EXPECT_TRUE(player->Playing());
    }
}

TEST_F(ClassModPlayerTest, MuteAndSoloBelongToTheModuleThatPlays)
{
    auto player = makePlayer();
    player->ToggleChannelMute(0);  // without a module: nothing
    player->LoadModule("/mods/a.mod");
    EXPECT_EQ(player->MutedChannels(), QList<bool>(4, false));
    library.clearCalls();
    player->SoloChannel(1);
    EXPECT_EQ(player->MutedChannels(), QList<bool>({true, false, true, true}));
    player->ToggleChannelMute(1);
    player->SoloChannel(2);  // from every channel muted
    player->SoloChannel(2);  // the second solo lets every channel sound
    player->ToggleChannelMute(3);
    player->ToggleChannelMute(4);  // no such channel
    EXPECT_EQ(callsStartingWith("setChannelMuted"),
              QStringList({"setChannelMuted 1 0 1", "setChannelMuted 1 2 1", "setChannelMuted 1 3 1",
                           "setChannelMuted 1 1 1", "setChannelMuted 1 2 0",
                           "setChannelMuted 1 0 0", "setChannelMuted 1 1 0", "setChannelMuted 1 3 0",
                           "setChannelMuted 1 3 1"}));
    // Another module sounds whole: its own mutes start afresh.
    player->LoadModule("/mods/b.xm");
    EXPECT_EQ(player->MutedChannels(), QList<bool>(4, false));
    player->UnmuteAllChannels();
    EXPECT_TRUE(callsStartingWith("setChannelMuted 2").isEmpty());
}
