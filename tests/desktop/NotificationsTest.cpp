// Notifications of the modules that start, seen by the desktop's notification daemon (its
// python3-dbusmock double on a private session bus), from the real program on a real X display.
#include "support/JukeboxProgram.h"
#include "support/NotificationAreaDisplay.h"
#include "support/PrivateServices.h"
#include "support/TestSongs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class NotificationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_desktop.missing().isEmpty())
            GTEST_SKIP() << qPrintable(m_desktop.missing());
        if (!m_daemon.running())
            GTEST_SKIP() << "no dbus-daemon or python3-dbusmock here";
        QByteArray disc = "[General]\r\nApp=Vorn Jukarium\r\nDesc=Jukarium Disc file\r\nVer=1.0\r\n[Files]\r\n";
        for (const auto& [slot, name] : {std::pair{1, "First Tune"}, {4, "Fourth Tune"}, {9, "Ninth Tune"}}) {
            ModuleMaker::Song song = TestSongs::toneSong();
            song.name = name;
            const QString path = TestSongs::write(song, ModuleMaker::Format::Xm, m_dir.path(), QString("slot%1").arg(slot));
            disc += QByteArray::number(slot) + ".File=" + path.toUtf8() + "\r\n";
        }
        m_disc = m_dir.path() + "/Party Mix.jkdc";
        QFile file(m_disc);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(disc) == disc.size());
        m_environment = NotificationAreaDisplay::freshHome(
            m_desktop.environment(QProcessEnvironment::systemEnvironment()), m_home.path());
        m_environment.insert("DBUS_SESSION_BUS_ADDRESS", m_bus.address());
    }

    /// The jukebox, or a second start of it with arguments.
    QProcess& start(const QStringList& arguments) { return m_program.start(arguments, m_dir.path(), m_environment); }

    /// Moves the jukebox to its next slot as the desktop entry's action does, and waits until
    /// slot's module plays there.
    bool next(int slot)
    {
        QProcess& action = start({"--next"});
        return action.waitForFinished(NotificationAreaDisplay::kGuardMs) && action.exitCode() == 0
               && NotificationAreaDisplay::waitFor([&] { return !window(QString("SLOT%1.XM - ").arg(slot)).isEmpty(); });
    }

    QString window(const QString& module = {}) const
    {
        return m_desktop.visibleWindows({"--name", "^" + module + "Vorn Jukarium$"}).value(0);
    }

    QStringList notifications() const { return m_daemon.calls().filter(" Notify "); }

    NotificationAreaDisplay m_desktop;
    PrivateBus m_bus;
    MockService m_daemon{m_bus, "notification_daemon", "org.freedesktop.Notifications"};
    QTemporaryDir m_dir;
    QTemporaryDir m_home;
    QString m_disc;
    QProcessEnvironment m_environment;
    JukeboxProgram m_program;
};

TEST_F(NotificationsTest, ModulesThatStartUnseenShowOneBubbleReplacedEachTime)
{
    QProcess& jukebox = start({m_disc});
    ASSERT_TRUE(NotificationAreaDisplay::waitFor([&] { return !window().isEmpty(); }));
    // While the window is active nothing is shown: its user sees what plays.
    m_desktop.xdotool({"windowfocus", "--sync", window()});
    ASSERT_TRUE(next(1));

    const QStringList panels = m_desktop.visibleWindows({"--class", "^trayer$"});
    ASSERT_FALSE(panels.isEmpty());
    m_desktop.xdotool({"windowfocus", "--sync", panels.first()});
    ASSERT_TRUE(next(4));
    ASSERT_TRUE(next(9));
    ASSERT_TRUE(next(1));
    ASSERT_TRUE(NotificationAreaDisplay::waitFor([&] { return notifications().size() == 3; }))
        << qPrintable(m_daemon.calls().join('\n'));
    // In the order sent: a bubble for slot 1 while the window was active would come first.
    const QStringList bubbles = notifications();
    // The first replaces none; each one after replaces the id the daemon gave the first.
    EXPECT_TRUE(bubbles[0].contains("\"Jukarium\" 0 \"jukarium\" \"Fourth Tune\" \"Slot 4 · Party Mix\""))
        << qPrintable(m_daemon.calls().join('\n'));
    EXPECT_TRUE(bubbles[1].contains("\"Jukarium\" 1 \"jukarium\" \"Ninth Tune\" \"Slot 9 · Party Mix\""))
        << qPrintable(bubbles[1]);
    EXPECT_TRUE(bubbles[2].contains("\"Jukarium\" 1 \"jukarium\" \"First Tune\" \"Slot 1 · Party Mix\""))
        << qPrintable(bubbles[2]);
    for (const QString& bubble : bubbles)
        EXPECT_TRUE(bubble.endsWith("[] {\"desktop-entry\": \"jukarium\", \"transient\": True} -1")) << qPrintable(bubble);
    jukebox.terminate();
    ASSERT_TRUE(jukebox.waitForFinished(NotificationAreaDisplay::kGuardMs));
}

}  // namespace
