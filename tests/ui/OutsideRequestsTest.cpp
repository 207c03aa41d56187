// Requests from outside the window against real boxes and the fade-out's real clock: no box
// opens inside another, and nothing waits on a fade-out that blocks.
#include "MainWindowMaker.h"

#include "app/CJKMessages.h"
#include "platform/Registry.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "support/TestSongs.h"
#include "ui/QtMessageBoxes.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

int boxesOnScreen()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += qobject_cast<QMessageBox*>(widget) && widget->isVisible();
    return count;
}

}  // namespace

class OutsideRequestsTest : public ::testing::Test {
protected:
    OutsideRequestsTest() { CJKMessages::SetMessageBoxes(&boxes); }
    ~OutsideRequestsTest() override { CJKMessages::SetMessageBoxes(nullptr); }

    std::unique_ptr<TMainWindow> open(const QStringList& arguments = {"jukarium"})
    {
        auto window = MakeMainWindow(registry, audio, arguments);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }
    QString status(TMainWindow& window) const { return window.form().statusPanels[0]->text(); }
    QString module(const char* name) const
    {
        return TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::Xm, dir.path(), name);
    }

    QTemporaryDir dir;
    Registry registry{dir.path()};
    OpenMptSdlAudio audio;
    QtMessageBoxes boxes;
};

TEST_F(OutsideRequestsTest, StartsThatArriveWhileABoxIsOpenWaitAndTheLatestWins)
{
    auto window = open();
    constexpr int kStarts = 50;
    int forwarded = 0;
    int boxesClosed = 0;
    int mostBoxesAtOnce = 0;
    const auto missing = [&](int n) { return dir.path() + QStringLiteral("/missing %1.mod").arg(n); };
    // Plays the second starts and the user: runs inside each box's event loop as well.
    QTimer user;
    user.setInterval(2);
    QObject::connect(&user, &QTimer::timeout, [&] {
        mostBoxesAtOnce = std::max(mostBoxesAtOnce, boxesOnScreen());
        if (forwarded < kStarts) {
            window->ReceiveForwardedFile(missing(forwarded++));
        } else if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            box->done(0);
            ++boxesClosed;
        }
    });
    user.start();
    QTRY_VERIFY_WITH_TIMEOUT(forwarded == kStarts && boxesClosed > 0
                                 && status(*window) == "Error reading \"" + missing(kStarts - 1) + "\""
                                 && !QApplication::activeModalWidget(),
                             20000);
    user.stop();
    EXPECT_EQ(mostBoxesAtOnce, 1);
    // The first start's box, then the latest start's: those between were dropped.
    EXPECT_EQ(boxesClosed, 2);
}

TEST_F(OutsideRequestsTest, MediaControlsHearOfAFailedLoadInTheStatusBarOnly)
{
    auto window = open();
    window->OpenFile(dir.path() + "/missing.mod");
    QTRY_COMPARE(status(*window), "Error reading \"" + dir.path() + "/missing.mod\"");
    EXPECT_EQ(boxesOnScreen(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(OutsideRequestsTest, TheWindowAnswersDuringAFadeOutAndOnlyTheLatestModuleFollowsIt)
{
    auto window = open({"jukarium", module("first")});
    ASSERT_TRUE(window->player().Playing());
    const QString second = module("second");
    const QString third = module("third");

    QElapsedTimer fade;
    fade.start();
    HandOver(*window, second);
    EXPECT_LT(fade.elapsed(), 500);  // the hand-over did not wait for the second's fade-out
    EXPECT_EQ(status(*window), "Fading out...");
    HandOver(*window, third);
    EXPECT_EQ(status(*window), "Skipped \"" + second + "\"");
    EXPECT_EQ(window->CurrentModule(), dir.path() + "/first.xm");
    // Meanwhile the event loop runs: timers fire and the window paints.
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(20);
    QTRY_COMPARE_WITH_TIMEOUT(window->CurrentModule(), third, 5000);
    EXPECT_GT(ticks, 10);
    EXPECT_EQ(status(*window), "Module \"third.xm\" loaded");
}
