// The program as a user starts it: one instance, second starts, termination signals, and
// bad settings files.
#include "support/JukeboxProgram.h"
#include "support/TestEnvironment.h"
#include "support/TestSongs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QString registryFile() { return TestEnvironment::configDirectory() + "/HKEY_CURRENT_USER.reg"; }

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool finishes(QProcess& process) { return process.waitForFinished(20000); }

}  // namespace

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(TestEnvironment::jukariumBinary().isEmpty()) << "JUKARIUM_BINARY is not set";
        QDir(TestEnvironment::configDirectory()).removeRecursively();
    }

    void terminate(QProcess& process, int signal = SIGTERM)
    {
        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(finishes(process));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }

    // A real module at dir/name, for starts that load and play without any message.
    QString module(const QString& directory, const QString& name)
    {
        QDir().mkpath(modules.path() + "/" + directory);
        return TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::Mod,
                                modules.path() + "/" + directory, name);
    }

    QTemporaryDir modules;
    JukeboxProgram program;
};

TEST_F(ProgramTest, SecondStartsHandOverTheirFileAndEnd)
{
    QProcess& first = program.start();
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    const QStringList seconds[] = {{},
                                   {module("My Mods", "song one")},
                                   {module("odd", "a\"b;$(touch x)&")},
                                   {"/tmp/notes.txt"}};
    for (const QStringList& arguments : seconds) {
        QProcess& second = program.start(arguments);
        ASSERT_TRUE(finishes(second));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
    }
    EXPECT_EQ(first.state(), QProcess::Running);
    terminate(first);
}

TEST_F(ProgramTest, TwentySimultaneousStartsLeaveExactlyOneInstance)
{
    std::vector<QProcess*> starts;
    for (int i = 0; i < 20; ++i)
        starts.push_back(&program.start({QString("/tmp/notes%1.txt").arg(i)}));
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    QElapsedTimer guard;
    guard.start();
    while (program.runningCount() > 1 && guard.elapsed() < 60000) {
        for (QProcess* start : starts)
            start->waitForFinished(10);
    }
    QProcess* survivor = nullptr;
    for (QProcess* start : starts) {
        if (start->state() == QProcess::NotRunning)
            EXPECT_EQ(start->exitCode(), 0);
        else
            survivor = start;
    }
    ASSERT_NE(survivor, nullptr);
    EXPECT_EQ(program.runningCount(), 1);
    terminate(*survivor);
}

TEST_F(ProgramTest, KilledInstanceDoesNotBlockTheNextStart)
{
    QProcess& killed = program.start();
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    killed.kill();
    ASSERT_TRUE(finishes(killed));

    QProcess& next = program.start();
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    QProcess& second = program.start({"/tmp/notes.txt"});
    ASSERT_TRUE(finishes(second));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(next.state(), QProcess::Running);
    terminate(next);
}

class TerminationTest : public ProgramTest, public ::testing::WithParamInterface<int> {};

TEST_P(TerminationTest, PoliteSignalsCloseOrderlyAndWriteTheSettings)
{
    QProcess& jukebox = program.start();
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    terminate(jukebox, GetParam());

    const QString stored = readAll(registryFile());
    const QString options = "[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0";
    EXPECT_TRUE(stored.startsWith("REGEDIT4"));
    for (const char* expected :
         {"\\Paths]", "\\User Actions]", "\\Sound Options]", "\\Main Window]"})
        EXPECT_TRUE(stored.contains(options + expected)) << expected;
    for (const char* expected :
         {R"("OpenModule Path"="")", R"("OpenDisc Path"="")", R"("User Action #1 - Path"="")",
          R"("User Action #3 - Sleep"="0")", R"("User Action #2 - Close Mod"="1")",
          R"("Playback mode"="3")", R"("Playback frequency"="4")", R"("Playback buffer"="2")",
          R"("Scrollspeed"="1")", R"("Fadeout"="10")", R"("VolumeExe"="")", R"("Height"=dword:)",
          R"("Left"=dword:)", R"("Top"=dword:)", R"("Width"=dword:)"})
        EXPECT_TRUE(stored.contains(expected)) << expected;
    EXPECT_FALSE(stored.contains("FileControl Paths"));
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST_F(ProgramTest, UnreadableSettingsAreKeptAsideAndDefaultsUsed)
{
    QDir().mkpath(TestEnvironment::configDirectory());
    QByteArray garbage(4096, '\0');
    for (char& byte : garbage)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    {
        QFile file(registryFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    QProcess& jukebox = program.start();
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    terminate(jukebox);

    QFile keptAside(registryFile() + ".bad");
    ASSERT_TRUE(keptAside.open(QIODevice::ReadOnly));
    EXPECT_EQ(keptAside.readAll(), garbage);
    EXPECT_TRUE(readAll(registryFile()).contains(R"("Fadeout"="10")"));
}

TEST_F(ProgramTest, OddCommandLinePathsStartNormally)
{
    // Modules that play, a missing one (its message box is open when the end is asked for)
    // and no file at all.
    for (const QString& path : {module("dir with blanks", "my song"), module("qu\"ote's", "x"),
                                module("Ünïcödé ♫", "sóng"), module("$(touch pwned)", "rm -rf x|y&"),
                                QString("/tmp/missing module.xm"), QString("")}) {
        QProcess& jukebox = program.start({path});
        ASSERT_TRUE(JukeboxProgram::waitForInstance()) << qPrintable(path);
        terminate(jukebox);
    }
}
