// The real program on a real X display, used with the keyboard alone (xdotool, no mouse event)
// and read as a screen reader reads it (AT-SPI on a private session bus).
#include "support/AccessibilityBus.h"
#include "support/NotificationAreaDisplay.h"
#include "support/TestEnvironment.h"
#include "support/TestSongs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QString kApplication = QStringLiteral("jukarium");

// The 15 buttons of the control panel, by the names their hints give them.
const QStringList kControlButtons = {
    "Open module", "Close module", "Hide To Tray",    "Open disc",   "Close disc",
    "Show information", "Play",    "Stop",            "Previous module", "Rewind",
    "Forward",     "Next module",  "Copy module",     "Move module", "Delete module"};

// The jukebox on a display and a screen reader's bus, with a home of its own.
class JukeboxForTheKeyboard {
public:
    JukeboxForTheKeyboard(const NotificationAreaDisplay& desktop, const AccessibilityBus& bus)
        : m_desktop(desktop), m_bus(bus)
    {
        m_environment = NotificationAreaDisplay::freshHome(
            bus.environment(desktop.environment(QProcessEnvironment::systemEnvironment())), m_home.path());
    }

    ~JukeboxForTheKeyboard()
    {
        for (QProcess* process : {&m_instance, &m_secondStart}) {
            process->kill();
            process->waitForFinished();
        }
    }

    QString home() const { return m_home.path(); }

    void start(const QString& file) { run(m_instance, file); }

    // A second start hands file over to the running one and ends.
    bool handOver(const QString& file)
    {
        run(m_secondStart, file);
        return m_secondStart.waitForFinished(NotificationAreaDisplay::kGuardMs) &&
               m_secondStart.exitCode() == 0;
    }

    // The main window, once shown with caption.
    QString window(const QString& caption) const
    {
        const QStringList found = m_desktop.visibleWindows({"--name", "^" + caption + "$"});
        return found.value(0);
    }

    // The program's windows on the screen: the main window, its icon in the notification
    // area, and an open menu.
    int windowCount() const
    {
        return int(m_desktop.visibleWindows({"--class", "^jukarium$"}).size());
    }

    QList<AccessibilityBus::Node> tree() const { return m_bus.tree(kApplication); }
    bool press(const QString& button) const { return m_bus.press(kApplication, button); }

    // The first object named name (or whose name matches it), in the tree as it is now.
    std::optional<AccessibilityBus::Node> find(const QRegularExpression& name) const
    {
        for (const AccessibilityBus::Node& node : tree()) {
            if (name.match(node.name).hasMatch())
                return node;
        }
        return std::nullopt;
    }
    bool shows(const QString& name) const
    {
        return NotificationAreaDisplay::waitFor(
            [&] { return find(QRegularExpression("^" + QRegularExpression::escape(name) + "$")).has_value(); });
    }

    // The object with the keyboard focus; empty when none has it.
    QString focused() const
    {
        for (const AccessibilityBus::Node& node : tree()) {
            if (node.focused && node.role != "frame")
                return node.name;
        }
        return {};
    }
    bool focusReaches(const QString& name) const
    {
        return NotificationAreaDisplay::waitFor([&] { return focused() == name; });
    }

    // The seconds played of the time panel ("0:32 / 0:39" reads 32); -1 while it shows none.
    int seconds() const
    {
        const auto panel = find(QRegularExpression("^\\d+:\\d\\d / "));
        if (!panel)
            return -1;
        const QStringList clock = panel->name.section(QLatin1Char(' '), 0, 0).split(QLatin1Char(':'));
        return clock.value(0).toInt() * 60 + clock.value(1).toInt();
    }

    // The song position of the status bar ("004/006" reads 4); -1 while it shows none.
    int position() const
    {
        const auto panel = find(QRegularExpression("^\\d{3}/\\d{3}$"));
        return panel ? panel->name.left(3).toInt() : -1;
    }

    // Keys as a user types them, to the window that has the keyboard.
    void keys(const QStringList& names) const
    {
        m_desktop.xdotool(QStringList{"key", "--delay", "40"} + names);
    }

private:
    void run(QProcess& process, const QString& file)
    {
        process.setProcessEnvironment(m_environment);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(TestEnvironment::jukariumBinary(), {file});
        process.waitForStarted();
    }

    const NotificationAreaDisplay& m_desktop;
    const AccessibilityBus& m_bus;
    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
    QProcess m_instance;
    QProcess m_secondStart;
};

// A disc with one module on slot 7 and another disc behind its first disc button, written as
// the jukebox writes one.
void writeDisc(const QString& path, const QString& slot7, const QString& title7, const QString& first)
{
    QFile disc(path);
    ASSERT_TRUE(disc.open(QIODevice::WriteOnly));
    disc.write(("[GeNeRaL]\r\nApp=Vorn Jukarium\r\nDesc=Jukarium Disc file\r\nVer=1.0\r\n"
                "[FiLeS]\r\n7.File=" + slot7 + "\r\n7.Desc=" + title7 + "\r\n"
                "[DiSCS]\r\nFirst=" + first + "\r\nSecond=(no disc selected)\r\n")
                   .toUtf8());
}

// A display and a screen reader's bus for the real program; skipped where either is missing.
class KeyboardAndScreenReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!desktop.missing().isEmpty())
            GTEST_SKIP() << "needs an X display: " << qPrintable(desktop.missing());
        if (!bus.missing().isEmpty())
            GTEST_SKIP() << qPrintable(bus.missing());
        if (!QFileInfo(TestEnvironment::jukariumBinary()).isExecutable())
            GTEST_SKIP() << "the jukebox program is not built";
    }

    NotificationAreaDisplay desktop;
    AccessibilityBus bus{desktop.environment(QProcessEnvironment::systemEnvironment())};
};

}  // namespace

TEST_F(KeyboardAndScreenReader, KeyboardAloneAssignsStepsStopsAndPlaysTheNextSlotAndEveryControlIsNamed)
{
    JukeboxForTheKeyboard jukebox(desktop, bus);
    // A song that stands still on its positions for the length of the test: 16 rows of 31
    // ticks at 32 beats per minute take about 39 seconds.
    ModuleMaker::Song slow = TestSongs::toneSong();
    slow.name = "Slow Song";
    slow.speed = 31;
    slow.tempo = 32;
    const QString playing = TestSongs::write(slow, ModuleMaker::Format::Xm, jukebox.home(), "slow");
    ModuleMaker::Song other = TestSongs::toneSong();
    other.name = "Other Song";
    const QString onSlot7 = TestSongs::write(other, ModuleMaker::Format::Xm, jukebox.home(), "other");
    const QString disc = jukebox.home() + "/album.jkdc";
    writeDisc(disc, onSlot7, "Other Song", jukebox.home() + "/more.jkdc");

    jukebox.start(playing);
    QString window;
    ASSERT_TRUE(NotificationAreaDisplay::waitFor(
        [&] { return !(window = jukebox.window("SLOW.XM - Vorn Jukarium")).isEmpty(); }));
    ASSERT_TRUE(jukebox.handOver(disc));
    ASSERT_TRUE(jukebox.shows("Slot 7, Other Song")) << "the disc is not shown to a screen reader";

    // Every control has a name a screen reader can say.
    const QList<AccessibilityBus::Node> tree = jukebox.tree();
    QStringList buttons;
    for (const AccessibilityBus::Node& node : tree) {
        if (node.role == "push button")
            buttons.append(node.name);
    }
    for (const QString& name : kControlButtons)
        EXPECT_TRUE(buttons.contains(name)) << qPrintable(name);
    for (int slot = 1; slot <= 20; ++slot) {
        const QString name = slot == 7 ? QString("Slot 7, Other Song") : QString("Slot %1, empty").arg(slot);
        EXPECT_TRUE(buttons.contains(name)) << qPrintable(name);
    }
    EXPECT_TRUE(buttons.contains("Disc button 1, more.jkdc"));
    EXPECT_TRUE(buttons.contains("Disc button 2, (no disc selected)"));
    EXPECT_TRUE(jukebox.find(QRegularExpression("^Slow Song \\|\\| \\d+ kB \\|\\| 4 channels \\|\\|")))
        << "the banner is not named by the summary of the module that plays";

    // The keyboard from here on. The window takes the keyboard as a window manager would give
    // it; the focus starts on slot 1.
    desktop.xdotool({"windowfocus", "--sync", window});
    ASSERT_TRUE(jukebox.focusReaches("Slot 1, empty")) << qPrintable(jukebox.focused());
    jukebox.keys({"Tab", "Tab"});
    ASSERT_TRUE(jukebox.focusReaches("Slot 3, empty")) << qPrintable(jukebox.focused());
    // A popup menu is no part of the tree (a screen reader follows it by its focus events):
    // it shows as one more window of the program.
    const int windowsBefore = jukebox.windowCount();
    jukebox.keys({"Menu"});
    ASSERT_TRUE(NotificationAreaDisplay::waitFor([&] { return jukebox.windowCount() > windowsBefore; }))
        << "no slot menu";
    jukebox.keys({"a"});  // "&Assign current Module"
    ASSERT_TRUE(jukebox.shows("Slot 3, Slow Song"));

    // On to Forward: slots 4 to 20, the two disc buttons, then the control panel row by row.
    QStringList tabs;
    for (int i = 0; i < 17 + 2 + 11; ++i)
        tabs << "Tab";
    jukebox.keys(tabs);
    ASSERT_TRUE(jukebox.focusReaches("Forward")) << qPrintable(jukebox.focused());
    const int before = jukebox.position();
    ASSERT_GE(before, 0);
    jukebox.keys({"space"});
    jukebox.keys({"Return"});
    EXPECT_TRUE(NotificationAreaDisplay::waitFor([&] { return jukebox.position() == before + 2; }))
        << "from " << before << " to " << jukebox.position();
    // A screen reader's press steps once, as a click does.
    ASSERT_TRUE(jukebox.press("Forward"));
    EXPECT_TRUE(NotificationAreaDisplay::waitFor([&] { return jukebox.position() == before + 3; }))
        << "from " << before << " to " << jukebox.position();

    // The seek bar follows the buttons: Home goes to the start, Page Up 30 s on.
    jukebox.keys({"Tab", "Tab", "Tab", "Tab", "Tab"});
    ASSERT_TRUE(jukebox.focusReaches("Position in the song")) << qPrintable(jukebox.focused());
    jukebox.keys({"Home"});
    EXPECT_TRUE(NotificationAreaDisplay::waitFor([&] { return jukebox.seconds() < 3; })) << jukebox.seconds();
    jukebox.keys({"Prior"});
    EXPECT_TRUE(NotificationAreaDisplay::waitFor([&] { return jukebox.seconds() >= 30; })) << jukebox.seconds();

    // The banner is the last stop, and its menu opens from the keyboard.
    jukebox.keys({"Tab"});
    EXPECT_TRUE(NotificationAreaDisplay::waitFor([&] { return jukebox.focused().startsWith("Slow Song ||"); }))
        << qPrintable(jukebox.focused());
    const int windowsWithoutMenu = jukebox.windowCount();
    jukebox.keys({"shift+F10"});
    EXPECT_TRUE(NotificationAreaDisplay::waitFor([&] { return jukebox.windowCount() > windowsWithoutMenu; }))
        << "no banner menu";
    jukebox.keys({"Escape"});

    jukebox.keys({"ctrl+t"});
    EXPECT_TRUE(jukebox.shows("Playback stopped"));
    jukebox.keys({"ctrl+Next"});  // the slot after slot 3 that holds a module
    EXPECT_TRUE(NotificationAreaDisplay::waitFor(
        [&] { return !jukebox.window("OTHER.XM - Vorn Jukarium").isEmpty(); }));
    EXPECT_TRUE(NotificationAreaDisplay::waitFor([&] {
        return jukebox.find(QRegularExpression("^Other Song \\|\\| \\d+ kB \\|\\| 4 channels \\|\\|"))
            .has_value();
    })) << "the banner does not name the module that plays now";
    EXPECT_FALSE(jukebox.find(QRegularExpression("^Slow Song \\|\\|")).has_value());
}

TEST_F(KeyboardAndScreenReader, PatternViewIsUsedByKeyboardAloneAndToldWithoutTheRowsGoingBy)
{
    JukeboxForTheKeyboard jukebox(desktop, bus);
    // 17 rows a second, a new pattern every second, round and round.
    const QString song =
        TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::Xm, jukebox.home(), "tones");
    const auto told = bus.listen(kApplication);
    ASSERT_TRUE(told->listening());
    jukebox.start(song);
    QString window;
    ASSERT_TRUE(NotificationAreaDisplay::waitFor(
        [&] { return !(window = jukebox.window("TONES.XM - Vorn Jukarium")).isEmpty(); }));
    desktop.xdotool({"windowfocus", "--sync", window});
    jukebox.keys({"ctrl+shift+p"});
    QString view;
    ASSERT_TRUE(NotificationAreaDisplay::waitFor(
        [&] { return !(view = jukebox.window("Pattern view")).isEmpty(); }));
    // With no window manager here, the new window takes the keyboard as one would give it.
    desktop.xdotool({"windowfocus", "--sync", view});
    ASSERT_TRUE(NotificationAreaDisplay::waitFor([&] { return told->focused() == "Order list"; }))
        << qPrintable(told->focused());

    // Tab goes to the channels, the arrows along them; each is told by its name.
    jukebox.keys({"Tab"});
    ASSERT_TRUE(NotificationAreaDisplay::waitFor([&] { return told->focused() == "Channel 1"; }))
        << qPrintable(told->focused());
    jukebox.keys({"Right"});
    ASSERT_TRUE(NotificationAreaDisplay::waitFor([&] { return told->focused() == "Channel 2"; }))
        << qPrintable(told->focused());
    const auto renamed = [&](const QString& name) {
        return NotificationAreaDisplay::waitFor([&] {
            for (const AccessibilityBus::Listener::Event& event : told->heard()) {
                if (event.type == "object:property-change:accessible-name" && event.name == name)
                    return true;
            }
            return false;
        });
    };
    jukebox.keys({"space"});
    EXPECT_TRUE(renamed("Channel 2, muted"));
    told->forget();
    jukebox.keys({"s"});
    EXPECT_TRUE(renamed("Channel 2"));
    EXPECT_TRUE(renamed("Channel 1, muted"));
    told->forget();
    jukebox.keys({"Escape"});
    EXPECT_TRUE(renamed("Channel 1"));
    EXPECT_EQ(told->focused(), "");  // still on channel 2: no other focus since

    // The table shows its cells and names its channels.
    bool cells = false;
    QStringList headers;
    for (const AccessibilityBus::Node& node : jukebox.tree()) {
        cells = cells || (node.role == "table cell" && node.name.startsWith("C-5 01"));
        if (node.role == "table column header")
            headers.append(node.name);
    }
    EXPECT_TRUE(cells) << "no cell of the pattern read";
    EXPECT_EQ(headers, QStringList({"Channel 1", "Channel 2", "Channel 3", "Channel 4"}));

    // Three seconds of play (50 rows, three patterns) move neither the focus nor a selection.
    told->forget();
    const int from = jukebox.seconds();
    ASSERT_GE(from, 0);
    ASSERT_TRUE(NotificationAreaDisplay::waitFor([&] { return jukebox.seconds() >= from + 3; }));
    QStringList moved;  // all but the clock and the song position
    for (const AccessibilityBus::Listener::Event& event : told->heard()) {
        if (event.type != "object:property-change:accessible-name" || event.role != "label")
            moved.append(event.type + ' ' + event.role + ' ' + event.name);
    }
    EXPECT_TRUE(moved.isEmpty()) << moved.size() << " events, first " << qPrintable(moved.value(0));

    // The key that opened it closes it.
    jukebox.keys({"ctrl+shift+p"});
    EXPECT_TRUE(NotificationAreaDisplay::waitFor([&] { return jukebox.window("Pattern view").isEmpty(); }));
}
