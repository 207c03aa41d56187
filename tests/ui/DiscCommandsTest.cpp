// The main window's disc commands with the real disc model, real files and real modules.
#include "controls/TBanner.h"
#include "controls/TIEButton.h"
#include "disc/ClassDisc.h"
#include "platform/Registry.h"
#include "settings/RegistryKeys.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "playback/ClassModPlayer.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestSongs.h"
#include "MainWindowMaker.h"
#include "ui/TCDirectoryChoose.h"
#include "ui/TMainWindow.h"

#include <QDir>
#include <QDropEvent>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QTimer>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

class DiscCommandsTest : public ::testing::Test {
protected:
    DiscCommandsTest()
    {
        module = TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::S3m, dir.path(), "fly");
    }

    std::unique_ptr<TMainWindow> open(const QStringList& arguments = {"jukarium"})
    {
        auto window = MakeMainWindow(registry, audio, arguments);
        window->player().SetFadeOutSteps(0);
        window->show();
        return window;
    }

    // Drops the banner on a slot button as a drag from the banner would; true when accepted.
    static bool dropBanner(QWidget* slot)
    {
        std::unique_ptr<QMimeData> data(TBanner::createDragData());
        const QPointF at(5, 5);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(slot, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(slot, &drop);
        return drop.isAccepted();
    }

    QTemporaryDir dir;
    QString module;
    Registry registry{dir.path() + "/registry"};
    OpenMptSdlAudio audio;
    ScriptedMessageBoxes boxes;
};

TEST_F(DiscCommandsTest, BannerDroppedOnASlotAssignsTheCurrentModule)
{
    auto window = open();
    TIEButton* slot7 = window->form().ibtDiscNr[6];
    EXPECT_FALSE(dropBanner(slot7));  // no module: refused
    HandOver(*window, module);
    ASSERT_EQ(window->CurrentModule(), module);
    EXPECT_TRUE(dropBanner(slot7));
    EXPECT_EQ(window->disc().SlotPath(7), module);
    EXPECT_TRUE(window->disc().Changed());
    EXPECT_TRUE(slot7->font().bold());
    EXPECT_EQ(slot7->toolTip(), "Tone Test Song");
}

TEST_F(DiscCommandsTest, MenuKeyOrShiftF10OpensTheFocusedButtonsMenuBelowIt)
{
    auto window = open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    HandOver(*window, module);
    struct Case {
        TIEButton* button;
        QKeyCombination keys;
        QMenu* menu;
        char pick;  // the underlined key of the item chosen
    };
    const MainWindowForm& form = window->form();
    const Case cases[] = {{form.ibtDiscNr[2], QKeyCombination(Qt::Key_Menu), form.popDiscNrButtons, 'a'},
                          {form.ibtDiscNr[2], Qt::SHIFT | Qt::Key_F10, form.popDiscNrButtons, 'c'},
                          {form.btnDisc2, QKeyCombination(Qt::Key_Menu), form.popDiscDiscButtons, 'n'}};
    for (const Case& c : cases) {
        c.button->setFocus();
        QPoint shownAt;
        QTimer::singleShot(0, window.get(), [&] {
            QWidget* popup = QApplication::activePopupWidget();
            if (popup != c.menu)
                return;
            shownAt = popup->pos();
            QTest::keyClick(popup, c.pick);
        });
        QTest::keyClick(c.button, c.keys.key(), c.keys.keyboardModifiers());
        EXPECT_EQ(shownAt, c.button->mapToGlobal(QPoint(0, c.button->height()))) << c.pick;
        if (c.pick == 'a') {
            EXPECT_EQ(window->disc().SlotPath(3), module);
            EXPECT_EQ(c.button->accessibleName(), "Slot 3, Tone Test Song");
        }
        if (c.pick == 'c') {
            EXPECT_EQ(c.button->accessibleName(), "Slot 3, empty");
        }
    }
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(DiscCommandsTest, EachDirectoryChooserStartsWhereTheLastLeftOffAndTheProcessStaysPut)
{
    auto window = open();
    const QString here = QDir::currentPath();
    const QString inner = QDir(dir.path()).canonicalPath() + "/inner";
    ASSERT_TRUE(QDir().mkpath(inner));
    QStringList startedIn;
    const auto chooseAndLeave = [&](const QString& browseTo) {
        QTimer::singleShot(0, window.get(), [&startedIn, browseTo] {
            auto* chooser = qobject_cast<TCDirectoryChoose*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            startedIn << chooser->SelectedDirectory();
            if (!browseTo.isEmpty())
                chooser->Browse(browseTo);
            chooser->reject();
        });
        window->ChooseDirectory(TCDirectoryChoose::kCopyModule);
    };
    chooseAndLeave(inner);
    chooseAndLeave(QString());
    EXPECT_EQ(startedIn, (QStringList{QDir(here).canonicalPath(), inner}));
    EXPECT_EQ(QDir::currentPath(), here);
}

TEST_F(DiscCommandsTest, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindow)
{
    auto window = open();
    HandOver(*window, module);
    window->disc().AssignSlot(3, module);
    boxes.answers = {MessageBoxRequest::Button::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].request.text, "There have been changes to the current disc. Save?");
    boxes.answers = {MessageBoxRequest::Button::No};
    EXPECT_TRUE(window->close());
}

TEST_F(DiscCommandsTest, APoliteRequestToEndClosesWithoutAskingAboutTheDisc)
{
    auto window = open();
    HandOver(*window, module);
    window->disc().AssignSlot(3, module);
    window->EndWithoutQuestions();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(DiscCommandsTest, DiscFromTheCommandLineOrASecondStartIsLoadedAndItsSlotsPlay)
{
    const QString discPath = dir.path() + "/rock.JKDC";
    {
        auto window = open();
        window->disc().AssignSlot(2, "fly.s3m");  // a bare name: beside the disc file
        window->disc().SaveToFile(discPath);
        window->disc().CloseDisc();
    }
    auto window = open({"jukarium", discPath});
    EXPECT_EQ(window->form().grpDisc->title(), "rock.JKDC");
    window->form().ibtDiscNr[1]->click();
    EXPECT_EQ(window->CurrentModule(), module);
    EXPECT_TRUE(window->form().ibtDiscNr[1]->font().italic());

    window->form().mnuDisc_Close->trigger();
    EXPECT_EQ(window->form().grpDisc->title(), "(no disc loaded)");
    HandOver(*window, discPath);
    EXPECT_EQ(window->disc().SlotPath(2), "fly.s3m");
    window->form().btnDisc1->click();  // unassigned disc button
    ASSERT_FALSE(boxes.shown.isEmpty());
    EXPECT_TRUE(boxes.shown.last().request.text.startsWith("No disc was assigned to this button."));
}

TEST_F(DiscCommandsTest, WhenASlotsSongEndsTheNextSlotPlays)
{
    // End to end, with real sound; the other rules for a song's end are the session's tests.
    ModuleMaker::Song shortSong = TestSongs::toneSong();
    shortSong.orders = {0};  // 0.96 s
    const QString first = TestSongs::write(shortSong, ModuleMaker::Format::It, dir.path(), "short");
    // Stored before the start, as a user's choice is.
    registry.setValue(RegistryRoot::CurrentUser, RegistryKeys::kOptions + "\\Playing", "At the end",
                      RegistryValue::fromString("1"));
    auto window = open();
    window->disc().AssignSlot(1, first);
    window->disc().AssignSlot(6, module);

    window->form().ibtDiscNr[0]->click();
    EXPECT_TRUE(QTest::qWaitFor([&window, this] { return window->CurrentModule() == module; }, 5000));
    EXPECT_TRUE(window->player().Playing());
    EXPECT_EQ(window->disc().CurrentSlot(), 6);
    EXPECT_TRUE(window->form().ibtDiscNr[5]->font().italic());
}
