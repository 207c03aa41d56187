// Every module at the same loudness, end to end: the real audio library playing through SDL's
// disk driver, the real measurement on its thread and the cache in a real file. Each song is
// measured while it plays first, then recorded from its first note in a later start and
// measured afresh, so a gain applied wrongly, or not at all, shows as a level off the target.
#include "session/JukeboxSession.h"

#include "platform/Registry.h"
#include "platform/audio/LoudnessMeter.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestSongs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <ebur128.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kTargetLufs = -18;
constexpr int kRate = 44100;
constexpr int kFrameBytes = 4;  // 16-bit stereo, the default output

/// One order of a chord of channels voices of waveform at volume: about 7.7 seconds.
ModuleMaker::Song chordSong(int channels, ModuleMaker::Waveform waveform, int volume)
{
    ModuleMaker::Song song;
    song.name = QStringLiteral("Chord");
    song.channels = channels;
    song.samples = {{QStringLiteral("Voice"), waveform, 32, 2048, true, 0, volume, 128}};
    ModuleMaker::Pattern pattern;
    for (int row = 0; row < pattern.rows; row += 16) {
        for (int channel = 0; channel < channels; ++channel)
            pattern.notes.append({row, channel, ModuleMaker::noteNumber(3 + channel % 2, (row / 16 + 4 * channel) % 12), 1, -1});
    }
    song.patterns = {pattern};
    song.orders = {0};
    return song;
}

struct Measured {
    double integratedLufs = 0;
    double truePeakDbtp = 0;
};

/// Integrated loudness and true peak of 16-bit stereo frames.
Measured measure(const QByteArray& pcm)
{
    ebur128_state* meter = ebur128_init(2, kRate, EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
    ebur128_add_frames_short(meter, reinterpret_cast<const short*>(pcm.constData()),
                             static_cast<std::size_t>(pcm.size() / kFrameBytes));
    Measured measured;
    ebur128_loudness_global(meter, &measured.integratedLufs);
    double peak = 0;
    for (unsigned channel = 0; channel < 2; ++channel) {
        double channelPeak = 0;
        ebur128_true_peak(meter, channel, &channelPeak);
        peak = std::max(peak, channelPeak);
    }
    measured.truePeakDbtp = 20 * std::log10(peak);
    ebur128_destroy(&meter);
    return measured;
}

/// pcm from its first frame that is not silent: a device may write silence before the song.
QByteArray fromFirstSound(const QByteArray& pcm)
{
    qsizetype first = 0;
    while (first < pcm.size() && pcm[first] == '\0')
        ++first;
    return pcm.mid(first - first % kFrameBytes);
}

class EvenLoudnessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(outputPath));
        qputenv("SDL_DISKAUDIODELAY", "0");  // as fast as it renders
    }
    void TearDown() override
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        qunsetenv("SDL_DISKAUDIOFILE");
        qunsetenv("SDL_DISKAUDIODELAY");
    }

    std::unique_ptr<JukeboxSession> startSession()
    {
        auto session = std::make_unique<JukeboxSession>(
            registry, audio, [](int, const std::function<void()>& step) { step(); },
            LoudnessSource{cacheFile, measureLoudness});
        session->SetEvenLoudness(true, kTargetLufs);
        return session;
    }

    qint64 outputSize() const { return QFileInfo(outputPath).size(); }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString outputPath = dir.filePath(QStringLiteral("output.raw"));
    const QString cacheFile = dir.filePath(QStringLiteral("cache/jukarium/loudness"));
    Registry registry{dir.filePath(QStringLiteral("registry"))};
    ScriptedMessageBoxes boxes;
    OpenMptSdlAudio audio;
};

TEST_F(EvenLoudnessTest, QuietAndLoudModulesPlayAtTheTargetFromFiguresKeptAcrossADamagedCache)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(cacheFile).path()));
    {
        QFile damaged(cacheFile);
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("Jukarium loudness 1\nno figures here\n");
    }
    using ModuleMaker::Format;
    using ModuleMaker::Waveform;
    // About -36 and -7 LUFS as they are.
    const QString quiet = TestSongs::write(chordSong(1, Waveform::Sine, 8), Format::Xm, dir.path(), "quiet");
    const QString loud = TestSongs::write(chordSong(8, Waveform::Saw, 64), Format::It, dir.path(), "loud");
    ASSERT_FALSE(quiet.isEmpty());
    ASSERT_FALSE(loud.isEmpty());

    {
        auto session = startSession();
        for (const QString& path : {quiet, loud}) {
            // Unknown at first: it plays at once, and is measured meanwhile.
            session->OpenCommandFile(path);
            ASSERT_FALSE(session->player().Level().has_value());
            ASSERT_TRUE(QTest::qWaitFor([&] { return session->player().Level().has_value(); }, 60'000));
        }
    }
    // The damaged file was set aside, and a new one holds both songs.
    EXPECT_EQ(readFile(cacheFile + ".bad"), QByteArray("Jukarium loudness 1\nno figures here\n"));
    const QByteArray cache = readFile(cacheFile);
    EXPECT_EQ(cache.count('\n'), 3);

    for (const QString& path : {quiet, loud}) {
        SCOPED_TRACE(path.toStdString());
        // A later start knows it from its first note: nothing is measured or written.
        outputPath = dir.filePath(QFileInfo(path).baseName() + ".raw");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(outputPath));
        auto session = startSession();
        session->OpenCommandFile(path);
        ASSERT_TRUE(session->player().Level().has_value());
        const qint64 songBytes = static_cast<qint64>(session->player().Details().durationSeconds * kRate) * kFrameBytes;
        ASSERT_TRUE(QTest::qWaitFor([&] { return outputSize() >= 2 * songBytes; }, 60'000));
        session.reset();
        EXPECT_EQ(readFile(cacheFile), cache);

        const Measured played = measure(fromFirstSound(readFile(outputPath)).left(songBytes));
        EXPECT_NEAR(played.integratedLufs, kTargetLufs, 1.0);
        EXPECT_LE(played.truePeakDbtp, -1.0);
    }
}

}  // namespace
