// Keeping the computer awake while music plays, seen by the login manager (its python3-dbusmock
// double on a private bus standing in for the system bus), from the real program.
#include "support/JukeboxProgram.h"
#include "support/PrivateServices.h"
#include "support/TestSongs.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SleepInhibitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_loginManager.running())
            GTEST_SKIP() << "no dbus-daemon or python3-dbusmock here";
        m_environment.insert("DBUS_SYSTEM_BUS_ADDRESS", m_systemBus.address());
        m_environment.insert("DBUS_SESSION_BUS_ADDRESS", m_sessionBus.address());
    }

    /// The login manager's inhibitors, each as "what who mode".
    QStringList inhibitors()
    {
        const QDBusMessage reply = m_client.call(QDBusMessage::createMethodCall(
            "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "ListInhibitors"));
        QStringList found;
        const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            QString what, who, why, mode;
            uint user = 0, process = 0;
            list.beginStructure();
            list >> what >> who >> why >> mode >> user >> process;
            list.endStructure();
            found << what + " " + who + " " + mode;
        }
        list.endArray();
        return found;
    }

    /// Runs a second start with arguments, which hands them to the jukebox.
    bool command(const QString& argument)
    {
        QProcess& start = m_program.start({argument}, m_dir.path(), m_environment);
        return start.waitForFinished(20000) && start.exitCode() == 0;
    }

    PrivateBus m_systemBus;
    PrivateBus m_sessionBus;
    MockService m_loginManager{m_systemBus, "logind", "org.freedesktop.login1", true};
    QDBusConnection m_client = m_systemBus.connection();
    QTemporaryDir m_dir;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    JukeboxProgram m_program;
};

TEST_F(SleepInhibitorTest, TheLoginManagerKeepsTheComputerAwakeExactlyWhilePlaying)
{
    const QString song = TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::Xm, m_dir.path(), "song");
    QProcess& jukebox = m_program.start({song}, m_dir.path(), m_environment);
    const QStringList asleep;
    const QStringList awake = {"sleep Jukarium block"};  // sleep only: never idle
    EXPECT_TRUE(QTest::qWaitFor([&] { return inhibitors() == awake; }, 20000)) << qPrintable(inhibitors().join(','));

    ASSERT_TRUE(command("--stop"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return inhibitors() == asleep; }, 20000)) << qPrintable(inhibitors().join(','));
    ASSERT_TRUE(command("--play-pause"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return inhibitors() == awake; }, 20000)) << qPrintable(inhibitors().join(','));
    ASSERT_TRUE(command("--play-pause"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return inhibitors() == asleep; }, 20000)) << qPrintable(inhibitors().join(','));

    jukebox.terminate();
    ASSERT_TRUE(jukebox.waitForFinished(20000));
}

}  // namespace
