// Playing a module through the device: volume, stop and continue, jumps, freeing while it
// plays. What was heard is read back from the disk driver's file.
#include "audio/DiskOutput.h"
#include "support/TestSongs.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>

using ModuleMaker::Format;

namespace {

constexpr int kMode = AudioLibrary::kMode16BitStereo;
constexpr int kRate = 22000;
constexpr int kFrameBytes = 4;
// What may still reach the file after a change: the buffer being rendered and what the
// driver's file buffer holds back.
constexpr qint64 kSlackBytes = 64 * 1024;

class PlaybackTest : public DiskOutputTest {
protected:
    /// Loads song, plays it and starts the output.
    ModuleHandle start(const ModuleMaker::Song& song, int volume = 64, Format format = Format::Xm)
    {
        const ModuleHandle module =
            m_audio.loadModule(TestSongs::write(song, format, m_dir.path(), QStringLiteral("song")));
        EXPECT_NE(module, 0u);
        m_audio.playModule(module, 0);
        m_audio.setMusicVolume(volume);
        EXPECT_TRUE(openOutput(kMode, kRate));
        m_audio.startBackgroundPlay(0);
        return module;
    }

    /// Lets the device write at least bytes more.
    bool letDeviceWrite(qint64 bytes)
    {
        const qint64 target = outputSize() + bytes;
        return waitUntil([&] { return outputSize() >= target; });
    }
};

TEST_F(PlaybackTest, VolumeZeroIsSilence)
{
    start(TestSongs::toneSong(), 0);
    ASSERT_TRUE(waitUntil([&] { return position() >= 2; }));
    const PcmOutput output = closeAndRead(kMode, kRate);
    EXPECT_GT(output.frameCount(), kRate);
    EXPECT_TRUE(output.isSilent(0, output.frameCount()));
}

TEST_F(PlaybackTest, StopIsSilentAndPlayContinuesAtTheSamePlaceAtFullVolume)
{
    const ModuleHandle module = start(TestSongs::toneSong());
    ASSERT_TRUE(waitUntil([&] { return position() >= 1; }));
    m_audio.setMusicVolume(0);  // where a fade-out ends
    m_audio.stopModule(module);
    const quint32 stoppedAt = position();
    const qint64 stoppedBytes = outputSize();
    ASSERT_TRUE(letDeviceWrite(8 * kSlackBytes));
    EXPECT_EQ(position(), stoppedAt);

    const qint64 continuedBytes = outputSize();
    m_audio.playModule(module, 0);
    ASSERT_TRUE(waitUntil([&] { return position() != stoppedAt; }));
    EXPECT_GT(position(), stoppedAt);  // on from where it stopped, not from the start
    ASSERT_TRUE(letDeviceWrite(kSlackBytes));
    const PcmOutput output = closeAndRead(kMode, kRate);

    EXPECT_FALSE(output.isSilent(0, stoppedBytes / kFrameBytes));
    EXPECT_TRUE(output.isSilent((stoppedBytes + kSlackBytes) / kFrameBytes, continuedBytes / kFrameBytes));
    EXPECT_FALSE(output.isSilent((continuedBytes + kSlackBytes) / kFrameBytes, output.frameCount()));
}

TEST_F(PlaybackTest, SetPositionJumpsThereAndPlaysOnFromThere)
{
    // Without repeating, so that a wait that sees order 4 left sees order 5 and never the
    // song's start again.
    m_audio.setRepeat(false);
    const ModuleHandle module = start(TestSongs::toneSong());
    m_audio.stopBackgroundPlay();  // holds the place still while it is checked
    m_audio.setPosition(4);
    EXPECT_EQ(position(), 4u);
    m_audio.startBackgroundPlay(0);
    // On from there, not from the start; a starved test may look only once the device has
    // rendered the last two orders (in milliseconds here) and the song has ended.
    PlayStatus status;
    ASSERT_TRUE(waitUntil([&] {
        m_audio.getPlayStatus(&status);
        return status.position != 4 || status.songEnded;
    }));
    EXPECT_TRUE(status.position > 4 || status.songEnded) << status.position;

    m_audio.stopModule(module);
    const quint32 stoppedAt = position();
    for (int outside : {-1, TestSongs::kToneSongOrders, 1000}) {
        m_audio.setPosition(outside);
        EXPECT_EQ(position(), stoppedAt) << outside;
    }
    m_audio.setPosition(1);  // also while stopped
    EXPECT_EQ(position(), 1u);
    m_audio.playModule(module, 0);
    ASSERT_TRUE(waitUntil([&] {
        m_audio.getPlayStatus(&status);
        return status.position != 1 || status.songEnded;
    }));
    EXPECT_TRUE(status.position > 1 || status.songEnded) << status.position;
}

TEST_F(PlaybackTest, JumpsCrossfadeInsteadOfCuttingTheWaveform)
{
    // Each jump lands on the start of an order, where the tone is struck anew from the start
    // of its sine, and leaves the tone wherever the device had got to. Cut there, the
    // waveform would step by up to twice the tone's level; from one frame of the steady tone
    // to the next it steps by less than a tenth of it.
    start(TestSongs::steadyToneSong());
    ASSERT_TRUE(letDeviceWrite(kSlackBytes));
    const qsizetype steadyEnd = outputSize() / kFrameBytes;  // all rendered before the first jump
    for (int jump = 0; jump < 8; ++jump) {
        // Stretches of different lengths leave the tone at different phases.
        ASSERT_TRUE(letDeviceWrite((jump % 3 + 1) * kSlackBytes / 2));
        const int order = (jump + 1) % 2;
        if (jump % 4 < 2)
            m_audio.setPlayTime(order * TestSongs::kSteadyToneOrderSeconds);
        else
            m_audio.setPosition(order);
        EXPECT_EQ(position(), quint32(order)) << jump;
    }
    ASSERT_TRUE(letDeviceWrite(kSlackBytes));
    const PcmOutput output = closeAndRead(kMode, kRate);

    const qsizetype onset = output.onsets(1).value(0);
    const int steady = output.largestStep(onset + kRate / 50, steadyEnd, 0);  // after the fade-in
    ASSERT_GT(steady, 100);
    EXPECT_LE(output.largestStep(steadyEnd, output.frameCount(), 0), steady * 3 / 2);
}

TEST_F(PlaybackTest, ASeekIntoAHeldNoteSoundsAtOnce)
{
    // The tone is struck once per order and held: a seek into its middle must find it sounding,
    // not wait in silence for the next note.
    start(TestSongs::steadyToneSong());
    ASSERT_TRUE(letDeviceWrite(kSlackBytes));
    m_audio.setPlayTime(TestSongs::kSteadyToneOrderSeconds / 2);
    const qsizetype jumped = outputSize() / kFrameBytes;
    ASSERT_TRUE(letDeviceWrite(2 * kSlackBytes));
    const PcmOutput output = closeAndRead(kMode, kRate);
    // Past the crossfade, and the rest of what was queued before the seek.
    EXPECT_FALSE(output.isSilent(jumped + kSlackBytes / kFrameBytes, output.frameCount()));
}

TEST_F(PlaybackTest, TheSongRepeatsUntilStoppedWithoutAGap)
{
    start(TestSongs::toneSong());
    ASSERT_TRUE(waitUntil([&] { return position() == TestSongs::kToneSongOrders - 1; }));
    ASSERT_TRUE(waitUntil([&] { return position() == 0; }));
    ASSERT_TRUE(waitUntil([&] { return position() == 1; }));
    const PcmOutput output = closeAndRead(kMode, kRate);
    EXPECT_EQ(output.onsets(kRate / 100).size(), 1);  // the tone never pauses for 10 ms
}

TEST_F(PlaybackTest, WithoutRepeatTheSongFallsSilentAtItsEndAndPlayStartsItAgain)
{
    m_audio.setRepeat(false);
    ModuleMaker::Song song = TestSongs::toneSong();
    song.orders = {0, 1};  // 1.92 s
    const qsizetype songFrames = qRound(1.92 * kRate);
    const ModuleHandle module = start(song);
    PlayStatus status;
    ASSERT_TRUE(waitUntil([&] {
        m_audio.getPlayStatus(&status);
        return status.songEnded;
    }));
    ASSERT_TRUE(letDeviceWrite(4 * kSlackBytes));
    const qint64 endedBytes = outputSize();
    m_audio.stopModule(module);  // as the player does
    m_audio.playModule(module, 0);
    m_audio.getPlayStatus(&status);
    EXPECT_FALSE(status.songEnded);
    EXPECT_EQ(status.position, 0u);  // from its start
    ASSERT_TRUE(letDeviceWrite(kSlackBytes));
    const PcmOutput output = closeAndRead(kMode, kRate);

    const QList<qsizetype> onsets = output.onsets(kRate / 10);
    ASSERT_EQ(onsets.size(), 2);
    EXPECT_FALSE(output.isSilent(onsets[0] + songFrames - kRate / 10, onsets[0] + songFrames - kRate / 20));
    EXPECT_TRUE(output.isSilent(onsets[0] + songFrames, endedBytes / kFrameBytes));
    EXPECT_GE(onsets[1], endedBytes / kFrameBytes);
}

TEST_F(PlaybackTest, AQueuedModuleFollowsTheSongsEndWithoutAGap)
{
    m_audio.setRepeat(false);
    ModuleMaker::Song song = TestSongs::toneSong();
    song.orders = {0, 1};
    const ModuleHandle first = m_audio.loadModule(TestSongs::write(song, Format::Xm, m_dir.path(), QStringLiteral("first")));
    const ModuleHandle next = m_audio.loadModule(TestSongs::write(song, Format::S3m, m_dir.path(), QStringLiteral("next")));
    m_audio.playModule(first, 0);
    // Queued before the output starts: the device renders far faster than real time.
    m_audio.queueModule(next);
    ASSERT_TRUE(openOutput(kMode, kRate));
    m_audio.startBackgroundPlay(0);
    PlayStatus status;
    ASSERT_TRUE(waitUntil([&] {
        m_audio.getPlayStatus(&status);
        return status.module == next;
    }));
    m_audio.freeModule(first);  // as the player does once it sees the change: the next plays on
    ASSERT_TRUE(waitUntil([&] {
        m_audio.getPlayStatus(&status);
        return status.songEnded;
    }));
    EXPECT_EQ(status.module, next);
    const PcmOutput output = closeAndRead(kMode, kRate);
    EXPECT_EQ(output.onsets(kRate / 1000).size(), 1);  // not a millisecond of silence between them
}

TEST_F(PlaybackTest, StereoSeparationChangesAtOnceWithoutAGap)
{
    // The module format's channels are panned hard left and right, as on an Amiga.
    start(TestSongs::toneSong(), 64, Format::Mod);
    ASSERT_TRUE(waitUntil([&] { return position() >= 1; }));
    const qint64 changedBytes = outputSize();
    RenderQuality mono;
    mono.stereoSeparation = 0;
    m_audio.setRenderQuality(mono);
    ASSERT_TRUE(letDeviceWrite(4 * kSlackBytes));
    const PcmOutput output = closeAndRead(kMode, kRate);

    const auto sidesDiffer = [&output](qsizetype first, qsizetype end) {
        for (qsizetype frame = first; frame < end; ++frame) {
            if (output.sample(frame, 0) != output.sample(frame, 1))
                return true;
        }
        return false;
    };
    const qsizetype changed = changedBytes / kFrameBytes;
    EXPECT_TRUE(sidesDiffer(0, changed));
    EXPECT_FALSE(sidesDiffer(changed + kSlackBytes / kFrameBytes, output.frameCount()));
    EXPECT_EQ(output.onsets(kRate / 100).size(), 1);
}

TEST_F(PlaybackTest, FreeingThePlayingModuleSilencesIt)
{
    const ModuleHandle module = start(TestSongs::toneSong());
    ASSERT_TRUE(waitUntil([&] { return position() >= 1; }));
    m_audio.freeModule(module);
    EXPECT_EQ(position(), 0u);
    const qint64 freedBytes = outputSize();
    m_audio.playModule(module, 0);  // stale: ignored
    ASSERT_TRUE(letDeviceWrite(4 * kSlackBytes));
    const PcmOutput output = closeAndRead(kMode, kRate);
    EXPECT_FALSE(output.isSilent(0, freedBytes / kFrameBytes));
    EXPECT_TRUE(output.isSilent((freedBytes + kSlackBytes) / kFrameBytes, output.frameCount()));
}

TEST_F(PlaybackTest, StoppedTheDeviceClosesAndPlayOpensItAgainWithoutAClick)
{
    const ModuleHandle module = start(TestSongs::toneSong());
    ASSERT_TRUE(waitUntil([&] { return position() >= 1; }));
    m_audio.setMusicVolume(0);  // where a fade-out ends
    m_audio.stopModule(module);
    // Far from the song's end, so that going on is never taken for a repeat from the start.
    m_audio.setPosition(1);
    const quint32 stoppedAt = position();
    // Parked and closed by the event loop once what it played has been heard.
    ASSERT_TRUE(waitUntil([&] {
        QCoreApplication::processEvents();
        return m_audio.openDeviceCount() == 0;
    }));

    m_audio.playModule(module, 0);  // the disk driver starts its file anew
    EXPECT_EQ(m_audio.openDeviceCount(), 1);
    ASSERT_TRUE(waitUntil([&] { return position() != stoppedAt; }));
    EXPECT_GT(position(), stoppedAt);  // on from where it stopped, not from the start
    const PcmOutput output = closeAndRead(kMode, kRate);

    // At most a period of silence, then the tone fading in over the volume ramp.
    const qsizetype onset = output.onsets(1).value(0, output.frameCount());
    ASSERT_LT(onset + kRate / 10, output.frameCount());
    int loudest = 0;
    for (qsizetype frame = onset; frame < onset + kRate / 10; ++frame)
        loudest = std::max(loudest, std::abs(output.sample(frame, 0)));
    ASSERT_GT(loudest, 1000);
    for (qsizetype frame = onset; frame < onset + 10; ++frame)
        EXPECT_LT(std::abs(output.sample(frame, 0)), loudest / 10) << "frame " << frame - onset;
}

TEST_F(PlaybackTest, APausedDeviceKeepsThePlace)
{
    start(TestSongs::toneSong());
    ASSERT_TRUE(waitUntil([&] { return position() >= 1; }));
    m_audio.stopBackgroundPlay();
    const quint32 pausedAt = position();
    ASSERT_TRUE(letDeviceWrite(4 * kSlackBytes));  // the driver writes silence meanwhile
    EXPECT_EQ(position(), pausedAt);
    m_audio.startBackgroundPlay(0);
    // On from where it paused; a starved machine may poll past the next position.
    ASSERT_TRUE(waitUntil([&] { return position() != pausedAt; }));
    EXPECT_GT(position(), pausedAt);
}

}  // namespace

namespace {

/// A sine held on channel 0, panned hard left, and another on channel 1, hard right, from the
/// first row on; channel 2 holds no note. 64 rows of 6 ticks of 20 ms in each of two orders.
ModuleMaker::Song leftAndRightSong()
{
    ModuleMaker::Song song;
    song.name = QStringLiteral("Left and Right");
    song.channels = 3;
    song.samples = {{QStringLiteral("Left"), ModuleMaker::Waveform::Sine, 32, 1024, true, 0, 64, 0},
                    {QStringLiteral("Right"), ModuleMaker::Waveform::Sine, 64, 1024, true, 0, 64, 255}};
    ModuleMaker::Pattern pattern;
    pattern.notes = {{0, 0, ModuleMaker::kNoteC4, 1, -1}, {0, 1, ModuleMaker::kNoteC4, 2, -1}};
    song.patterns = {pattern};
    song.orders = {0, 0};
    return song;
}

}  // namespace

TEST_F(PlaybackTest, AMutedChannelFallsSilentWithoutAClickWhileTheOthersPlayOn)
{
    const ModuleHandle module = start(leftAndRightSong());
    ASSERT_TRUE(letDeviceWrite(kSlackBytes));
    const qsizetype mutedAt = outputSize() / kFrameBytes;
    m_audio.setChannelMuted(module, 1, true);
    m_audio.setChannelMuted(module, 7, true);  // no such channel: nothing happens
    ASSERT_TRUE(letDeviceWrite(2 * kSlackBytes));
    const qsizetype unmutedAt = outputSize() / kFrameBytes;
    m_audio.setChannelMuted(module, 1, false);
    ASSERT_TRUE(letDeviceWrite(2 * kSlackBytes));
    const PcmOutput output = closeAndRead(kMode, kRate);

    const qsizetype slack = kSlackBytes / kFrameBytes;
    const int steadyRight = output.largestStep(kRate / 10, mutedAt, 1);
    ASSERT_GT(steadyRight, 100);
    EXPECT_TRUE(output.isChannelSilent(1) == false);
    for (qsizetype frame = mutedAt + slack; frame < unmutedAt; ++frame)
        ASSERT_EQ(output.sample(frame, 1), 0) << "right channel at frame " << frame;
    // The left channel plays on, and neither side clicks where the right one goes or comes.
    EXPECT_GT(output.largestStep(mutedAt, output.frameCount(), 0), 100);
    // libopenmpt ramps the channel's volume over a fraction of a millisecond, as at every
    // note; cut, the waveform would step by twenty times the steady tone's step.
    EXPECT_LE(output.largestStep(mutedAt, unmutedAt, 1), steadyRight * 5);
    EXPECT_LE(output.largestStep(unmutedAt, output.frameCount(), 1), steadyRight * 5);
    EXPECT_GT(output.largestStep(unmutedAt + slack, output.frameCount(), 1), 100);
}

TEST_F(PlaybackTest, AMutedChannelStaysSilentWhenItsSongSetsTheChannelVolume)
{
    // Impulse Tracker's Mxx sets the channel's volume, which is where muting puts a 0: every
    // 8 rows the right channel plays its note again with M40 (the full channel volume).
    ModuleMaker::Song song = leftAndRightSong();
    for (int row = 8; row < 64; row += 8)
        song.patterns[0].notes.append({row, 1, ModuleMaker::kNoteC4, 2, -1, 'M', 0x40});
    // Sound paced as a speaker plays it, while the event loop runs, as in the program.
    qunsetenv("SDL_DISKAUDIODELAY");
    const ModuleHandle module = start(song, 64, Format::It);
    ASSERT_TRUE(letDeviceWrite(kSlackBytes));
    const qsizetype mutedAt = outputSize() / kFrameBytes;
    m_audio.setChannelMuted(module, 1, true);
    const qint64 secondLater = outputSize() + kRate * kFrameBytes;  // past the M40 of row 8
    ASSERT_TRUE(waitUntil([&] {
        QCoreApplication::processEvents();
        return outputSize() >= secondLater;
    }));
    const qsizetype unmutedAt = outputSize() / kFrameBytes;
    m_audio.setChannelMuted(module, 1, false);
    ASSERT_TRUE(letDeviceWrite(2 * kSlackBytes));
    const PcmOutput output = closeAndRead(kMode, kRate);

    for (qsizetype frame = mutedAt + kSlackBytes / kFrameBytes; frame < unmutedAt; ++frame)
        ASSERT_EQ(output.sample(frame, 1), 0) << "right channel at frame " << frame;
    EXPECT_GT(output.largestStep(unmutedAt + kSlackBytes / kFrameBytes, output.frameCount(), 1), 100);
}

TEST_F(PlaybackTest, WhatIsHeardTellsTheRowAndWhichChannelsSound)
{
    HeardStatus status;
    m_audio.getHeardStatus(&status);
    EXPECT_EQ(status.module, 0u);  // nobody watches, nothing plays
    // Sound paced as a speaker plays it, so that what is rendered is heard a period later.
    qunsetenv("SDL_DISKAUDIODELAY");
    m_audio.watchHeard(true);
    const ModuleHandle module = start(leftAndRightSong());
    quint32 lastRow = 0;
    int rowsSeen = 0;
    ASSERT_TRUE(waitUntil([&] {
        m_audio.getHeardStatus(&status);
        if (status.module == module && status.row != lastRow) {
            EXPECT_GT(status.row, lastRow);  // rows come in their order, within the first order
            lastRow = status.row;
            ++rowsSeen;
        }
        return status.row >= 8;
    }));
    EXPECT_GT(rowsSeen, 2);
    ASSERT_EQ(status.levels.size(), 6);  // left and right of three channels
    EXPECT_GT(status.levels[0], 0.1f);   // channel 0, left
    EXPECT_GT(status.levels[3], 0.1f);   // channel 1, right
    EXPECT_EQ(status.levels[4], 0.0f);   // channel 2 holds no note
    EXPECT_EQ(status.levels[5], 0.0f);
    m_audio.watchHeard(false);
    m_audio.getHeardStatus(&status);
    EXPECT_EQ(status.module, 0u);
}
