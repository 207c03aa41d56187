// The main window's tray, drop, help and about commands with real files and modules.
#include "controls/TBanner.h"
#include "controls/TIEButton.h"
#include "controls/TTrayIcon.h"
#include "disc/ClassDisc.h"
#include "platform/Registry.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "playback/ClassModPlayer.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestSongs.h"
#include "ui/AboutWindow.h"
#include "ui/HelpWindow.h"
#include "ui/TMainWindow.h"

#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

class TrayDropHelpTest : public ::testing::Test {
protected:
    TrayDropHelpTest()
    {
        for (const char* name : {"first", "second", "third"})
            modules << TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::Mod, dir.path(), name);
        window = std::make_unique<TMainWindow>(registry, audio, QStringList{"jukarium"});
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
    EXPECT_EQ(window->CommandFile(), modules[0]);
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
    QTimer::singleShot(0, [&] {
        restedMeanwhile = !window->form().banMain->ScrollEnabled();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* about = qobject_cast<TAboutWindow*>(top))
                about->accept();
        }
    });
    window->form().mnuHelp_About->trigger();
    EXPECT_TRUE(restedMeanwhile);
    EXPECT_TRUE(window->form().banMain->ScrollEnabled());
}
