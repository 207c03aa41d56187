// The window and its own drawing on a screen shown at twice the scale (QT_SCALE_FACTOR=2, set
// for this program in CMake): the offscreen screen of 800 x 800 pixels is 400 x 400 units,
// smaller than the main window.
#include "controls/TBanner.h"
#include "controls/TIEButton.h"
#include "platform/Registry.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "settings/ClassOptions.h"
#include "settings/RegistryKeys.h"
#include "MainWindowMaker.h"
#include "ui/TAboutWindow.h"
#include "ui/TCDirectoryChoose.h"
#include "ui/TMainWindow.h"

#include <QAction>
#include <QPalette>
#include <QScreen>
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

// The pixels of widget as its window holds them for the screen (the offscreen platform's
// backing store), at the screen's resolution.
QImage shownPixels(QWidget* widget)
{
    QWidget* const top = widget->window();
    const QImage window = top->screen()->grabWindow(top->winId()).toImage();
    const int ratio = qRound(window.devicePixelRatio());
    const QRect area(widget->mapTo(top, QPoint()) * ratio, widget->size() * ratio);
    return window.copy(area).convertToFormat(QImage::Format_RGB32);
}

QImage paintedPixels(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Counts the paint events that reach a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};

class ScaledScreenTest : public ::testing::Test {
protected:
    std::unique_ptr<TMainWindow> open()
    {
        auto window = MakeMainWindow(registry, audio);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    void store(const char* name, quint32 value)
    {
        registry.setValue(RegistryRoot::CurrentUser, RegistryKeys::kMainWindow, name,
                          RegistryValue::fromDword(value));
    }
    std::optional<quint32> stored(const char* name) const
    {
        const auto value = registry.value(RegistryRoot::CurrentUser, RegistryKeys::kMainWindow, name);
        return value ? std::optional<quint32>(value->number) : std::nullopt;
    }

    QTemporaryDir dir;
    Registry registry{dir.path()};
    OpenMptSdlAudio audio;
};

}  // namespace

TEST_F(ScaledScreenTest, WindowTooLargeForTheScreenOpensWhollyOnItAndKeepsItsStoredBounds)
{
    // As stored at one unit per pixel.
    store("Left", 60);
    store("Top", 40);
    store("Width", 430);
    store("Height", 450);
    for (bool resizedByTheUser : {false, true}) {
        SCOPED_TRACE(resizedByTheUser ? "resized" : "left as it came up");
        {
            auto window = open();
            const QRect screen = window->screen()->availableGeometry();
            ASSERT_EQ(screen.size(), QSize(400, 400));
            EXPECT_TRUE(screen.contains(window->frameGeometry())) << window->frameGeometry().x();
            if (resizedByTheUser)
                window->resize(380, 200);
        }
        EXPECT_EQ(stored("Left"), resizedByTheUser ? 0u : 60u);
        EXPECT_EQ(stored("Width"), resizedByTheUser ? 380u : 430u);
        EXPECT_EQ(stored("Height"), resizedByTheUser ? 200u : 450u);
    }
}

TEST_F(ScaledScreenTest, PatternViewOpensWhollyOnTheScreenAndKeepsItsStoredBounds)
{
    auto window = open();
    window->form().mnuFile_PatternView->trigger();
    auto* view = window->findChild<QWidget*>("PatternView");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->screen()->availableGeometry().contains(view->frameGeometry()))
        << view->frameGeometry().x();
    window.reset();
    const auto stored = registry.value(RegistryRoot::CurrentUser, RegistryKeys::kPatternView, "Width");
    ASSERT_TRUE(stored);
    EXPECT_GT(stored->number, 400u);  // the size it comes in, for a larger screen
}

TEST_F(ScaledScreenTest, DirectoryChooserNeverRunsPastTheScreensEdge)
{
    ClassOptions options(registry);
    TCDirectoryChoose chooser(options);
    chooser.show();
    EXPECT_TRUE(chooser.screen()->availableGeometry().contains(chooser.frameGeometry()));
}

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

// A shown banner's steps go to its window without a paint event; what they leave there is what
// its paint draws. Covered in part, it is repainted under what covers it.
TEST_F(ScaledScreenTest, BannerStepsShowWhatItsPaintDraws)
{
    // Wide enough for the banner's pixels to lie inside the part of the window that the
    // offscreen platform hands out: as many pixels as the window has units.
    QWidget window;
    window.resize(600, 120);
    auto* banner = new TBanner(&window);
    banner->setGeometry(10, 20, 263, 25);
    banner->SetColor(Qt::black);
    banner->SetFontColor(Qt::green);
    banner->SetScrollPixels(5);
    banner->SetNoGap(true);
    banner->SetScrollText(QStringLiteral("Night Drive || 261 kB"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    banner->clearFocus();  // the window's only stop of the Tab key took the focus, and its frame
    QCoreApplication::processEvents();
    PaintCounter paints(banner);
    for (int step = 0; step < 30; ++step) {
        banner->StepScroll();
        ASSERT_EQ(paints.count, 0) << "step " << step;
        ASSERT_EQ(shownPixels(banner), paintedPixels(banner)) << "step " << step;
        paints.count = 0;  // the paint of paintedPixels
    }

    auto* cover = new QWidget(&window);  // the later sibling lies above the banner
    cover->setGeometry(100, 10, 20, 60);
    cover->setAutoFillBackground(true);
    cover->setPalette(QPalette(Qt::red));
    cover->show();
    QCoreApplication::processEvents();
    paints.count = 0;
    banner->StepScroll();
    EXPECT_EQ(paints.count, 1);
    EXPECT_EQ(shownPixels(banner).pixelColor(2 * 95, 2 * 10), QColor(Qt::red));
}
