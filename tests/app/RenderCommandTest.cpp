// "jukarium --render": the program saves a song as an audio file for a script, and what it
// writes is read back by libsndfile as any other program would read it.
#include "support/TestEnvironment.h"
#include "support/TestSongs.h"

#include "platform/TmpfsMount.h"
#include "platform/audio/ModuleFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace ModuleMaker;

constexpr int kRate = 44100;
constexpr int kFadeSeconds = 10;
/// libopenmpt's length of a song and the frames it renders agree within a row's tick.
constexpr int kFramesTolerance = kRate / 50;

/// A note struck once at the start that dies away within a quarter of a second, then nearly
/// four seconds of silence: a song that ends.
Song endingSong()
{
    Song song;
    song.name = QStringLiteral("Ending Song");
    song.channels = 1;
    song.samples = {{QStringLiteral("Pluck"), Waveform::Square, 32, 2048, false, 256, 64, 128}};
    Pattern pattern;
    pattern.rows = 32;
    pattern.notes.append({0, 0, kNoteC4, 1, -1});
    song.patterns = {pattern};
    song.orders = {0};
    return song;
}

struct Rendered {
    int exitCode = -1;
    QString errors;
};

Rendered render(const QStringList& arguments)
{
    QProcess program;
    program.start(TestEnvironment::jukariumBinary(), QStringList{QStringLiteral("--render")} + arguments);
    if (!program.waitForStarted() || !program.waitForFinished(120000))
        return {-1, QStringLiteral("the program did not start or end")};
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromLocal8Bit(program.readAllStandardError())};
}

/// An audio file as libsndfile reads it.
struct AudioFile {
    bool opened = false;
    std::int64_t frames = 0;
    int rate = 0;
    QString title;
    std::vector<float> samples;  // interleaved stereo

    /// The largest absolute sample between seconds from and to.
    float peak(double from, double to) const
    {
        const auto begin = samples.begin() + 2 * std::int64_t(from * rate);
        const auto end = samples.begin() + std::min<std::int64_t>(2 * std::int64_t(to * rate), samples.size());
        float largest = 0;
        for (auto it = begin; it < end; ++it)
            largest = std::max(largest, std::fabs(*it));
        return largest;
    }
};

AudioFile readAudioFile(const QString& path)
{
    AudioFile file;
    SF_INFO info = {};
    SNDFILE* sound = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!sound)
        return file;
    file.opened = info.channels == 2;
    file.frames = info.frames;
    file.rate = info.samplerate;
    if (const char* title = sf_get_string(sound, SF_STR_TITLE))
        file.title = QString::fromUtf8(title);
    file.samples.resize(std::size_t(info.frames) * 2);
    sf_readf_float(sound, file.samples.data(), info.frames);
    sf_close(sound);
    return file;
}

double songSeconds(const QString& module)
{
    const auto loaded = loadModuleFile(module);
    return loaded ? loaded->details.durationSeconds : 0;
}

class RenderCommandTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
};

TEST_F(RenderCommandTest, ALoopingSongFadesOutAfterOnePassAndAnEndingOneStopsWithIt)
{
    const QString looping = TestSongs::write(TestSongs::toneSong(), Format::Xm, m_dir.path(), "looping");
    const QString ending = TestSongs::write(endingSong(), Format::Xm, m_dir.path(), "ending");
    const QString loopingFlac = m_dir.filePath("looping.flac");
    const QString endingFlac = m_dir.filePath("ending.flac");

    const Rendered loopingRun = render({loopingFlac, looping});
    ASSERT_EQ(loopingRun.exitCode, 0) << qPrintable(loopingRun.errors);
    EXPECT_TRUE(loopingRun.errors.isEmpty()) << qPrintable(loopingRun.errors);
    const AudioFile loopingFile = readAudioFile(loopingFlac);
    ASSERT_TRUE(loopingFile.opened);
    const double loopingSeconds = songSeconds(looping);
    ASSERT_GT(loopingSeconds, 5.0);
    EXPECT_EQ(loopingFile.rate, kRate);
    EXPECT_NEAR(loopingFile.frames, std::llround((loopingSeconds + kFadeSeconds) * kRate), kFramesTolerance);
    EXPECT_EQ(loopingFile.title, QString::fromLatin1(TestSongs::kToneSongName));
    // Sounding through its end into the fade, which dies away to nothing.
    const float passEnd = loopingFile.peak(loopingSeconds - 0.5, loopingSeconds);
    EXPECT_GT(passEnd, 0.1f);
    EXPECT_GT(loopingFile.peak(loopingSeconds, loopingSeconds + 1), 0.5f * passEnd);
    EXPECT_LT(loopingFile.peak(loopingSeconds + kFadeSeconds - 0.2, loopingSeconds + kFadeSeconds), 0.05f * passEnd);

    const Rendered endingRun = render({endingFlac, ending});
    ASSERT_EQ(endingRun.exitCode, 0) << qPrintable(endingRun.errors);
    const AudioFile endingFile = readAudioFile(endingFlac);
    ASSERT_TRUE(endingFile.opened);
    EXPECT_NEAR(endingFile.frames, std::llround(songSeconds(ending) * kRate), kFramesTolerance);
    EXPECT_EQ(endingFile.title, QStringLiteral("Ending Song"));

    // A file already there is never replaced without asking, and nobody is there to ask.
    const QByteArray before = [&] {
        QFile file(endingFlac);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const Rendered again = render({endingFlac, looping});
    EXPECT_NE(again.exitCode, 0);
    EXPECT_TRUE(again.errors.contains(endingFlac)) << qPrintable(again.errors);
    QFile after(endingFlac);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST_F(RenderCommandTest, AFullVolumeFailsWithTheReasonAndLeavesNoFile)
{
    TmpfsMount full(m_dir.filePath("full"), "64k");
    if (!full.isMounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const QString module = TestSongs::write(TestSongs::toneSong(), Format::Xm, m_dir.path(), "song");
    for (const char* name : {"song.wav", "song.flac", "song.mp3"}) {
        const QString target = m_dir.filePath(QStringLiteral("full/") + QLatin1String(name));
        const Rendered run = render({target, module});
        EXPECT_NE(run.exitCode, 0) << name;
        EXPECT_TRUE(run.errors.contains(QStringLiteral("No space left on device"))) << qPrintable(run.errors);
        EXPECT_TRUE(QDir(m_dir.filePath("full")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
            << name;
    }
}

TEST_F(RenderCommandTest, WrongArgumentsAreNamedAndWriteNothing)
{
    const QString module = TestSongs::write(TestSongs::toneSong(), Format::Xm, m_dir.path(), "song");
    for (const QStringList& arguments :
         {QStringList{m_dir.filePath("song.xyz"), module}, QStringList{m_dir.filePath("a.flac")},
          QStringList{m_dir.filePath("a.flac"), module, "--subsong", "2"},
          QStringList{m_dir.filePath("a.flac"), m_dir.filePath("missing.xm")}}) {
        const Rendered run = render(arguments);
        EXPECT_NE(run.exitCode, 0) << qPrintable(arguments.join(' '));
        EXPECT_TRUE(run.errors.startsWith(QStringLiteral("jukarium: "))) << qPrintable(run.errors);
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList({"*.flac", "*.xyz", ".*.tmp"}, QDir::Files | QDir::Hidden).size(), 0);
}

}  // namespace
