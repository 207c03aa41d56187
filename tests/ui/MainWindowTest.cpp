#include "controls/ClassScrollTextViewer.h"
#include "controls/TBanner.h"
#include "controls/TIEButton.h"
#include "platform/Registry.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "settings/ClassOptions.h"
#include "settings/RegistryKeys.h"
#include "MainWindowMaker.h"
#include "support/TestSongs.h"
#include "ui/TMainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<TMainWindow> open(const QStringList& arguments = {"jukarium"})
    {
        auto window = MakeMainWindow(registry, audio, arguments);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    std::optional<quint32> storedPlacement(const char* name) const
    {
        const auto value = registry.value(RegistryRoot::CurrentUser, RegistryKeys::kMainWindow, name);
        return value ? std::optional<quint32>(value->number) : std::nullopt;
    }

    QTemporaryDir dir;
    Registry registry{dir.path()};
    OpenMptSdlAudio audio;
};

TEST_F(MainWindowTest, OpensTitledWithTheInstanceCaptionAndNoModule)
{
    auto window = open();
    EXPECT_EQ(window->windowTitle(), "Vorn Jukarium");
    for (QAction* item : window->form().moduleItems())
        EXPECT_FALSE(item->isEnabled()) << qPrintable(item->objectName());
    EXPECT_TRUE(window->form().mnuFile_Exit->isEnabled());
    EXPECT_TRUE(window->form().btnPlay->isEnabled());  // buttons are never disabled
    EXPECT_EQ(window->session().CommandFile(), "");
}

TEST_F(MainWindowTest, FormHoldsEveryControlInItsPlace)
{
    auto window = open();
    const MainWindowForm& form = window->form();
    // The disc model replaces the form's "(no disc)" at once.
    EXPECT_EQ(form.grpDisc->title(), "(no disc loaded)");
    EXPECT_EQ(form.btnDisc1->Caption(), "(no disc selected)");
    EXPECT_EQ(form.grpDisc->geometry(), QRect(4, 36, 265, 121));
    EXPECT_EQ(form.ibtDiscNr[0]->geometry(), QRect(24, 20, 21, 21));
    EXPECT_EQ(form.ibtDiscNr[12]->geometry(), QRect(67, 42, 21, 21));
    EXPECT_EQ(form.ibtDiscNr[19]->geometry(), QRect(216, 42, 21, 21));
    for (int slot = 1; slot <= 20; ++slot) {
        EXPECT_EQ(form.ibtDiscNr[slot - 1]->text(), QString::number(slot));
        EXPECT_EQ(form.ibtDiscNr[slot - 1]->Tag(), slot);
    }
    EXPECT_EQ(form.btnDisc2->geometry(), QRect(24, 96, 213, 17));
    EXPECT_EQ(form.btnDisc2->Tag(), 2);
    EXPECT_EQ(form.btnNextModule->geometry(), QRect(123, 80, 22, 29));
    EXPECT_EQ(form.btnNextModule->toolTip(), "Next module");
    EXPECT_EQ(form.btnHide2Tray->toolTip(), "Hide To Tray");
    EXPECT_FALSE(form.staModInfo->isVisible());
    EXPECT_TRUE(form.staModInfo->isReadOnly());
    EXPECT_EQ(form.panBanner->geometry(), QRect(4, 4, 265, 25));
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndShortcuts)
{
    auto window = open();
    const MainWindowForm& form = window->form();
    EXPECT_EQ(form.mnuFile->title(), "&File");
    EXPECT_EQ(form.mnuFile_Open->text(), "&Open module...");
    EXPECT_EQ(form.mnuFile_Open->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(form.mnuFile_CopyTo->text(), "Co&py To...");
    EXPECT_EQ(form.mnuFile_Delete->shortcut(), QKeySequence("Ctrl+D"));
    EXPECT_EQ(form.mnuDisc_SaveAs->text(), "S&ave disc As...");
    EXPECT_EQ(form.mnuActions_User3->shortcut(), QKeySequence(Qt::Key_F12));
    EXPECT_EQ(form.mnuActions_Volume->shortcut(), QKeySequence("Ctrl+V"));
    EXPECT_EQ(form.mnuHelp_WhatDoISee->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(form.mnuHelp_WhatIs->text(), "Wha&t is Jukarium?");
    EXPECT_EQ(form.popBanner_Disabled->text(), "&Disabled Scroller");
    EXPECT_EQ(form.popTrayIcon_Stop->text(), "S&top current Module");
    QStringList trayItems;
    for (QAction* item : form.popTrayIcon->actions())
        trayItems << (item->isSeparator() ? "-" : item->text());
    EXPECT_EQ(trayItems, QStringList({"&Show Jukarium", "-", "&Continue Playback",
                                      "S&top current Module", "-", "Ca&ncel", "-", "&Exit"}));
}

TEST_F(MainWindowTest, NoTwoItemsShareAShortcutNorTwoMenuBarItemsAnUnderlinedKey)
{
    auto window = open();
    QMap<QKeySequence, QString> owners;
    const auto own = [&owners](const QKeySequence& keys, const QString& owner) {
        if (keys.isEmpty())
            return;
        EXPECT_FALSE(owners.contains(keys)) << qPrintable(keys.toString()) << ": "
                                            << qPrintable(owners.value(keys)) << " and " << qPrintable(owner);
        owners.insert(keys, owner);
    };
    for (const QAction* item : window->findChildren<QAction*>())
        own(item->shortcut(), item->objectName());
    for (const QShortcut* shortcut : window->findChildren<QShortcut*>())
        own(shortcut->key(), shortcut->objectName());
    // Playing without the mouse; Space stays with the focused button.
    for (const char* keys : {"Ctrl+P", "Ctrl+T", "Alt+Left", "Alt+Right", "Ctrl+PgUp", "Ctrl+PgDown"})
        EXPECT_TRUE(owners.contains(QKeySequence(keys))) << keys;
    EXPECT_FALSE(owners.contains(QKeySequence(Qt::Key_Space)));

    // In the menu bar's menus (a popup menu's "E&nable Scroller" and "Ca&ncel" share theirs
    // from of old, and Qt takes turns between them).
    for (const QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
        QMap<QChar, QString> underlined;
        for (const QAction* item : menu->actions()) {
            const qsizetype at = item->text().indexOf('&');
            if (at < 0 || at + 1 >= item->text().size())
                continue;
            const QChar key = item->text().at(at + 1).toLower();
            EXPECT_FALSE(underlined.contains(key)) << qPrintable(menu->objectName()) << ": "
                                                   << qPrintable(underlined.value(key)) << " and "
                                                   << qPrintable(item->text());
            underlined.insert(key, item->text());
        }
    }
}

TEST_F(MainWindowTest, ModulePathSetsCaptionAndModuleItems)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("My Mods"));
    const QString module =
        TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::Mod, dir.path() + "/My Mods", "fly");
    auto window = open({"jukarium", module});  // played before the window was made
    EXPECT_EQ(window->windowTitle(), "FLY.MOD - Vorn Jukarium");
    for (QAction* item : window->form().moduleItems())
        EXPECT_TRUE(item->isEnabled());
    window->player().SetFadeOutSteps(0);
    HandOver(*window, dir.path() + "/missing.mod");  // a failed load leaves one blank
    EXPECT_EQ(window->CurrentModule(), " ");
    const QLabel* status = window->form().statusPanels[0];
    EXPECT_EQ(status->text(), "Error reading \"" + dir.path() + "/missing.mod\"");
    EXPECT_FALSE(status->toolTip().isEmpty());  // the audio library's reason
    window->SetStatusText("Module closed");
    EXPECT_TRUE(status->toolTip().isEmpty());
    EXPECT_EQ(window->windowTitle(), "Vorn Jukarium");
    EXPECT_FALSE(window->form().mnuFile_Close->isEnabled());
}

TEST_F(MainWindowTest, StatusPanelsKeepTheirWidthsAndTheMemoItsGap)
{
    auto window = open();
    window->SetStatusText("Module closed");
    const MainWindowForm& form = window->form();
    EXPECT_EQ(form.statusPanels[0]->text(), "Module closed");
    EXPECT_EQ(form.statusPanels[1]->text(), "B:0.5");  // what the player showed before
    EXPECT_EQ(form.statusPanels[2]->text(), "000/000");
    EXPECT_EQ(form.statusPanels[3]->text(), "0:00 / 0:00");
    for (int width : {430, 600, 380}) {
        window->resize(width, 420);
        QCoreApplication::processEvents();
        EXPECT_EQ(form.statusPanels[1]->width(), 40);
        EXPECT_EQ(form.statusPanels[2]->width(), 70);
        EXPECT_GE(form.statusPanels[3]->width(), 84);
        EXPECT_GT(form.statusPanels[0]->width(), width - 40 - 70 - form.statusPanels[3]->width() - 30);
        EXPECT_EQ(form.Panel1->width(), window->centralWidget()->width());  // the separator
        const int memoBottom = window->centralWidget()->y() + form.staModInfo->geometry().bottom() + 1;
        EXPECT_EQ(form.StatusBar->y() - memoBottom, 4);
    }
}

TEST_F(MainWindowTest, InformationViewHasItsOwnHeightThatSurvivesARestart)
{
    int compact = 0;
    int tall = 0;
    {
        auto window = open();
        compact = window->height();
        window->SetInfoView(true);
        EXPECT_TRUE(window->form().staModInfo->isVisible());
        EXPECT_GT(window->height(), compact);
        EXPECT_GT(window->form().staModInfo->height(), 40);
        window->resize(window->width(), window->height() + 50);
        tall = window->height();
        window->SetInfoView(false);
        EXPECT_EQ(window->height(), compact);
        EXPECT_FALSE(window->form().staModInfo->isVisible());
        window->resize(window->width(), compact + 7);
        compact += 7;
    }
    EXPECT_EQ(storedPlacement("Height"), static_cast<quint32>(compact));
    EXPECT_EQ(storedPlacement("Infoheight"), static_cast<quint32>(tall));
    auto window = open();
    EXPECT_EQ(window->height(), compact);
    window->SetInfoView(true);
    EXPECT_EQ(window->height(), tall);
}

TEST_F(MainWindowTest, FirstInformationViewKeepsTheWindowsHeight)
{
    auto window = open();
    window->resize(520, 340);
    window->SetInfoView(true);  // no "Infoheight" stored yet
    EXPECT_EQ(window->size(), QSize(520, 340));
    EXPECT_GT(window->form().staModInfo->height(), 40);
}

TEST_F(MainWindowTest, LongStatusTextIsElidedInsteadOfWideningTheWindow)
{
    const QString path = QString("/a folder with a long name").repeated(20) + "/fly.mod";
    const QString text = "Module \"" + path + "\" loaded";
    {
        auto window = open();
        const int width = window->width();
        window->SetStatusText(text);
        QCoreApplication::processEvents();  // the layouts follow the new text
        EXPECT_EQ(window->width(), width);
        EXPECT_EQ(window->form().statusPanels[0]->text(), text);
        EXPECT_EQ(window->form().statusPanels[1]->width(), 40);
        EXPECT_EQ(window->form().statusPanels[2]->width(), 70);
    }
    EXPECT_EQ(storedPlacement("Width"), static_cast<quint32>(MainWindowForm::kClientWidth));
}

TEST_F(MainWindowTest, PlaceOffEveryScreenOpensWhollyOnTheNearestAndStaysStored)
{
    // As stored before the monitor that showed it was unplugged.
    for (const auto& [name, value] : {std::pair{"Left", 5000u}, std::pair{"Top", 3000u}})
        registry.setValue(RegistryRoot::CurrentUser, RegistryKeys::kMainWindow, name,
                          RegistryValue::fromDword(value));
    for (bool movedByTheUser : {false, true}) {
        SCOPED_TRACE(movedByTheUser ? "moved" : "left where it came up");
        {
            auto window = open();
            const QRect screen = window->screen()->availableGeometry();
            EXPECT_TRUE(screen.contains(window->frameGeometry()));
            EXPECT_EQ(window->frameGeometry().bottomRight(), screen.bottomRight());  // the nearest
            window->SetInfoView(true);  // saves and restores the placement
            EXPECT_TRUE(screen.contains(window->frameGeometry()));
            if (movedByTheUser)
                window->move(100, 60);
        }
        EXPECT_EQ(storedPlacement("Left"), movedByTheUser ? 100u : 5000u);
        EXPECT_EQ(storedPlacement("Top"), movedByTheUser ? 60u : 3000u);
    }
}

TEST_F(MainWindowTest, PlacementIsWrittenWhenTheWindowGoes)
{
    {
        auto window = open();
        window->move(123, 77);
        window->resize(500, 260);
    }
    EXPECT_EQ(storedPlacement("Left"), 123u);
    EXPECT_EQ(storedPlacement("Top"), 77u);
    EXPECT_EQ(storedPlacement("Width"), 500u);
    EXPECT_EQ(storedPlacement("Height"), 260u);
    auto window = open();
    EXPECT_EQ(window->pos(), QPoint(123, 77));
    EXPECT_EQ(window->size(), QSize(500, 260));
}

TEST_F(MainWindowTest, CommandLineAndForwardedFilesBecomeTheCommandFile)
{
    auto window = open({"jukarium", "/tmp/My Mods/song.xm", "/ignored.mod"});
    EXPECT_EQ(window->session().CommandFile(), "/tmp/My Mods/song.xm");
    HandOver(*window, "/tmp/disc one.JKDC");
    EXPECT_EQ(window->session().CommandFile(), "/tmp/disc one.JKDC");
    window->hide();
    HandOver(*window, "");
    EXPECT_FALSE(window->isVisible());  // a hidden window stays hidden
}

TEST_F(MainWindowTest, OptionsAreWrittenWhenTheWindowGoes)
{
    {
        auto window = open();
        window->options().SetFadeout(25);
    }
    ClassOptions options(registry);
    EXPECT_EQ(options.Fadeout(), 25);
}

TEST_F(MainWindowTest, BannerScrollsATipLimeOnBlack)
{
    auto window = open();
    TBanner* banner = window->form().banMain;
    EXPECT_TRUE(banner->ScrollText().startsWith("Tip: "));
    EXPECT_TRUE(banner->ScrollEnabled());
    EXPECT_EQ(banner->ScrollInterval(), 100);
    EXPECT_EQ(banner->ScrollPixels(), 5);
    EXPECT_EQ(banner->Color(), QColor(Qt::black));
    EXPECT_EQ(banner->FontColor(), QColor(0, 255, 0));
    EXPECT_EQ(banner->font().pixelSize(), 13);
    EXPECT_EQ(banner->DragMode(), TDragMode::dmAutomatic);
    EXPECT_EQ(banner->PopupMenu(), window->form().popBanner);
    const quint16 before = banner->ScrollPos();
    banner->StepScroll();
    EXPECT_EQ(banner->ScrollPos(), before + 5);
}

TEST_F(MainWindowTest, ScrollerSwitchedOffStaysOffThroughPauses)
{
    auto window = open();
    TBanner* banner = window->form().banMain;
    window->form().popBanner_Disabled->trigger();
    EXPECT_TRUE(window->ScrollerDisabled());
    EXPECT_FALSE(banner->ScrollEnabled());
    window->PauseBanner();  // as around a dialog
    window->ResumeBanner();
    EXPECT_FALSE(banner->ScrollEnabled());
    window->form().popBanner_Enabled->trigger();
    EXPECT_TRUE(banner->ScrollEnabled());
    window->PauseBanner();
    EXPECT_FALSE(banner->ScrollEnabled());
    window->ResumeBanner();
    EXPECT_TRUE(banner->ScrollEnabled());
}
