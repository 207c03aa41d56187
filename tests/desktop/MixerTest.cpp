// The jukebox in the sound server's mixer: the real program playing through a PulseAudio server
// of the test's own, asked with pactl as a mixer asks.
#include "support/JukeboxProgram.h"
#include "support/PrivateServices.h"
#include "support/TestSongs.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

/// The properties of each stream the server plays, as "name = value" lines.
QStringList streams(const PrivateSoundServer& server)
{
    return server.pactl({"list", "sink-inputs"}).split(QRegularExpression("^Sink Input #", QRegularExpression::MultilineOption),
                                                      Qt::SkipEmptyParts);
}

/// Whether a stream of the server shows every one of properties.
bool showsStream(const PrivateSoundServer& server, const QStringList& properties)
{
    const QStringList all = streams(server);
    return std::any_of(all.cbegin(), all.cend(), [&](const QString& stream) {
        return std::all_of(properties.cbegin(), properties.cend(),
                           [&](const QString& property) { return stream.contains(property); });
    });
}

TEST(MixerTest, TheMixerShowsTheJukeboxAndEachModuleItStartsAsMusic)
{
    PrivateSoundServer server;
    if (server.address().isEmpty())
        GTEST_SKIP() << "no PulseAudio server and pactl here";
    QTemporaryDir dir;
    ModuleMaker::Song second = TestSongs::toneSong();
    second.name = "Second Song";
    const QString first = TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::Xm, dir.path(), "first");
    const QString next = TestSongs::write(second, ModuleMaker::Format::S3m, dir.path(), "second");

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SDL_AUDIODRIVER", "pulseaudio");
    environment.insert("PULSE_SERVER", server.address());
    JukeboxProgram program;
    QProcess& jukebox = program.start({first}, dir.path(), environment);
    const QStringList theJukebox = {"application.name = \"Jukarium\"", "application.icon_name = \"jukarium\"",
                                  "media.role = \"music\""};
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return showsStream(server, theJukebox + QStringList{QStringLiteral("media.name = \"%1\"").arg(TestSongs::kToneSongName)});
    }, 20000)) << qPrintable(streams(server).join("\n"));

    // A module started while another plays gets a stream of its own, named after it.
    QProcess& secondStart = program.start({next}, dir.path(), environment);
    ASSERT_TRUE(secondStart.waitForFinished(20000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return showsStream(server, theJukebox + QStringList{"media.name = \"Second Song\""}); },
                                20000)) << qPrintable(streams(server).join("\n"));
    jukebox.terminate();
    ASSERT_TRUE(jukebox.waitForFinished(20000));
}

}  // namespace
