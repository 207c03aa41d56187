// The main window's tray, drop, help and about commands with real files and modules.
#include "controls/TBanner.h"
#include "controls/TIEButton.h"
#include "controls/TTrayIcon.h"
#include "disc/ClassDisc.h"
#include "platform/Registry.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "playback/ClassModPlayer.h"
#include "settings/RegistryKeys.h"
#include "support/NotificationAreaDisplay.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestEnvironment.h"
#include "support/TestSongs.h"
#include "ui/TAboutWindow.h"
#include "ui/THelpWindow.h"
#include "MainWindowMaker.h"
#include "ui/TMainWindow.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <string>

class TrayDropHelpTest : public ::testing::Test {
protected:
    TrayDropHelpTest()
    {
        // The first an Impulse Tracker module: every format libopenmpt plays is dropped alike.
        modules << TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::It, dir.path(), "first");
        for (const char* name : {"second", "third"})
            modules << TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::Mod, dir.path(), name);
        window = MakeMainWindow(registry, audio);
        window->player().SetFadeOutSteps(0);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void drop(const QStringList& files)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &dropped);
    }

    QTemporaryDir dir;
    QStringList modules;
    Registry registry{dir.path() + "/registry"};
    OpenMptSdlAudio audio;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TMainWindow> window;
};

TEST_F(TrayDropHelpTest, DroppingThreeFilesOpensTheFirst)
{
    drop(modules);
    EXPECT_EQ(window->CurrentModule(), modules[0]);
    EXPECT_EQ(window->session().CommandFile(), modules[0]);
    EXPECT_TRUE(window->player().Playing());
}

TEST_F(TrayDropHelpTest, DroppedDiscReplacesAChangedDiscWithoutAsking)
{
    const QString discPath = dir.path() + "/set.jkdc";
    window->disc().AssignSlot(5, modules[1]);
    window->disc().SaveToFile(discPath);
    window->disc().AssignSlot(6, modules[2]);  // changed again
    drop({discPath});
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(window->disc().SlotPath(5), modules[1]);
    EXPECT_TRUE(window->disc().SlotPath(6).trimmed().isEmpty());
}

TEST_F(TrayDropHelpTest, HidingWithoutANotificationAreaMinimises)
{
    ASSERT_FALSE(TTrayIcon::Available());  // the headless platform has none
    window->form().btnHide2Tray->click();
    EXPECT_TRUE(window->isMinimized() || window->windowState().testFlag(Qt::WindowMinimized));
    EXPECT_FALSE(window->form().banMain->ScrollEnabled());
    window->form().popTrayIcon_Show->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->form().banMain->ScrollEnabled());
}

TEST_F(TrayDropHelpTest, HelpMenuShowsItsPages)
{
    window->form().mnuHelp_WhatDoISee->trigger();
    ASSERT_NE(THelpWindow::Instance(), nullptr);
    EXPECT_TRUE(THelpWindow::Instance()->isVisible());
    EXPECT_TRUE(THelpWindow::Instance()->CurrentPage().startsWith("main-window.html"));
    window->form().mnuHelp_WhatIs->trigger();
    EXPECT_TRUE(THelpWindow::Instance()->CurrentPage().startsWith("what-is.html"));
}

TEST_F(TrayDropHelpTest, AboutWindowRestsTheMainBanner)
{
    bool restedMeanwhile = false;
    bool restedAfterRestoring = false;
    QTimer::singleShot(0, [&] {
        restedMeanwhile = !window->form().banMain->ScrollEnabled();
        // Restoring the minimised window does not end the dialog's rest.
        window->showMinimized();
        window->showNormal();
        restedAfterRestoring = !window->form().banMain->ScrollEnabled();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* about = qobject_cast<TAboutWindow*>(top))
                about->accept();
        }
    });
    window->form().mnuHelp_About->trigger();
    EXPECT_TRUE(restedMeanwhile);
    EXPECT_TRUE(restedAfterRestoring);
    EXPECT_TRUE(window->form().banMain->ScrollEnabled());
}

// The real program in a real notification area ------------------------------------------------

namespace {

// The jukebox as a user meets it on a desktop: its window, the icon in the notification area
// and the icon's menu, all found and clicked through the X server.
class JukeboxOnADesktop {
public:
    explicit JukeboxOnADesktop(const NotificationAreaDisplay& desktop) : m_desktop(desktop)
    {
        m_process.setProcessEnvironment(NotificationAreaDisplay::freshHome(
            desktop.environment(QProcessEnvironment::systemEnvironment()), m_home.path()));
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(TestEnvironment::jukariumBinary(), {});
        m_process.waitForStarted();
    }

    QProcess& process() { return m_process; }

    // What became of the program, for failure messages.
    std::string fate()
    {
        if (!m_process.waitForFinished(0))
            return "the program still runs";
        if (m_process.exitStatus() == QProcess::CrashExit)
            return "the program crashed";
        return "the program ended with code " + std::to_string(m_process.exitCode());
    }

    QString configDirectory() const { return m_home.path() + "/.config/jukarium"; }

    bool windowShown() const { return !mainWindows().isEmpty(); }

    // The icon: the program's window inside the notification area's panel.
    QRect icon() const
    {
        const QRect panel = m_desktop.panelGeometry();
        for (const QString& window : m_desktop.visibleWindows({"--class", "^jukarium$"})) {
            const QRect place = m_desktop.geometry(window);
            if (panel.contains(place))
                return place;
        }
        return {};
    }

    bool menuShown() const
    {
        const QStringList programWindows = m_desktop.visibleWindows({"--class", "^jukarium$"});
        return programWindows.size() > mainWindows().size() + (icon().isEmpty() ? 0 : 1);
    }

    // Clicks "Hide To Tray" (in the control panel, at 277 + 100, 4 + 8, 45 x 33 of the client
    // area below the menu) of the window at its compact height.
    bool hideToTray()
    {
        const QRect window = m_desktop.geometry(mainWindows().value(0));
        const int clientTop = window.bottom() + 1 - MainWindowForm::kCompactClientHeight;
        m_desktop.click({window.x() + 277 + 100 + 22, clientTop + 4 + 8 + 16}, 1);
        return NotificationAreaDisplay::waitFor(
            [this] { return !windowShown() && !icon().isEmpty(); });
    }

    // Opens the icon's menu; true once it shows. A menu opened just after the window went away
    // is closed again at once when Qt notices the window's loss of focus, which comes late on
    // X11; then the user clicks again. Clicks alternate between the icon's left and right part:
    // two clicks on one spot in quick succession would make a double-click, which opens no menu.
    bool openMenu()
    {
        return NotificationAreaDisplay::waitFor([this] {
            const QRect place = icon();
            const int quarter = place.width() / 4;
            m_rightPart = !m_rightPart;
            m_desktop.click({m_rightPart ? place.right() - quarter : place.left() + quarter,
                             place.center().y()},
                            3);
            return NotificationAreaDisplay::waitFor([this] { return menuShown(); }, 1000);
        });
    }

    // Picks the item of the open menu with the underlined key; true once the menu has closed.
    bool pickFromMenu(const char* key)
    {
        m_desktop.key(QLatin1String(key));
        return NotificationAreaDisplay::waitFor([this] { return !menuShown(); });
    }

    void clickIcon(int count) { m_desktop.click(icon().center(), 1, count); }

private:
    QStringList mainWindows() const
    {
        return m_desktop.visibleWindows({"--name", "^Vorn Jukarium$"});
    }

    const NotificationAreaDisplay& m_desktop;
    QTemporaryDir m_home;
    QProcess m_process;
    bool m_rightPart = false;
};

}  // namespace

TEST(TrayIconOnADesktop, EveryWayBackAndEveryMenuItemWorksAndExitKeepsTheSettings)
{
    NotificationAreaDisplay desktop;
    if (!desktop.missing().isEmpty())
        GTEST_SKIP() << "needs a notification area: " << qPrintable(desktop.missing());
    if (!QFileInfo(TestEnvironment::jukariumBinary()).isExecutable())
        GTEST_SKIP() << "the jukebox program is not built";
    JukeboxOnADesktop jukebox(desktop);
    const auto shownAgain = [&] {
        return NotificationAreaDisplay::waitFor([&] { return jukebox.windowShown(); });
    };
    ASSERT_TRUE(shownAgain());

    ASSERT_TRUE(jukebox.hideToTray());
    ASSERT_TRUE(jukebox.openMenu());
    ASSERT_TRUE(jukebox.pickFromMenu("s"));  // "&Show Jukarium"
    ASSERT_TRUE(shownAgain()) << jukebox.fate();

    ASSERT_TRUE(jukebox.hideToTray());
    jukebox.clickIcon(1);
    ASSERT_TRUE(shownAgain()) << jukebox.fate();

    ASSERT_TRUE(jukebox.hideToTray());
    jukebox.clickIcon(2);
    ASSERT_TRUE(shownAgain()) << jukebox.fate();

    ASSERT_TRUE(jukebox.hideToTray());
    for (const char* key : {"c", "t", "n"}) {  // continue, stop, cancel: the icon stays
        ASSERT_TRUE(jukebox.openMenu()) << "before " << key << ": " << jukebox.fate();
        ASSERT_TRUE(jukebox.pickFromMenu(key)) << key;
    }
    EXPECT_FALSE(jukebox.windowShown());
    ASSERT_TRUE(jukebox.openMenu()) << jukebox.fate();
    ASSERT_TRUE(jukebox.pickFromMenu("e"));  // "&Exit"
    ASSERT_TRUE(jukebox.process().waitForFinished(NotificationAreaDisplay::kGuardMs));
    EXPECT_EQ(jukebox.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(jukebox.process().exitCode(), 0);

    Registry stored(jukebox.configDirectory());
    EXPECT_TRUE(stored.value(RegistryRoot::CurrentUser, RegistryKeys::kMainWindow, "Width"));
    EXPECT_TRUE(stored.value(RegistryRoot::CurrentUser, RegistryKeys::kOptions + "\\Sound Options",
                             "Fadeout"));
}
