#include "app/SingleInstance.h"
#include "support/JukeboxProgram.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

// Processes events until done() or a generous guard against hangs runs out.
template <typename Done>
bool processEventsUntil(Done done)
{
    QElapsedTimer guard;
    guard.start();
    while (!done()) {
        if (guard.elapsed() > 20000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

}  // namespace

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        claim();
    }

    void claim()
    {
        instance = SingleInstance::Claim(endpoint, QString());
        ASSERT_TRUE(instance);
        ASSERT_TRUE(instance->Listen());
        QObject::connect(instance.get(), &SingleInstance::fileReceived,
                         [this](const QString& text) { received.append(text); });
        instance->Serve();
    }

    // Starts from another thread, as a second process would, while this one serves. True when
    // that start handed text over; it must never become an instance itself.
    bool sendFromAnotherThread(const QString& text)
    {
        std::atomic<bool> done = false;
        bool becameInstance = false;
        bool handedOver = false;
        std::thread client([&] {
            becameInstance = SingleInstance::Claim(endpoint, text, &handedOver) != nullptr;
            done = true;
        });
        processEventsUntil([&] { return done.load(); });
        client.join();
        EXPECT_FALSE(becameInstance);
        return handedOver;
    }

    // Writes raw bytes as a misbehaving client and serves until it is answered or dropped.
    bool sendRaw(const QByteArray& bytes)
    {
        QLocalSocket client;
        client.connectToServer(endpoint);
        if (!client.waitForConnected(1000))
            return false;
        client.write(bytes);
        client.flush();
        processEventsUntil([&] {
            return client.bytesAvailable() > 0 || client.state() == QLocalSocket::UnconnectedState;
        });
        return client.bytesAvailable() > 0;
    }

    QTemporaryDir dir;
    QString endpoint = dir.path() + "/Vorn Jukarium-test";
    std::unique_ptr<SingleInstance> instance;
    QStringList received;
};

TEST_F(SingleInstanceTest, SecondClaimFindsTheInstanceAndHandsOverItsFile)
{
    EXPECT_TRUE(sendFromAnotherThread("/home/me/My Mods/Ünï song.xm"));
    EXPECT_TRUE(sendFromAnotherThread(""));
    EXPECT_EQ(received, QStringList({"/home/me/My Mods/Ünï song.xm", ""}));
}

TEST_F(SingleInstanceTest, NoInstanceNoHandOver)
{
    instance.reset();
    bool handedOver = true;
    EXPECT_TRUE(SingleInstance::Claim(endpoint, "/m/a.mod", &handedOver));
    EXPECT_FALSE(handedOver);
}

TEST_F(SingleInstanceTest, StaleEndpointOfAKilledInstanceIsTakenOver)
{
    instance.reset();
    // A socket file that nobody listens on any more, as a killed instance leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(endpoint);
    std::memcpy(address.sun_path, path.constData(), path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(endpoint));

    claim();
    EXPECT_TRUE(sendFromAnotherThread("/m/after.mod"));
    EXPECT_EQ(received, QStringList({"/m/after.mod"}));
}

TEST_F(SingleInstanceTest, BadMessagesAreHandledOrDroppedWithoutHarm)
{
    EXPECT_TRUE(sendRaw(QByteArray(1, '\0')));                  // empty text
    EXPECT_TRUE(sendRaw(QByteArray("\xff\xfe\x80garbage\0tail", 15)));  // cut at the NUL
    EXPECT_FALSE(sendRaw(QByteArray(10 * 1024 * 1024, 'x')));    // 10 MB: dropped
    EXPECT_FALSE(sendRaw(QByteArray("no end", 6) + QByteArray(70000, 'y') + QByteArray(1, '\0')));
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received[0], "");
    EXPECT_TRUE(received[1].endsWith("garbage"));
    EXPECT_TRUE(sendFromAnotherThread("/m/still works.xm"));
    EXPECT_EQ(received.last(), "/m/still works.xm");
}

TEST_F(SingleInstanceTest, ClientThatHangsUpMidMessageIsForgotten)
{
    {
        QLocalSocket client;
        client.connectToServer(endpoint);
        ASSERT_TRUE(client.waitForConnected(1000));
        client.write("/m/half");
        client.flush();
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(received.isEmpty());
    EXPECT_TRUE(sendFromAnotherThread("/m/whole.mod"));
    EXPECT_EQ(received, QStringList({"/m/whole.mod"}));
}

TEST_F(SingleInstanceTest, StartsThatComeBeforeServingWaitTheirTurn)
{
    instance.reset();
    instance = SingleInstance::Claim(endpoint, QString());
    ASSERT_TRUE(instance->Listen());
    QLocalSocket early;
    early.connectToServer(endpoint);
    ASSERT_TRUE(early.waitForConnected(1000));
    early.write(QByteArray("/m/early.xm\0", 12));
    early.flush();
    QCoreApplication::processEvents();
    EXPECT_TRUE(received.isEmpty());
    QObject::connect(instance.get(), &SingleInstance::fileReceived,
                     [this](const QString& text) { received.append(text); });
    instance->Serve();
    processEventsUntil([&] { return early.bytesAvailable() > 0; });
    EXPECT_EQ(received, QStringList({"/m/early.xm"}));
}

TEST_F(SingleInstanceTest, EndsCleanlyWhileAConnectionIsHalfReceived)
{
    QLocalSocket client;
    client.connectToServer(endpoint);
    ASSERT_TRUE(client.waitForConnected(1000));
    client.write("/m/half");
    client.flush();
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    instance.reset();  // its waiting socket goes with it, without reaching a destroyed table
    EXPECT_TRUE(received.isEmpty());
}

namespace {

const QString kCaption = QStringLiteral("Vorn Jukarium");
constexpr uid_t kNobody = 65534;

bool makeFolder(const QString& path, mode_t mode)
{
    return ::mkdir(QFile::encodeName(path).constData(), 0700) == 0 &&
           ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

}  // namespace

struct RefusedFolder {
    const char* what;
    // Puts something at folder that is not a private folder of this user.
    std::function<bool(const QString& folder)> make;
};

void PrintTo(const RefusedFolder& folder, std::ostream* out) { *out << folder.what; }

class RefusedFolderTest : public ::testing::TestWithParam<RefusedFolder> {
protected:
    NoRuntimeDirectory noRuntime;
};

TEST_P(RefusedFolderTest, StartMeetsNoOtherThroughIt)
{
    const QString folder = noRuntime.endpointFolder();
    ASSERT_TRUE(GetParam().make(folder)) << GetParam().what;
    EXPECT_EQ(SingleInstance::EndpointName(kCaption), QString()) << GetParam().what;
    const auto everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    EXPECT_TRUE(QDir(folder).isEmpty(everything)) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, RefusedFolderTest,
    ::testing::Values(
        RefusedFolder{"another user's",
                      [](const QString& folder) {
                          return makeFolder(folder, 0700) &&
                                 ::chown(QFile::encodeName(folder).constData(), kNobody,
                                         kNobody) == 0;
                      }},
        RefusedFolder{"open to everyone",
                      [](const QString& folder) { return makeFolder(folder, 0777); }},
        RefusedFolder{"a link to a private folder", [](const QString& folder) {
                          return makeFolder(folder + "-target", 0700) &&
                                 QFile::link(folder + "-target", folder);
                      }}));

TEST(PrivateFolderTest, RuntimeDirectoryOfAnotherUserIsPassedOver)
{
    NoRuntimeDirectory noRuntime;
    const QString foreign = noRuntime.temporaryDirectory() + "/runtime";
    ASSERT_TRUE(makeFolder(foreign, 0700));
    ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), kNobody, kNobody), 0);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(foreign));

    EXPECT_EQ(QFileInfo(SingleInstance::EndpointName(kCaption)).path(), noRuntime.endpointFolder());
    struct stat folder = {};
    ASSERT_EQ(::lstat(QFile::encodeName(noRuntime.endpointFolder()).constData(), &folder), 0);
    EXPECT_TRUE(S_ISDIR(folder.st_mode));
    EXPECT_EQ(folder.st_uid, ::geteuid());
    EXPECT_EQ(folder.st_mode & 07777, 0700u);
}
