// The window's own drawing on a screen shown at twice the scale (QT_SCALE_FACTOR=2, set for
// this program in CMake).
#include "controls/TBanner.h"
#include "controls/TIEButton.h"
#include "platform/Registry.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "MainWindowMaker.h"
#include "ui/TAboutWindow.h"
#include "ui/TMainWindow.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The share of 2 x 2 pixel blocks whose pixels differ. A picture drawn at one pixel per unit
// and doubled, as QPainter does without smooth transformation, has none; one drawn at the
// screen's own resolution has edges running through the blocks.
double splitBlocks(const QImage& image)
{
    int blocks = 0;
    int split = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb first = image.pixel(x, y);
            ++blocks;
            if (image.pixel(x + 1, y) != first || image.pixel(x, y + 1) != first
                || image.pixel(x + 1, y + 1) != first)
                ++split;
        }
    }
    return blocks == 0 ? 0 : double(split) / blocks;
}

// Whether widget draws at the screen's resolution: its screenshot has pixel ratio 2 and more
// than a few of its blocks are split (glyphs and text leave far more, flat areas none).
bool drawnAtTheScreensResolution(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    EXPECT_EQ(image.devicePixelRatio(), 2.0);
    return splitBlocks(image) > 0.02;
}

class ScaledScreenTest : public ::testing::Test {
protected:
    std::unique_ptr<TMainWindow> open()
    {
        auto window = MakeMainWindow(registry, audio);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    QTemporaryDir dir;
    Registry registry{dir.path()};
    OpenMptSdlAudio audio;
};

}  // namespace

TEST_F(ScaledScreenTest, GlyphsBannerAndCreditsAreDrawnAtTheScreensResolution)
{
    auto window = open();
    const MainWindowForm& form = window->form();
    for (TIEButton* button : {form.btnOpenFile, form.btnPlay, form.btnDeleteFile})
        EXPECT_TRUE(drawnAtTheScreensResolution(button)) << qPrintable(button->objectName());
    for (int step = 0; step < 20; ++step)
        form.banMain->StepScroll();
    EXPECT_TRUE(drawnAtTheScreensResolution(form.banMain));

    TAboutWindow about(window.get());
    about.show();
    auto* credits = about.findChild<TBanner*>(QStringLiteral("Banner1"));
    ASSERT_NE(credits, nullptr);
    EXPECT_TRUE(drawnAtTheScreensResolution(credits));
}
