// The program as a user starts it: one instance, second starts, termination signals, and
// settings files that are bad, kept as links, or left half-saved.
#include "support/JukeboxProgram.h"
#include "support/TestEnvironment.h"
#include "support/TestSongs.h"

#include "app/SingleInstance.h"
#include "platform/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kCaption = QStringLiteral("Vorn Jukarium");
constexpr uid_t kNobody = 65534;

sockaddr_un socketAddress(const QString& path)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(path);
    std::memcpy(address.sun_path, encoded.constData(),
                std::min<size_t>(encoded.size(), sizeof address.sun_path - 1));
    return address;
}

// The process that listens on path, or 0 when none does.
pid_t listenerOf(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = socketAddress(path);
    ucred peer = {};
    socklen_t size = sizeof peer;
    const bool found =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0;
    ::close(fd);
    return found ? peer.pid : 0;
}

// A process of another local user listening at path, as that user could leave one where a
// start looks for its instance. It answers every text like an instance would, and reports
// what it received.
class ForeignListener {
public:
    ForeignListener(const QString& path, uid_t user)
    {
        if (::pipe(m_events) != 0 || ::pipe(m_texts) != 0)
            return;
        const sockaddr_un address = socketAddress(path);
        const QByteArray encoded = QFile::encodeName(path);
        m_pid = ::fork();
        if (m_pid == 0)
            serve(address, encoded.constData(), user);
        ::close(m_events[1]);
        ::close(m_texts[1]);
    }

    ~ForeignListener()
    {
        stop();
        for (int end : {m_events[0], m_texts[0]})
            ::close(end);
    }

    /// Waits until the process listens. False when it failed or after a guard time.
    bool listening() { return waitFor(kListening); }

    /// Waits until the process has accepted one more connection. False after a guard time.
    bool connected() { return waitFor(kConnected); }

    /// Ends the process and returns every byte it received.
    QByteArray stop()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
        char buffer[4096];
        ssize_t count = 0;
        while ((count = ::read(m_texts[0], buffer, sizeof buffer)) > 0)
            m_received.append(buffer, count);
        return m_received;
    }

private:
    static constexpr char kListening = 'L';
    static constexpr char kConnected = 'C';

    bool waitFor(char event)
    {
        pollfd ready = {m_events[0], POLLIN, 0};
        char reported = 0;
        return ::poll(&ready, 1, 20000) == 1 && ::read(m_events[0], &reported, 1) == 1 &&
               reported == event;
    }

    // In the forked child: system calls only.
    [[noreturn]] void serve(const sockaddr_un& address, const char* path, uid_t user)
    {
        const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ::unlink(path);
        if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::chown(path, user, user) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0 ||
            ::listen(listener, 64) != 0 || ::write(m_events[1], &kListening, 1) != 1)
            ::_exit(1);
        for (;;) {
            const int connection = ::accept(listener, nullptr, nullptr);
            if (connection < 0 || ::write(m_events[1], &kConnected, 1) != 1)
                ::_exit(1);
            char buffer[512];
            ssize_t count = 0;
            while ((count = ::read(connection, buffer, sizeof buffer)) > 0) {
                if (::write(m_texts[1], buffer, count) != count)
                    ::_exit(1);
                if (std::memchr(buffer, '\0', count)) {
                    [[maybe_unused]] const auto answered = ::write(connection, "\x01", 1);
                    break;
                }
            }
            ::close(connection);
        }
    }

    pid_t m_pid = -1;
    int m_events[2] = {-1, -1};
    int m_texts[2] = {-1, -1};
    QByteArray m_received;
};

// A lock file at path naming this test process, which lives on, and owned by another user.
bool plantLock(const QString& path, uid_t user)
{
    {
        QLockFile model(path + ".model");
        if (!model.tryLock(0) || !QFile::copy(path + ".model", path))
            return false;
    }
    return ::chown(QFile::encodeName(path).constData(), user, user) == 0;
}

// Waits until the process listening on endpoint is process; false when process ends first or
// after a guard time.
bool becomesTheInstance(QProcess& process, const QString& endpoint)
{
    QElapsedTimer guard;
    guard.start();
    while (process.state() == QProcess::Running && guard.elapsed() < 20000) {
        if (listenerOf(endpoint) == static_cast<pid_t>(process.processId()))
            return true;
        process.waitForFinished(100);
    }
    return false;
}

// Waits until the raw sound written to path is no longer all silence; false after a guard time.
bool becomesAudible(const QString& path)
{
    QFile output(path);
    QElapsedTimer guard;
    guard.start();
    while (guard.elapsed() < 20000) {
        if (output.isOpen() || output.open(QIODevice::ReadOnly)) {
            const QByteArray sound = output.readAll();
            if (std::any_of(sound.begin(), sound.end(), [](char byte) { return byte != 0; }))
                return true;
        }
        QThread::msleep(100);
    }
    return false;
}

QString registryFile() { return TestEnvironment::configDirectory() + "/HKEY_CURRENT_USER.reg"; }

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool finishes(QProcess& process) { return process.waitForFinished(20000); }

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// For starts that play and end where the fade-out is not what is tested: each would wait a
// second for it when the next module loads and at the end.
void storeNoFadeOut()
{
    writeFile(registryFile(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0\\Sound Options]\n"
                              "\"Fadeout\"=\"0\"\n");
}

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

    // Waits until at most one of starts still runs and returns that one; every start that
    // ended must have handed its file over.
    QProcess* soleSurvivor(const std::vector<QProcess*>& starts)
    {
        QElapsedTimer guard;
        guard.start();
        while (program.runningCount() > 1 && guard.elapsed() < 120000) {
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
        EXPECT_EQ(program.runningCount(), 1);
        return survivor;
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
    storeNoFadeOut();
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
    QProcess* survivor = soleSurvivor(starts);
    ASSERT_NE(survivor, nullptr);
    terminate(*survivor);
}

class SimultaneousStartsTest : public ProgramTest, public ::testing::WithParamInterface<int> {};

TEST_P(SimultaneousStartsTest, BusyInstanceStillLeavesExactlyOne)
{
    // Every start brings a module, so the instance is busy fading out and loading for about
    // a second per start while the others queue up.
    QStringList files;
    for (int i = 0; i < GetParam(); ++i)
        files.append(module("many", QString("song %1").arg(i)));
    std::vector<QProcess*> starts;
    for (const QString& file : files)
        starts.push_back(&program.start({file}));
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    QProcess* survivor = soleSurvivor(starts);
    ASSERT_NE(survivor, nullptr);
    terminate(*survivor);
}

INSTANTIATE_TEST_SUITE_P(Starts, SimultaneousStartsTest, ::testing::Values(50, 200));

TEST_F(ProgramTest, RelativePathOfASecondStartIsFoundFromItsOwnFolder)
{
    // The instance runs in another folder and plays to a file, so the test hears whether the
    // module handed over plays.
    QTemporaryDir instanceFolder;
    const QString sound = instanceFolder.filePath("sound.raw");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SDL_AUDIODRIVER", "disk");
    environment.insert("SDL_DISKAUDIOFILE", sound);
    QProcess& jukebox = program.start({}, instanceFolder.path(), environment);
    ASSERT_TRUE(JukeboxProgram::waitForInstance());

    const QFileInfo song(module("my mods", "song"));
    QProcess& second = program.start({song.fileName()}, song.path(),
                                     QProcessEnvironment::systemEnvironment());
    ASSERT_TRUE(finishes(second));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(becomesAudible(sound));
    terminate(jukebox);
}

// Without a runtime directory the endpoint lives in the shared temporary directory, where
// every local user may create names.
class WithoutRuntimeDirectoryTest : public ProgramTest {
protected:
    NoRuntimeDirectory noRuntime;
};

TEST_F(WithoutRuntimeDirectoryTest, EndpointOfAnotherUserIsNeitherTrustedNorWaitedOn)
{
    const QString endpoint = SingleInstance::EndpointName(kCaption);
    ASSERT_EQ(QFileInfo(endpoint).path(), noRuntime.endpointFolder());

    // Another user's socket and lock where this user's instance would be, with live processes
    // behind both.
    ForeignListener foreign(endpoint, kNobody);
    ASSERT_TRUE(foreign.listening());
    ASSERT_TRUE(plantLock(endpoint + ".lock", kNobody));

    QProcess& jukebox = program.start({module("mine", "first")});
    ASSERT_TRUE(becomesTheInstance(jukebox, endpoint));
    QProcess& second = program.start({module("mine", "second")});
    ASSERT_TRUE(finishes(second));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(jukebox.state(), QProcess::Running);
    terminate(jukebox);
    EXPECT_EQ(foreign.stop(), QByteArray());
}

TEST_F(WithoutRuntimeDirectoryTest, StartHandsNothingToAListenerOfAnotherUser)
{
    const QString endpoint = SingleInstance::EndpointName(kCaption);
    // An instance of this user that holds its lock but does not listen yet, and another
    // user's process listening at the endpoint.
    QLockFile starting(endpoint + ".lock");
    ASSERT_TRUE(starting.tryLock(0));
    ForeignListener foreign(endpoint, kNobody);
    ASSERT_TRUE(foreign.listening());

    QProcess& jukebox = program.start({module("mine", "song")});
    ASSERT_TRUE(foreign.connected());
    starting.unlock();  // that instance ended without ever listening: this start takes over
    ASSERT_TRUE(becomesTheInstance(jukebox, endpoint));
    terminate(jukebox);
    EXPECT_EQ(foreign.stop(), QByteArray());
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
    QByteArray garbage(4096, '\0');
    for (char& byte : garbage)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    writeFile(registryFile(), garbage);
    QProcess& jukebox = program.start();
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    terminate(jukebox);

    QFile keptAside(registryFile() + ".bad");
    ASSERT_TRUE(keptAside.open(QIODevice::ReadOnly));
    EXPECT_EQ(keptAside.readAll(), garbage);
    EXPECT_TRUE(readAll(registryFile()).contains(R"("Fadeout"="10")"));
}

// Settings kept in the user's own repository and linked into place are saved there; a link
// to another user's file is no way to take it from them.
TEST_F(ProgramTest, SettingsLinkedToTheUsersOwnFileAreSavedThroughTheLinkAndOnlyThen)
{
    const QString kept = modules.path() + "/dotfiles/jukarium.reg";
    writeFile(kept, "REGEDIT4\n\n");
    ASSERT_TRUE(QFile::setPermissions(kept, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                | QFileDevice::ReadGroup));
    ASSERT_TRUE(QDir().mkpath(TestEnvironment::configDirectory()));
    ASSERT_TRUE(makeLink(kept, registryFile()));
    const std::optional<FileOwnership> before = ownershipOf(kept);
    QProcess& jukebox = program.start();
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    terminate(jukebox);

    EXPECT_TRUE(QFileInfo(registryFile()).isSymLink());
    EXPECT_TRUE(readAll(kept).contains(R"("Fadeout"="10")"));
    EXPECT_EQ(ownershipOf(kept), before);

    if (!giveToAnotherUser(kept))
        GTEST_SKIP() << "only root can give a file to another user";
    const QString theirs = readAll(kept);
    QProcess& again = program.start();
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    terminate(again);
    EXPECT_EQ(readAll(kept), theirs);
    EXPECT_EQ(ownershipOf(kept), (FileOwnership{kAnotherUser, before->permissions}));
    EXPECT_TRUE(QFileInfo(registryFile()).isSymLink());
}

TEST_F(ProgramTest, TemporariesOfKilledSavesAreRemovedAtTheStart)
{
    const QString prefix = TestEnvironment::configDirectory() + "/.HKEY_CURRENT_USER.reg.";
    writeFile(prefix + "0badf00d.tmp", QByteArray(1 << 20, 'x'));
    // Another instance, on another display, in the middle of a save.
    writeFile(prefix + "1234abcd.tmp", "REGEDIT4");
    QFile live(prefix + "1234abcd.tmp");
    ASSERT_TRUE(live.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(live.handle(), LOCK_EX), 0);
    QProcess& jukebox = program.start();
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    terminate(jukebox);

    EXPECT_FALSE(QFileInfo::exists(prefix + "0badf00d.tmp"));
    EXPECT_TRUE(QFileInfo::exists(prefix + "1234abcd.tmp"));
}

TEST_F(ProgramTest, OddCommandLinePathsStartNormally)
{
    // Modules that play, a missing one (its message box is open when the end is asked for)
    // and no file at all.
    storeNoFadeOut();
    for (const QString& path : {module("dir with blanks", "my song"), module("qu\"ote's", "x"),
                                module("Ünïcödé ♫", "sóng"), module("$(touch pwned)", "rm -rf x|y&"),
                                QString("/tmp/missing module.xm"), QString("")}) {
        QProcess& jukebox = program.start({path});
        ASSERT_TRUE(JukeboxProgram::waitForInstance()) << qPrintable(path);
        terminate(jukebox);
    }
}
