// The main window's playing commands, with modules made here, the real audio library on the
// dummy sound driver, and the open dialog's choice scripted.
#include "controls/SeekBar.h"
#include "controls/TBanner.h"
#include "controls/TIEButton.h"
#include "platform/Registry.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "playback/ClassModPlayer.h"
#include "settings/ClassOptions.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestSongs.h"
#include "support/TimerTick.h"
#include "MainWindowMaker.h"
#include "ui/TMainWindow.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

class PlayCommandsTest : public ::testing::Test {
protected:
    PlayCommandsTest()
    {
        for (const char* name : {"one", "two", "three"})
            modules << TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::Xm, dir.path(), name);
        window = MakeMainWindow(registry, audio);
        window->player().SetFadeOutSteps(0);
        window->SetModuleFileChooser([this](const QString& start) {
            startDirectories << start;
            return chosen;
        });
        window->show();
    }

    void open(const QStringList& files)
    {
        chosen = files;
        window->form().mnuFile_Open->trigger();
    }
    void next() { window->form().btnNextModule->click(); }
    void previous() { window->form().btnLastModule->click(); }
    QString status() const { return window->form().statusPanels[0]->text(); }
    // The press-and-hold repeat of fast-forward ("timFFWPress") or rewind ("timREVPress").
    QTimer* repeat(const char* name) const { return window->findChild<QTimer*>(QLatin1String(name)); }

    void mouse(QEvent::Type type, QWidget* button, QPoint at)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, button->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &event);
    }

    QTemporaryDir dir;
    Registry registry{dir.path() + "/registry"};
    OpenMptSdlAudio audio;
    ScriptedMessageBoxes boxes;
    QStringList modules;
    QStringList chosen;
    QStringList startDirectories;
    std::unique_ptr<TMainWindow> window;
};

TEST_F(PlayCommandsTest, BrowsingASelectionOfThree)
{
    open(modules);
    EXPECT_EQ(window->CurrentModule(), modules[0]);
    EXPECT_EQ(window->windowTitle(), "ONE.XM - Vorn Jukarium");
    EXPECT_EQ(status(), "Module \"one.xm\" loaded");
    EXPECT_EQ(window->options().OpenModulePath(), dir.path() + "/");
    next();
    next();
    EXPECT_EQ(window->CurrentModule(), modules[2]);
    window->player().StepForward();
    ASSERT_EQ(window->player().Position(), 1);
    next();  // past the end: the last stays, without restarting
    EXPECT_EQ(window->SelectionIndex(), 3);
    EXPECT_EQ(window->player().Position(), 1);
    previous();
    previous();
    previous();
    EXPECT_EQ(window->CurrentModule(), modules[0]);
    EXPECT_EQ(window->SelectionIndex(), 1);
    open(modules);  // several files: the first always loads again
    EXPECT_EQ(window->player().Position(), 0);
    EXPECT_EQ(startDirectories.last(), dir.path() + "/");
}

TEST_F(PlayCommandsTest, SingleSelectionAlreadyPlayingAsksForSeveral)
{
    next();
    previous();
    EXPECT_TRUE(window->CurrentModule().isEmpty());  // nothing chosen yet: nothing happens
    open({modules[1]});
    window->player().StepForward();
    open({modules[1]});  // the current module is not loaded again
    EXPECT_EQ(window->player().Position(), 1);
    EXPECT_TRUE(boxes.shown.isEmpty());
    next();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].request.text.startsWith("This function is only available when several"));
    window->form().mnuFile_Close->trigger();
    EXPECT_EQ(window->windowTitle(), "Vorn Jukarium");
    next();  // the selected file comes back
    EXPECT_EQ(window->CurrentModule(), modules[1]);
}

TEST_F(PlayCommandsTest, StopAndPlayContinue)
{
    open({modules[0]});
    window->form().btnStop->click();
    EXPECT_EQ(status(), "Playback stopped");
    EXPECT_FALSE(window->player().Playing());
    window->form().btnPlay->click();
    EXPECT_EQ(status(), "Continue playing");
    EXPECT_TRUE(window->player().Playing());
}

TEST_F(PlayCommandsTest, HoldingForwardWithoutAModuleAsksOnce)
{
    TIEButton* forward = window->form().btnFastForward;
    QTimer* forwardRepeat = repeat("timFFWPress");
    ASSERT_NE(forwardRepeat, nullptr);
    mouse(QEvent::MouseButtonPress, forward, QPoint(5, 5));
    EXPECT_EQ(boxes.shown.size(), 1);
    // No repeat runs on to ask again while the button is held.
    EXPECT_FALSE(forwardRepeat->isActive());
    mouse(QEvent::MouseButtonRelease, forward, QPoint(5, 5));
    EXPECT_EQ(boxes.shown.size(), 1);
}

TEST_F(PlayCommandsTest, NoRepeatRunsBehindTheNoModuleMessage)
{
    // A real box runs an event loop of its own: a repeat running behind it would step again
    // and put a second box over the first.
    struct RepeatWatchingBoxes : MessageBoxes {
        const QTimer* repeat = nullptr;
        int shown = 0;
        bool repeatingBehind = false;
        MessageBoxRequest::Button present(const MessageBoxRequest& request) override
        {
            ++shown;
            repeatingBehind = repeatingBehind || repeat->isActive();
            return request.escapeButton;
        }
    };
    const std::pair<TIEButton*, const char*> holds[] = {
        {window->form().btnFastForward, "timFFWPress"}, {window->form().btnRewind, "timREVPress"}};
    for (const auto& [button, repeatName] : holds) {
        SCOPED_TRACE(repeatName);
        RepeatWatchingBoxes watching;
        watching.repeat = repeat(repeatName);
        ASSERT_NE(watching.repeat, nullptr);
        CJKMessages::SetMessageBoxes(&watching);
        mouse(QEvent::MouseButtonPress, button, QPoint(5, 5));
        CJKMessages::SetMessageBoxes(&boxes);
        mouse(QEvent::MouseButtonRelease, button, QPoint(5, 5));
        EXPECT_EQ(watching.shown, 1);
        EXPECT_FALSE(watching.repeatingBehind);
    }
}

TEST_F(PlayCommandsTest, HoldingForwardStepsUntilReleasedOrLeftToTheLeft)
{
    open({modules[0]});
    TIEButton* forward = window->form().btnFastForward;
    QTimer* forwardRepeat = repeat("timFFWPress");
    QTimer* rewindRepeat = repeat("timREVPress");
    ASSERT_NE(forwardRepeat, nullptr);
    ASSERT_NE(rewindRepeat, nullptr);
    mouse(QEvent::MouseButtonPress, forward, QPoint(5, 5));
    EXPECT_EQ(window->player().Position(), 1);  // one step at once
    // then one every tick, on to the last position (of 6) and no further
    for (int position : {2, 3, 4, 5, 5}) {
        ASSERT_TRUE(tickNow(*forwardRepeat));
        EXPECT_EQ(window->player().Position(), position);
    }
    mouse(QEvent::MouseButtonRelease, forward, QPoint(5, 5));
    EXPECT_FALSE(forwardRepeat->isActive());

    TIEButton* rewind = window->form().btnRewind;
    mouse(QEvent::MouseButtonPress, rewind, QPoint(5, 5));
    EXPECT_EQ(window->player().Position(), 4);
    mouse(QEvent::MouseMove, rewind, QPoint(40, 5));  // out to the right: goes on
    ASSERT_TRUE(tickNow(*rewindRepeat));
    EXPECT_EQ(window->player().Position(), 3);
    mouse(QEvent::MouseMove, rewind, QPoint(-3, 5));  // out to the left: stops
    EXPECT_FALSE(rewindRepeat->isActive());
    EXPECT_EQ(window->player().Position(), 3);
    mouse(QEvent::MouseButtonRelease, rewind, QPoint(-3, 5));
}

TEST_F(PlayCommandsTest, SpaceOrEnterHeldOnForwardOrRewindStepsLikeTheHeldMouseButton)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));  // for the focus to move
    open({modules[0]});
    TIEButton* forward = window->form().btnFastForward;
    QTimer* forwardRepeat = repeat("timFFWPress");
    ASSERT_NE(forwardRepeat, nullptr);
    forward->setFocus();
    QTest::keyPress(forward, Qt::Key_Space);
    EXPECT_EQ(window->player().Position(), 1);  // one step at once
    // The key's own repeat adds nothing: the timer keeps the mouse's pace.
    QKeyEvent autoRepeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QCoreApplication::sendEvent(forward, &autoRepeat);
    EXPECT_EQ(window->player().Position(), 1);
    ASSERT_TRUE(tickNow(*forwardRepeat));
    EXPECT_EQ(window->player().Position(), 2);
    QTest::keyRelease(forward, Qt::Key_Space);
    EXPECT_FALSE(forwardRepeat->isActive());

    TIEButton* rewind = window->form().btnRewind;
    QTimer* rewindRepeat = repeat("timREVPress");
    rewind->setFocus();
    QTest::keyPress(rewind, Qt::Key_Return);
    EXPECT_EQ(window->player().Position(), 1);
    EXPECT_TRUE(rewindRepeat->isActive());
    forward->setFocus();  // the release will go elsewhere: stepping ends with the focus
    EXPECT_FALSE(rewindRepeat->isActive());
    EXPECT_EQ(window->player().Position(), 1);
}

TEST_F(PlayCommandsTest, InformationButtonShowsTheInstrumentsInTheTallView)
{
    open({modules[0]});
    window->form().btnShowModuleInfo->click();
    EXPECT_TRUE(window->InfoVisible());
    EXPECT_EQ(status(), "Displaying infos");
    EXPECT_TRUE(window->form().staModInfo->toPlainText().startsWith("-=] Instruments [=-\n001: "));
    window->form().btnShowModuleInfo->click();
    EXPECT_FALSE(window->InfoVisible());
}

TEST_F(PlayCommandsTest, ForwardedModuleIsPlayed)
{
    HandOver(*window, modules[2]);
    EXPECT_EQ(window->CurrentModule(), modules[2]);
    HandOver(*window, dir.path() + "/notes.txt");
    EXPECT_EQ(window->CurrentModule(), modules[2]);
}

TEST_F(PlayCommandsTest, AClickOnTheSeekBarGoesToThatTimeAndTheBarFollowsTheSong)
{
    SeekBar* bar = window->form().sldSeek;
    EXPECT_FALSE(bar->isEnabled());  // no song
    open({modules[0]});
    ASSERT_TRUE(bar->isEnabled());
    const double length = window->player().Details().durationSeconds;
    EXPECT_EQ(bar->maximum(), qRound(length * 1000));
    const QPoint middle(bar->width() / 2, bar->height() / 2);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_NEAR(window->player().PlayTime(), length / 2, length / 10);
    EXPECT_NEAR(bar->value() / 1000.0, length / 2, length / 10);

    window->player().CloseModule();
    EXPECT_FALSE(bar->isEnabled());
}

TEST_F(PlayCommandsTest, TheSubsongMenuListsEverySongAndPlaysTheOneChosen)
{
    const MainWindowForm& form = window->form();
    open({modules[0]});
    EXPECT_FALSE(form.mnuFile_Subsong->isEnabled());  // a module of one song

    ModuleMaker::Song threeSongs = TestSongs::toneSong();
    threeSongs.orders = {0, ModuleMaker::kSongEnd, 1, 2, ModuleMaker::kSongEnd, 3};
    open({TestSongs::write(threeSongs, ModuleMaker::Format::It, dir.path(), "three")});
    ASSERT_TRUE(form.mnuFile_Subsong->isEnabled());
    EXPECT_FALSE(form.mnuFile_PreviousSubsong->isEnabled());
    emit form.mnuFile_Subsong->aboutToShow();
    const QList<QAction*> items = form.mnuFile_Subsong->actions();
    ASSERT_EQ(items.size(), 3);
    const QList<Subsong> subsongs = window->player().Details().subsongs;
    EXPECT_EQ(items[1]->text(), "2 (" + ClassModPlayer::ClockText(subsongs[1].seconds, false) + ")");
    EXPECT_TRUE(items[0]->isChecked());

    items[2]->trigger();
    EXPECT_EQ(window->player().Details().subsong, 2);
    EXPECT_EQ(window->player().Details().durationSeconds, subsongs[2].seconds);
    EXPECT_EQ(form.sldSeek->maximum(), qRound(subsongs[2].seconds * 1000));
    EXPECT_TRUE(form.statusPanels[3]->text().endsWith(ClassModPlayer::ClockText(subsongs[2].seconds, false)));
    EXPECT_FALSE(form.mnuFile_NextSubsong->isEnabled());
    EXPECT_TRUE(form.banMain->ScrollText().endsWith(" || Subsong 3 of 3"));
    form.mnuFile_PreviousSubsong->trigger();
    EXPECT_EQ(window->player().Details().subsong, 1);
    EXPECT_TRUE(window->player().Playing());

    // Order steps keep within the orders of the second song (2 and 3).
    for (int step = 0; step < 3; ++step) {
        window->player().StepBack();
        EXPECT_EQ(window->player().Position(), 2);
    }
    for (int step = 0; step < 3; ++step)
        window->player().StepForward();
    EXPECT_EQ(window->player().Position(), 3);

    // Shorter than a second, the first and the last are junk: only the one that plays of them
    // is listed, and steps pass over the others.
    window->player().SetShortestSubsong(1);
    window->player().SelectSubsong(0);
    emit form.mnuFile_Subsong->aboutToShow();
    ASSERT_EQ(form.mnuFile_Subsong->actions().size(), 2);
    form.mnuFile_NextSubsong->trigger();
    EXPECT_EQ(window->player().Details().subsong, 1);
    EXPECT_FALSE(form.mnuFile_NextSubsong->isEnabled());
    EXPECT_FALSE(form.mnuFile_Subsong->isEnabled());  // one song left to choose
}
