// Requests from outside the window against the fade-out's real clock: nothing waits on a
// fade-out that blocks.
#include "MainWindowMaker.h"

#include "platform/Registry.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "support/TestSongs.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

class OutsideRequestsTest : public ::testing::Test {
protected:
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
};

TEST_F(OutsideRequestsTest, TheWindowAnswersDuringAFadeOutAndOnlyTheLatestModuleFollowsIt)
{
    auto window = open({"jukarium", module("first")});
    ASSERT_TRUE(window->player().Playing());
    const QString second = module("second");
    const QString third = module("third");

    QElapsedTimer fade;
    fade.start();
    window->ReceiveForwardedFile(second);
    EXPECT_LT(fade.elapsed(), 500);  // the hand-over did not wait for the second's fade-out
    EXPECT_EQ(status(*window), "Fading out...");
    window->ReceiveForwardedFile(third);
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
