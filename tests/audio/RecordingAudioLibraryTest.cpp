// The recording fake that the player's tests use in place of the audio library.
#include "support/RecordingAudioLibrary.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(RecordingAudioLibraryTest, RecordsEveryCallInOrder)
{
    RecordingAudioLibrary audio;
    audio.addLoadablePath(QStringLiteral("/music/a b.xm"));
    audio.startup();
    audio.setOption(AudioLibrary::kOptionOutputMode, AudioLibrary::kMode16BitStereo);
    EXPECT_TRUE(audio.init());
    audio.startBackgroundPlay(0);
    const ModuleHandle module = audio.loadModule(QStringLiteral("/music/a b.xm"));
    audio.setMusicVolume(64);
    audio.playModule(module, 0);
    ModuleInfo info;
    audio.getModuleInfo(module, &info);
    InstrumentInfo instrument;
    audio.getInstrumentInfo(module, 0, &instrument);
    PlayStatus status;
    audio.getPlayStatus(&status);
    audio.setPosition(3);
    audio.stopModule(module);
    audio.freeModule(module);
    audio.stopBackgroundPlay();
    audio.close();

    EXPECT_EQ(audio.calls(), QStringList({"startup", "setOption 2 10", "init", "startBackgroundPlay 0",
                                          "loadModule /music/a b.xm", "setMusicVolume 64", "playModule 1",
                                          "getModuleInfo 1", "getInstrumentInfo 1 0", "getPlayStatus",
                                          "setPosition 3", "stopModule 1", "freeModule 1",
                                          "stopBackgroundPlay", "close"}));
    audio.clearCalls();
    EXPECT_TRUE(audio.calls().isEmpty());
}

TEST(RecordingAudioLibraryTest, AnswersFromItsScript)
{
    RecordingAudioLibrary audio;
    audio.setInitResult(false);
    EXPECT_FALSE(audio.init());

    audio.addLoadablePath(QStringLiteral("/m/one.mod"));
    audio.addLoadablePath(QStringLiteral("/m/two.s3m"));
    EXPECT_EQ(audio.loadModule(QStringLiteral("/m/one.mod")), 1u);
    audio.setLoadError(QStringLiteral("damaged pattern data"));
    EXPECT_EQ(audio.loadModule(QStringLiteral("/m/missing.xm")), 0u);
    EXPECT_EQ(audio.loadError(), QStringLiteral("damaged pattern data"));
    EXPECT_EQ(audio.loadModule(QStringLiteral("/m/two.s3m")), 2u);

    audio.setModuleInfo(RecordingAudioLibrary::makeModuleInfo(QByteArray(32, 'N'), 24, 12, 15, 8));
    ModuleInfo info;
    audio.getModuleInfo(2, &info);
    EXPECT_EQ(std::string(info.songName.data(), 32), std::string(32, 'N'));
    EXPECT_EQ(info.songLength, 24u);
    EXPECT_EQ(info.patternCount, 12u);
    EXPECT_EQ(info.instrumentCount, 15u);
    EXPECT_EQ(info.channelCount, 8u);
    audio.getModuleInfo(3, &info);  // never given
    EXPECT_EQ(info.songLength, 0u);

    audio.setInstrumentNames({QStringLiteral("Bass"), QStringLiteral("Lead")});
    InstrumentInfo instrument;
    audio.getInstrumentInfo(1, 1, &instrument);
    EXPECT_STREQ(instrument.name.data(), "Lead");
    audio.getInstrumentInfo(1, 2, &instrument);
    EXPECT_STREQ(instrument.name.data(), "");

    PlayStatus status;
    audio.playModule(1, 0);
    audio.setCurrentPosition(7);
    audio.getPlayStatus(&status);
    EXPECT_EQ(status.position, 7u);
    audio.setPosition(2);
    audio.getPlayStatus(&status);
    EXPECT_EQ(status.position, 2u);

    audio.setMusicVolume(18);
    EXPECT_EQ(audio.volume(), 18);
}

}  // namespace
