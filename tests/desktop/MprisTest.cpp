// The jukebox on the desktop's media controls, seen from the session bus: a private bus, the
// real program, real D-Bus calls.
#include "support/JukeboxProgram.h"
#include "support/PrivateServices.h"
#include "support/TestEnvironment.h"
#include "support/TestSongs.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.jukarium");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kMessage = QStringLiteral("Made for the tests\nby the module maker");

/// The names of the properties announced with PropertiesChanged, in order, each playback
/// status announced, and how many jumps Seeked announced.
class PropertiesRecorder : public QObject {
    Q_OBJECT
public:
    QStringList names;
    QStringList statuses;
    int seeks = 0;

public slots:
    void changed(const QDBusMessage& message)
    {
        const QVariantMap changed = qdbus_cast<QVariantMap>(message.arguments().value(1));
        names += changed.keys();
        if (changed.contains("PlaybackStatus"))
            statuses << changed.value("PlaybackStatus").toString();
    }
    void seeked(qlonglong) { ++seeks; }
};

class MprisTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (m_bus.address().isEmpty())
            GTEST_SKIP() << "no dbus-daemon here";
        // Short fades keep the test quick; the volume is stored under "Playing".
        writeFile(TestEnvironment::configDirectory() + "/HKEY_CURRENT_USER.reg",
                  "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0\\Sound Options]\n"
                  "\"Fadeout\"=\"2\"\n");
        ModuleMaker::Song withMessage = TestSongs::toneSong();
        withMessage.message = kMessage;
        m_slots = {{1, TestSongs::write(withMessage, ModuleMaker::Format::Xm, m_dir.path(), "one")},
                   {4, TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::S3m, m_dir.path(), "four")},
                   {9, TestSongs::write(TestSongs::beatSong(), ModuleMaker::Format::Xm, m_dir.path(), "nine")}};
        QByteArray disc = "[GeNeRaL]\r\nApp=Vorn Jukarium\r\nDesc=Jukarium Disc file\r\nVer=1.0\r\n[FiLeS]\r\n";
        for (auto it = m_slots.cbegin(); it != m_slots.cend(); ++it)
            disc += QByteArray::number(it.key()) + ".File=" + it.value().toUtf8() + "\r\n";
        m_disc = m_dir.path() + "/slots.jkdc";
        writeFile(m_disc, disc);
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    QProcess& startJukebox(const QStringList& arguments, const QString& busAddress,
                           const QString& workingDirectory = QDir::currentPath())
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        return m_program.start(arguments, workingDirectory, environment);
    }

    bool waitForService()
    {
        return QTest::qWaitFor([&] { return m_client.interface()->isServiceRegistered(kService).value(); },
                               20000);
    }

    QVariant property(const QString& interface, const QString& name)
    {
        QDBusMessage get = QDBusMessage::createMethodCall(
            kService, kPath, "org.freedesktop.DBus.Properties", "Get");
        get << interface << name;
        const QDBusMessage reply = m_client.call(get);
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

    QVariantMap metadata()
    {
        QVariantMap map;
        property(kPlayer, "Metadata").value<QDBusArgument>() >> map;
        return map;
    }

    void call(const QString& interface, const QString& method, const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        message.setArguments(arguments);
        const QDBusMessage reply = m_client.call(message);
        ASSERT_NE(reply.type(), QDBusMessage::ErrorMessage) << qPrintable(reply.errorMessage());
    }

    /// Waits until the module of slot plays.
    bool waitForSlot(int slot)
    {
        const QString url = QUrl::fromLocalFile(m_slots.value(slot)).toString(QUrl::FullyEncoded);
        const bool played = QTest::qWaitFor([&] {
            return metadata().value("xesam:url").toString() == url
                   && property(kPlayer, "PlaybackStatus").toString() == "Playing";
        }, 20000);
        if (!played)
            ADD_FAILURE() << "playing " << qPrintable(metadata().value("xesam:url").toString()) << " "
                          << qPrintable(property(kPlayer, "PlaybackStatus").toString()) << " instead of "
                          << qPrintable(url);
        return played;
    }

    PrivateBus m_bus;
    QDBusConnection m_client = m_bus.connection();
    QTemporaryDir m_dir;
    QMap<int, QString> m_slots;
    QString m_disc;
    JukeboxProgram m_program;
};

TEST_F(MprisTest, MediaControlsPlayTheDiscAndReportEveryChange)
{
    QProcess& jukebox = startJukebox({m_disc}, m_bus.address());
    ASSERT_TRUE(waitForService());
    PropertiesRecorder announced;
    ASSERT_TRUE(m_client.connect(kService, kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                                 &announced, SLOT(changed(QDBusMessage))));

    EXPECT_EQ(property(kRoot, "Identity").toString(), "Jukarium");
    EXPECT_EQ(property(kRoot, "DesktopEntry").toString(), "jukarium");
    EXPECT_EQ(property(kPlayer, "PlaybackStatus").toString(), "Stopped");
    EXPECT_TRUE(property(kPlayer, "CanGoNext").toBool());

    call(kPlayer, "Play");
    ASSERT_TRUE(waitForSlot(1));
    const QVariantMap first = metadata();
    EXPECT_EQ(first.value("xesam:title").toString(), TestSongs::kToneSongName);
    EXPECT_GT(first.value("mpris:length").toLongLong(), 3'000'000);
    EXPECT_EQ(first.value("xesam:comment").toStringList(), kMessage.split('\n'));

    call(kPlayer, "Next");
    ASSERT_TRUE(waitForSlot(4));
    EXPECT_FALSE(metadata().contains("xesam:comment"));
    EXPECT_NE(metadata().value("mpris:trackid"), first.value("mpris:trackid"));
    call(kPlayer, "Next");
    ASSERT_TRUE(waitForSlot(9));
    call(kPlayer, "Next");  // wraps around
    ASSERT_TRUE(waitForSlot(1));
    call(kPlayer, "Previous");
    ASSERT_TRUE(waitForSlot(9));
    // From module to module it plays throughout: nothing between was announced.
    QTest::qWait(100);
    EXPECT_EQ(announced.statuses.filter("Playing").size(), announced.statuses.size())
        << qPrintable(announced.statuses.join(' '));

    call(kPlayer, "Pause");
    EXPECT_TRUE(QTest::qWaitFor([&] { return property(kPlayer, "PlaybackStatus") == "Paused"; }, 10000));
    const qlonglong pausedAt = property(kPlayer, "Position").toLongLong();
    call(kPlayer, "Play");
    EXPECT_TRUE(QTest::qWaitFor([&] { return property(kPlayer, "PlaybackStatus") == "Playing"; }, 10000));
    EXPECT_GE(property(kPlayer, "Position").toLongLong(), pausedAt);  // continued, not restarted
    // Signals come in between the calls, through the event loop.
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return announced.names.count("PlaybackStatus") >= 3 && announced.names.count("Metadata") >= 5;
    }, 5000)) << qPrintable(announced.names.join(' '));

    call(kPlayer, "Stop");
    EXPECT_TRUE(QTest::qWaitFor([&] { return property(kPlayer, "Position").toLongLong() == 0; }, 10000));

    const auto setProperty = [this](const QString& name, double value) {
        QDBusMessage set = QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.DBus.Properties", "Set");
        set << kPlayer << name << QVariant::fromValue(QDBusVariant(value));
        return m_client.call(set).type() != QDBusMessage::ErrorMessage;
    };
    EXPECT_TRUE(setProperty("Volume", 0.5));
    EXPECT_DOUBLE_EQ(property(kPlayer, "Volume").toDouble(), 0.5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return announced.names.contains("Volume"); }, 5000));
    // Nonsense from a caller changes nothing: no volume that is not a number, no other speed.
    setProperty("Volume", std::nan(""));
    EXPECT_DOUBLE_EQ(property(kPlayer, "Volume").toDouble(), 0.5);
    EXPECT_FALSE(setProperty("Rate", 0.0));
    EXPECT_DOUBLE_EQ(property(kPlayer, "Rate").toDouble(), 1.0);

    call(kRoot, "Quit");
    ASSERT_TRUE(jukebox.waitForFinished(20000));
    EXPECT_EQ(jukebox.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(jukebox.exitCode(), 0);
    QFile settings(TestEnvironment::configDirectory() + "/HKEY_CURRENT_USER.reg");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("\"Volume\"=\"50\""));
}

TEST_F(MprisTest, ASongThatRepeatsStaysWithinItsLengthAndEachRepeatIsAJump)
{
    ModuleMaker::Song oneSecond = TestSongs::beatSong();
    oneSecond.orders = {0};
    const QString path = TestSongs::write(oneSecond, ModuleMaker::Format::Xm, m_dir.path(), "short");
    QProcess& jukebox = startJukebox({path}, m_bus.address());
    ASSERT_TRUE(waitForService());
    PropertiesRecorder announced;
    ASSERT_TRUE(m_client.connect(kService, kPath, kPlayer, "Seeked", &announced, SLOT(seeked(qlonglong))));
    ASSERT_TRUE(m_client.connect(kService, kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                                 &announced, SLOT(changed(QDBusMessage))));
    EXPECT_EQ(property(kPlayer, "LoopStatus").toString(), "Track");
    EXPECT_FALSE(property(kPlayer, "CanGoNext").toBool());  // no disc: nothing to go to

    const qlonglong length = metadata().value("mpris:length").toLongLong();
    ASSERT_GT(length, 500'000);
    qlonglong latest = 0;
    QElapsedTimer played;
    played.start();
    while (played.elapsed() < 3.5 * length / 1000) {
        latest = std::max(latest, property(kPlayer, "Position").toLongLong());
        QTest::qWait(50);
    }
    EXPECT_LE(latest, length);
    // Each of the three repeats is a jump back; the last may still be on its way.
    EXPECT_TRUE(QTest::qWaitFor([&] { return announced.seeks >= 3; }, 5000)) << announced.seeks;

    call(kPlayer, "Stop");
    EXPECT_TRUE(QTest::qWaitFor([&] { return property(kPlayer, "PlaybackStatus") == "Stopped"; }, 10000));
    // Announced a little after the property changed: announcements are gathered.
    EXPECT_TRUE(QTest::qWaitFor([&] { return announced.statuses.value(announced.statuses.size() - 1) == "Stopped"; },
                                5000)) << qPrintable(announced.statuses.join(' '));

    // The song's end as the options dialog stores it.
    QDBusMessage set = QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.DBus.Properties", "Set");
    set << kPlayer << QString("LoopStatus") << QVariant::fromValue(QDBusVariant(QString("None")));
    EXPECT_NE(m_client.call(set).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(property(kPlayer, "LoopStatus").toString(), "None");
    call(kRoot, "Quit");
    ASSERT_TRUE(jukebox.waitForFinished(20000));
    QFile settings(TestEnvironment::configDirectory() + "/HKEY_CURRENT_USER.reg");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("\"At the end\"=\"2\""));
}

TEST_F(MprisTest, EverySubsongPlaysThenTheNextSlotAndASlotPlaysItsOwnSubsong)
{
    // Every subsong shown, whatever its length; every subsong, then the next slot.
    writeFile(TestEnvironment::configDirectory() + "/HKEY_CURRENT_USER.reg",
              "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0\\Sound Options]\n"
              "\"Fadeout\"=\"2\"\n\n[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0\\Playing]\n"
              "\"At the end\"=\"3\"\n\n[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0\\Playback Quality]\n"
              "\"Hide subsongs shorter than\"=\"0\"\n");
    ModuleMaker::Song fourSongs = TestSongs::toneSong();
    fourSongs.name = "Four songs";
    fourSongs.orders = {0, ModuleMaker::kSongEnd, 1, 1, ModuleMaker::kSongEnd, 2, 2, 2, ModuleMaker::kSongEnd, 3};
    const QString four = TestSongs::write(fourSongs, ModuleMaker::Format::It, m_dir.path(), "four songs");
    m_slots = {{1, four}, {2, m_slots.value(4)}, {5, four}};
    writeFile(m_disc, "[GeNeRaL]\r\nApp=Vorn Jukarium\r\nDesc=Jukarium Disc file\r\nVer=1.0\r\n[FiLeS]\r\n1.File="
                          + four.toUtf8() + "\r\n2.File=" + m_slots.value(2).toUtf8() + "\r\n5.File=" + four.toUtf8()
                          + "\r\n5.Subsong=3\r\n");
    QProcess& jukebox = startJukebox({m_disc}, m_bus.address());
    ASSERT_TRUE(waitForService());
    call(kPlayer, "Next");

    // Each title as it changes, until slot 2 plays.
    const QString slot2 = QUrl::fromLocalFile(m_slots.value(2)).toString(QUrl::FullyEncoded);
    QStringList titles;
    QList<qlonglong> lengths;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QVariantMap now = metadata();
        const QString title = now.value("xesam:title").toString();
        if (!title.isEmpty() && titles.value(titles.size() - 1) != title) {
            titles << title;
            lengths << now.value("mpris:length").toLongLong();
        }
        return now.value("xesam:url").toString() == slot2;
    }, 30000));
    ASSERT_EQ(titles, QStringList({"Four songs (subsong 1)", "Four songs (subsong 2)", "Four songs (subsong 3)",
                                   "Four songs (subsong 4)", TestSongs::kToneSongName}));
    EXPECT_NEAR(lengths[1], 2 * lengths[0], 20'000);
    EXPECT_NEAR(lengths[2], 3 * lengths[0], 20'000);

    // Slot 5 holds the third.
    call(kPlayer, "Next");
    ASSERT_TRUE(waitForSlot(5));
    EXPECT_EQ(metadata().value("xesam:title").toString(), "Four songs (subsong 3)");
    EXPECT_EQ(metadata().value("mpris:length").toLongLong(), lengths[2]);
    jukebox.terminate();
    ASSERT_TRUE(jukebox.waitForFinished(20000));
}

TEST_F(MprisTest, AFloodOfCallsNeitherNestsNorHoldsUpTheEnd)
{
    QProcess& jukebox = startJukebox({m_disc}, m_bus.address());
    ASSERT_TRUE(waitForService());
    call(kPlayer, "Play");
    ASSERT_TRUE(waitForSlot(1));
    // Sent without waiting for answers: a module that is not there, and the next slot.
    const QString missing = QUrl::fromLocalFile(m_dir.path() + "/missing.mod").toString();
    for (int i = 0; i < 3000; ++i) {
        QDBusMessage open = QDBusMessage::createMethodCall(kService, kPath, kPlayer, "OpenUri");
        open << missing;
        m_client.send(open);
    }
    for (int i = 0; i < 60; ++i)
        m_client.send(QDBusMessage::createMethodCall(kService, kPath, kPlayer, "Next"));
    // The program still answers, and a slot plays again: which one depends on when the
    // missing module's failure forgot the current slot.
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QString url = metadata().value("xesam:url").toString();
        return property(kPlayer, "PlaybackStatus").toString() == "Playing"
               && std::any_of(m_slots.cbegin(), m_slots.cend(), [&](const QString& path) {
                      return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) == url;
                  });
    }, 20000));

    jukebox.terminate();
    ASSERT_TRUE(jukebox.waitForFinished(20000));
    EXPECT_EQ(jukebox.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(jukebox.exitCode(), 0);
    QFile settings(TestEnvironment::configDirectory() + "/HKEY_CURRENT_USER.reg");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("\"Fadeout\"=\"2\""));
}

TEST_F(MprisTest, AModuleNamedFromTheStartingFolderIsKnownByItsWholePath)
{
    ASSERT_EQ(m_slots.value(1), m_dir.path() + "/one.xm");
    QProcess& jukebox = startJukebox({"one.xm"}, m_bus.address(), m_dir.path());
    ASSERT_TRUE(waitForService());
    EXPECT_TRUE(waitForSlot(1));  // its address names the whole path
    jukebox.terminate();
    ASSERT_TRUE(jukebox.waitForFinished(20000));
}

TEST_F(MprisTest, DesktopEntryActionsActOnTheRunningJukeboxAndStartNothingAlone)
{
    const auto command = [&](const char* argument) {
        QProcess& start = startJukebox({argument}, m_bus.address());
        return start.waitForFinished(20000) && start.exitStatus() == QProcess::NormalExit && start.exitCode() == 0;
    };
    ASSERT_TRUE(command("--next"));
    EXPECT_FALSE(m_client.interface()->isServiceRegistered(kService).value());

    QProcess& jukebox = startJukebox({m_disc}, m_bus.address());
    ASSERT_TRUE(waitForService());
    ASSERT_TRUE(command("--play-pause"));
    ASSERT_TRUE(waitForSlot(1));
    ASSERT_TRUE(command("--next"));
    ASSERT_TRUE(waitForSlot(4));
    ASSERT_TRUE(command("--play-pause"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return property(kPlayer, "PlaybackStatus") == "Paused"; }, 10000));
    ASSERT_TRUE(command("--stop"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return property(kPlayer, "PlaybackStatus") == "Stopped"; }, 10000));
    EXPECT_EQ(property(kPlayer, "Position").toLongLong(), 0);
    EXPECT_EQ(m_program.runningCount(), 1);
    jukebox.terminate();
    ASSERT_TRUE(jukebox.waitForFinished(20000));
}

TEST_F(MprisTest, TheNextStartPicksUpWhereTheLastLeftOffAndTheDesktopListsWhatWasOpened)
{
    writeFile(TestEnvironment::configDirectory() + "/HKEY_CURRENT_USER.reg",
              "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0\\Sound Options]\n"
              "\"Fadeout\"=\"2\"\n\n[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0\\Playing]\n"
              "\"Resume\"=\"1\"\n");
    // What another program put on the desktop's list of recent files.
    const QString recent = qEnvironmentVariable("XDG_DATA_HOME") + "/recently-used.xbel";
    const QByteArray others =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<xbel version=\"1.0\"\n      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
        "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n>\n"
        "  <bookmark href=\"file:///home/me/letter.txt\" added=\"2024-05-01T10:00:00.000000Z\" "
        "modified=\"2024-05-01T10:00:00.000000Z\" visited=\"2024-05-01T10:00:00.000000Z\">\n"
        "    <info>\n      <metadata owner=\"http://freedesktop.org\">\n"
        "        <mime:mime-type type=\"text/plain\"/>\n        <bookmark:applications>\n"
        "          <bookmark:application name=\"gedit\" exec=\"&apos;gedit %u&apos;\" "
        "modified=\"2024-05-01T10:00:00.000000Z\" count=\"3\"/>\n"
        "        </bookmark:applications>\n      </metadata>\n    </info>\n  </bookmark>\n</xbel>";
    writeFile(recent, others);

    QProcess& first = startJukebox({m_disc}, m_bus.address());
    ASSERT_TRUE(waitForService());
    call(kPlayer, "Play");
    ASSERT_TRUE(waitForSlot(1));
    call(kPlayer, "Next");
    ASSERT_TRUE(waitForSlot(4));
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(20000));

    // The other program's bookmark as it was, and the disc and both modules added.
    QFile list(recent);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QString listed = QString::fromUtf8(list.readAll());
    for (const char* kept : {"<bookmark href=\"file:///home/me/letter.txt\" added=\"2024-05-01T10:00:00.000000Z\" "
                             "modified=\"2024-05-01T10:00:00.000000Z\" visited=\"2024-05-01T10:00:00.000000Z\">",
                             "<mime:mime-type type=\"text/plain\"/>",
                             "<bookmark:application name=\"gedit\" exec=\"'gedit %u'\" "
                             "modified=\"2024-05-01T10:00:00.000000Z\" count=\"3\"/>"})
        EXPECT_TRUE(listed.contains(kept)) << kept << "\n" << qPrintable(listed);
    for (const QString& path : {m_disc, m_slots.value(1), m_slots.value(4)})
        EXPECT_TRUE(listed.contains("href=\"" + QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + "\""))
            << qPrintable(path);
    EXPECT_TRUE(listed.contains("<mime:mime-type type=\"application/x-jukarium-disc\"/>")) << qPrintable(listed);
    EXPECT_EQ(listed.count("name=\"Jukarium\""), 3);

    // A start without a file opens the disc and slot 4's module, waiting at its start.
    QProcess& next = startJukebox({}, m_bus.address());
    ASSERT_TRUE(waitForService());
    EXPECT_EQ(metadata().value("xesam:url").toString(), QUrl::fromLocalFile(m_slots.value(4)).toString(QUrl::FullyEncoded));
    EXPECT_EQ(property(kPlayer, "PlaybackStatus").toString(), "Stopped");
    call(kPlayer, "Next");  // from slot 4, as the disc's current slot
    ASSERT_TRUE(waitForSlot(9));
    next.terminate();
    ASSERT_TRUE(next.waitForFinished(20000));

    // Opened again, slot 4's module keeps its one bookmark, used twice now.
    list.close();
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QString relisted = QString::fromUtf8(list.readAll());
    const QString fourth = "href=\"" + QUrl::fromLocalFile(m_slots.value(4)).toString(QUrl::FullyEncoded) + "\"";
    EXPECT_EQ(relisted.count(fourth), 1);
    const QString fourthBookmark = relisted.mid(relisted.indexOf(fourth)).section("</bookmark>", 0, 0);
    EXPECT_TRUE(fourthBookmark.contains("name=\"Jukarium\" exec=\"'jukarium %u'\"")
                && fourthBookmark.contains("count=\"2\"")) << qPrintable(fourthBookmark);
}

TEST_F(MprisTest, WithoutASessionBusTheJukeboxPlaysAsBefore)
{
    QProcess& jukebox = startJukebox({m_slots.value(1)}, "unix:path=" + m_dir.path() + "/no-bus");
    ASSERT_TRUE(JukeboxProgram::waitForInstance());
    EXPECT_EQ(jukebox.state(), QProcess::Running);
    jukebox.terminate();
    ASSERT_TRUE(jukebox.waitForFinished(20000));
    EXPECT_EQ(jukebox.exitCode(), 0);
}

}  // namespace

#include "MprisTest.moc"
