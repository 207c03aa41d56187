// The module maker's files, as libopenmpt reads and plays them.
#include "platform/audio/OpenMptSdlAudio.h"
#include "support/TestSongs.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <sstream>

using ModuleMaker::Format;

namespace {

struct Expected {
    Format format;
    std::string type;
    int sampleCount;  // MOD always has 31 sample slots
    int instrumentCount;
};

void PrintTo(const Expected& expected, std::ostream* out) { *out << expected.type; }

class ModuleMakerFormatTest : public ::testing::TestWithParam<Expected> {
protected:
    openmpt::module load(const ModuleMaker::Song& song)
    {
        const QByteArray bytes = ModuleMaker::make(song, GetParam().format);
        EXPECT_FALSE(bytes.isEmpty());
        return openmpt::module(bytes.constData(), std::size_t(bytes.size()), m_log);
    }

    std::ostringstream m_log;
};

TEST_P(ModuleMakerFormatTest, LoadsWithTheCountsAndNamesOfTheSong)
{
    openmpt::module module = load(TestSongs::toneSong());

    EXPECT_EQ(module.get_metadata("type"), GetParam().type);
    EXPECT_EQ(module.get_metadata("title"), TestSongs::kToneSongName);
    EXPECT_EQ(module.get_num_orders(), TestSongs::kToneSongOrders);
    EXPECT_EQ(module.get_num_patterns(), TestSongs::kToneSongPatterns);
    EXPECT_EQ(module.get_num_channels(), TestSongs::kToneSongChannels);
    EXPECT_EQ(module.get_num_samples(), GetParam().sampleCount);
    EXPECT_EQ(module.get_num_instruments(), GetParam().instrumentCount);
    const auto names = module.get_sample_names();
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[0], "Square Lead");
    EXPECT_EQ(names[1], "Saw Bass");
    EXPECT_EQ(names[2], "Sine Pad");
    EXPECT_EQ(m_log.str().find("error"), std::string::npos) << m_log.str();
}

TEST_P(ModuleMakerFormatTest, PlaysAudiblyForTheLengthOfItsPatterns)
{
    openmpt::module module = load(TestSongs::toneSong());

    // Six orders of 16 rows, 3 ticks of 20 ms each.
    EXPECT_NEAR(module.get_duration_seconds(), 6 * 16 * 0.06, 0.01);
    std::vector<float> samples(2 * 44100);
    ASSERT_EQ(module.read_interleaved_stereo(44100, 44100, samples.data()), 44100u);
    double energy = 0;
    for (float sample : samples)
        energy += double(sample) * sample;
    EXPECT_GT(std::sqrt(energy / samples.size()), 0.05);
}

TEST_P(ModuleMakerFormatTest, PlaysTheNoteAtItsPitch)
{
    // One looped square cycle of 32 points at C-4 (8363 Hz): 261 Hz, 522 zero crossings.
    ModuleMaker::Song song = TestSongs::beatSong();
    song.channels = 4;
    song.samples[0] = {QStringLiteral("Tone"), ModuleMaker::Waveform::Square, 32, 1024, true, 0, 64, 128};
    song.patterns[0].notes = {{0, 0, ModuleMaker::kNoteC4, 1, -1}};
    openmpt::module module = load(song);

    std::vector<float> mono(48000);
    module.read(48000, mono.size(), mono.data());
    int crossings = 0;
    for (std::size_t i = 4800; i + 1 < mono.size(); ++i)
        crossings += (mono[i] < 0) != (mono[i + 1] < 0);
    EXPECT_NEAR(crossings / 0.9, 2 * 8363.0 / 32, 8);
}

INSTANTIATE_TEST_SUITE_P(Formats, ModuleMakerFormatTest,
                         ::testing::Values(Expected{Format::Mod, "mod", 31, 0},
                                           Expected{Format::S3m, "s3m", 3, 0},
                                           Expected{Format::Xm, "xm", 3, 3},
                                           Expected{Format::It, "it", 3, 3}),
                         [](const auto& info) { return info.param.type; });

class ModuleMakerMessageTest : public ::testing::TestWithParam<Format> {};

TEST_P(ModuleMakerMessageTest, TheSongMessageComesBackThroughTheAudioLibrary)
{
    QTemporaryDir dir;
    ModuleMaker::Song song = TestSongs::toneSong();
    song.message = QStringLiteral("Made for the jukebox\n\n  by its own maker");
    OpenMptSdlAudio audio;
    const ModuleHandle module =
        audio.loadModule(TestSongs::write(song, GetParam(), dir.path(), QStringLiteral("message")));
    ASSERT_NE(module, 0u);
    ModuleDetails details;
    audio.getModuleDetails(module, &details);
    EXPECT_EQ(details.message, song.message);
}

INSTANTIATE_TEST_SUITE_P(Formats, ModuleMakerMessageTest, ::testing::Values(Format::Xm, Format::It),
                         [](const auto& info) { return ModuleMaker::extension(info.param).toStdString(); });

TEST(ModuleMakerTest, RefusesSongsOutsideTheFormat)
{
    using ModuleMaker::Song;
    const Song valid = TestSongs::toneSong();
    const struct {
        const char* what;
        Format format;
        std::function<void(Song&)> change;
    } cases[] = {
        {"MOD with 8 channels", Format::Mod, [](Song& s) { s.channels = 8; }},
        {"note below MOD's range", Format::Mod, [](Song& s) { s.patterns[0].notes[0].note = 36; }},
        {"note off in MOD", Format::Mod, [](Song& s) { s.patterns[0].notes[0].note = ModuleMaker::kNoteOff; }},
        {"S3M with 17 channels", Format::S3m, [](Song& s) { s.channels = 17; }},
        {"65 rows in S3M", Format::S3m, [](Song& s) { s.patterns[0].rows = 65; }},
        {"no orders", Format::Xm, [](Song& s) { s.orders.clear(); }},
        {"order of a missing pattern", Format::Xm, [](Song& s) { s.orders.append(4); }},
        {"note past the last row", Format::Xm, [](Song& s) { s.patterns[0].notes[0].row = 16; }},
        {"note in a missing channel", Format::Xm, [](Song& s) { s.patterns[0].notes[0].channel = 4; }},
        {"missing sample", Format::Xm, [](Song& s) { s.patterns[0].notes[0].sample = 4; }},
        {"odd sample length", Format::Xm, [](Song& s) { s.samples[0].length = 1023; }},
        {"volume 65", Format::Xm, [](Song& s) { s.samples[0].volume = 65; }},
        {"tempo 31", Format::Xm, [](Song& s) { s.tempo = 31; }},
        {"IT with 65 channels", Format::It, [](Song& s) { s.channels = 65; }},
        {"201 rows in IT", Format::It, [](Song& s) { s.patterns[0].rows = 201; }},
        // A copy: QList::resize frees the old elements before it copies the value it is given.
        {"100 samples in IT", Format::It,
         [](Song& s) { s.samples.resize(100, ModuleMaker::Sample(s.samples[0])); }},
        {"MOD with no room for the speed", Format::Mod, [](Song& s) {
             for (int channel = 0; channel < 4; ++channel)
                 s.patterns[0].notes.append({0, channel, ModuleMaker::kNoteC4, 1, 32});
         }},
    };
    for (const auto& c : cases) {
        Song song = valid;
        c.change(song);
        EXPECT_TRUE(ModuleMaker::make(song, c.format).isEmpty()) << c.what;
    }
}

TEST(ModuleMakerTest, WritesTheFileWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("song.xm"));
    ASSERT_TRUE(ModuleMaker::write(TestSongs::toneSong(), Format::Xm, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ModuleMaker::make(TestSongs::toneSong(), Format::Xm));

    ModuleMaker::Song invalid = TestSongs::toneSong();
    invalid.orders.clear();
    const QString invalidPath = dir.filePath(QStringLiteral("invalid.xm"));
    EXPECT_FALSE(ModuleMaker::write(invalid, Format::Xm, invalidPath));
    EXPECT_FALSE(QFile::exists(invalidPath));
    EXPECT_FALSE(ModuleMaker::write(TestSongs::toneSong(), Format::Xm, dir.filePath("no/such/dir.xm")));
}

}  // namespace
