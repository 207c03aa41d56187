// The banner widget: content kinds, switching scrolling on and off, steps driven by the test,
// and the pixels it puts on screen.
#include "controls/BannerContent.h"
#include "controls/TBanner.h"

#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QColor kBlack(Qt::black);
const QColor kLime(0, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

// A picture of the given size, red with a blue first column and first row, so that its
// position and orientation show in the banner's pixels.
QImage marked(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kRed);
    for (int y = 0; y < size.height(); ++y)
        image.setPixelColor(0, y, kBlue);
    for (int x = 0; x < size.width(); ++x)
        image.setPixelColor(x, 0, kBlue);
    return image;
}

class BannerTest : public ::testing::Test {
protected:
    BannerTest()
    {
        // The main window's banner.
        banner.resize(263, 25);
        banner.SetColor(kBlack);
        banner.SetFontColor(kLime);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(13);
        banner.setFont(font);
        banner.SetScrollInterval(100);
        banner.SetScrollPixels(5);
    }

    QImage screen() { return banner.grab().toImage(); }

    void step(int times)
    {
        for (int i = 0; i < times; ++i)
            banner.StepScroll();
    }

    // Every pixel of the banner has the background colour.
    bool showsOnlyColor()
    {
        const QImage image = screen();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != banner.Color())
                    return false;
        return true;
    }

    TBanner banner;
    QSignalSpy enabled{&banner, &TBanner::scrollingEnabled};
    QSignalSpy disabled{&banner, &TBanner::scrollingDisabled};
    QSignalSpy scrolled{&banner, &TBanner::scrolled};
};

}  // namespace

// Creation and set-up --------------------------------------------------------------------------

TEST(BannerDefaults, NewBannerIsStoppedAndEmpty)
{
    TBanner banner;
    EXPECT_EQ(banner.size(), QSize(100, 100));
    EXPECT_FALSE(banner.ScrollEnabled());
    EXPECT_TRUE(banner.isEnabled());  // scrolling off never disables input
    EXPECT_TRUE(banner.AutoEnable());
    EXPECT_FALSE(banner.NoGap());
    EXPECT_FALSE(banner.OnlyOnce());
    EXPECT_EQ(banner.ScrollDirection(), TScrollDirection::sdRightToLeft);
    EXPECT_EQ(banner.ScrollInterval(), 200);
    EXPECT_EQ(banner.ScrollPixels(), 4);
    EXPECT_EQ(banner.ScrollPos(), 0);
    EXPECT_EQ(banner.LinesAlign(), TAlignment::taCenter);
    EXPECT_TRUE(banner.Bitmap().isNull());
    EXPECT_TRUE(banner.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST_F(BannerTest, TextScrollsRightAfterLoadingWithAutoEnable)
{
    TBanner loaded;
    loaded.beginLoad();
    loaded.SetScrollText(QStringLiteral("xxx"));
    loaded.setFont(banner.font());  // the font may come after the text while loading
    EXPECT_FALSE(loaded.ScrollEnabled());
    loaded.Loaded();
    EXPECT_TRUE(loaded.ScrollEnabled());
    EXPECT_EQ(loaded.Bitmap().size(), BannerContent::textSize(QStringLiteral("xxx"), banner.font()));
}

TEST_F(BannerTest, WritesOfScrollEnabledAreIgnoredWhileLoading)
{
    banner.beginLoad();
    banner.SetScrollEnabled(true);  // would throw without content
    EXPECT_FALSE(banner.ScrollEnabled());
    EXPECT_EQ(enabled.count(), 0);
}

// Content and switching ------------------------------------------------------------------------

TEST_F(BannerTest, ScrollTextSwitchesOffRendersAndSwitchesOn)
{
    banner.SetScrollText(QStringLiteral("xxx"));
    EXPECT_TRUE(banner.ScrollEnabled());
    EXPECT_EQ(disabled.count(), 1);
    EXPECT_EQ(enabled.count(), 1);
    EXPECT_EQ(banner.Bitmap().size(), BannerContent::textSize(QStringLiteral("xxx"), banner.font()));
    EXPECT_EQ(banner.Bitmap().pixelColor(0, 0), kBlack);  // rendered on the banner's colour
}

TEST_F(BannerTest, EachContentKindReplacesTheOthers)
{
    banner.SetLines({QStringLiteral("one"), QStringLiteral("two")});
    banner.SetScrollText(QStringLiteral("text"));
    EXPECT_TRUE(banner.Lines().isEmpty());
    banner.SetLines({QStringLiteral("one")});
    EXPECT_TRUE(banner.ScrollText().isEmpty());
    banner.SetBitmap(marked({10, 10}));
    EXPECT_TRUE(banner.Lines().isEmpty());
    EXPECT_TRUE(banner.ScrollText().isEmpty());
    EXPECT_EQ(banner.Bitmap().size(), QSize(10, 10));
}

TEST_F(BannerTest, SwitchingOnFiresEveryTimeAlsoWhenAlreadyOn)
{
    banner.SetBitmap(marked({10, 10}));
    banner.SetScrollEnabled(true);
    banner.SetScrollEnabled(true);
    banner.SetScrollEnabled(false);
    banner.SetScrollEnabled(false);
    EXPECT_EQ(enabled.count(), 3);  // the picture's own AutoEnable, then two writes
    EXPECT_EQ(disabled.count(), 2);
}

TEST_F(BannerTest, SwitchingOnWithoutContentThrowsAndChangesNothing)
{
    try {
        banner.SetScrollEnabled(true);
        FAIL() << "no exception";
    } catch (const BannerContentError& error) {
        EXPECT_STREQ(error.what(), "Assign a bitmap or text to banner before enabling");
    }
    EXPECT_FALSE(banner.ScrollEnabled());
    EXPECT_EQ(enabled.count(), 0);
    EXPECT_EQ(disabled.count(), 0);
}

TEST_F(BannerTest, EmptyTextWithAutoEnableThrowsAfterItsEarlierSteps)
{
    banner.SetLines({QStringLiteral("old")});
    disabled.clear();
    EXPECT_THROW(banner.SetScrollText(QString()), BannerContentError);
    EXPECT_FALSE(banner.ScrollEnabled());  // switched off before rendering
    EXPECT_EQ(disabled.count(), 1);
    EXPECT_TRUE(banner.Lines().isEmpty());
    EXPECT_TRUE(banner.Bitmap().isNull());
}

TEST_F(BannerTest, EmptyLinesThrowWhenScrollingWasOnEvenWithoutAutoEnable)
{
    banner.SetAutoEnable(false);
    banner.SetBitmap(marked({10, 10}));
    banner.SetScrollEnabled(true);
    EXPECT_THROW(banner.SetLines({}), BannerContentError);
    EXPECT_FALSE(banner.ScrollEnabled());
}

TEST_F(BannerTest, LinesThatRenderToNothingCountAsNoContent)
{
    EXPECT_THROW(banner.SetLines({QString(), QString()}), BannerContentError);
    EXPECT_FALSE(banner.ScrollEnabled());
    EXPECT_THROW(banner.SetScrollEnabled(true), BannerContentError);
}

TEST_F(BannerTest, EmptyPictureDoesNotSwitchOn)
{
    banner.SetBitmap(QImage());
    EXPECT_FALSE(banner.ScrollEnabled());
    EXPECT_EQ(enabled.count(), 0);
}

TEST_F(BannerTest, TextIsDiscardedWhenStoppedAndRebuiltWhereItWas)
{
    banner.SetScrollText(QStringLiteral("Tip: drag me"));
    const QImage rendered = banner.Bitmap();
    step(10);
    banner.SetScrollEnabled(false);
    EXPECT_TRUE(banner.Bitmap().isNull());
    EXPECT_TRUE(showsOnlyColor());
    EXPECT_EQ(banner.ScrollPos(), 50);

    banner.SetScrollEnabled(true);
    EXPECT_EQ(banner.Bitmap(), rendered);
    EXPECT_EQ(banner.ScrollPos(), 50);
    step(1);
    EXPECT_EQ(banner.ScrollPos(), 55);
}

TEST_F(BannerTest, APictureStaysWhenStopped)
{
    banner.SetBitmap(marked({100, 15}));
    step(10);
    banner.SetScrollEnabled(false);
    EXPECT_FALSE(banner.Bitmap().isNull());
    EXPECT_EQ(screen().pixelColor(263 - 50, 5), kBlue);  // still shown where it stopped
}

TEST_F(BannerTest, BannerStoppedByTheUserStaysStoppedWhenItsTextChanges)
{
    banner.SetScrollText(QStringLiteral("first"));
    banner.SetScrollEnabled(false);  // the user's choice

    // The text feed's order: remember, write the text, write the remembered value back.
    const bool wasOn = banner.ScrollEnabled();
    banner.SetScrollText(QStringLiteral("> No module loaded <"));
    banner.SetScrollEnabled(wasOn);

    EXPECT_FALSE(banner.ScrollEnabled());
    EXPECT_EQ(banner.ScrollText(), QStringLiteral("> No module loaded <"));
    EXPECT_TRUE(showsOnlyColor());
    banner.SetScrollEnabled(true);  // picks up the new text
    EXPECT_EQ(banner.Bitmap().size(),
              BannerContent::textSize(QStringLiteral("> No module loaded <"), banner.font()));
}

TEST_F(BannerTest, LinesAlignChangeRebuildsAndKeepsScrolling)
{
    banner.SetAutoEnable(false);
    banner.SetLines({QStringLiteral("i"), QStringLiteral("WWWWWW")});
    banner.SetScrollEnabled(true);
    const QImage centred = banner.Bitmap();
    banner.SetLinesAlign(TAlignment::taLeftJustify);
    EXPECT_TRUE(banner.ScrollEnabled());
    EXPECT_NE(banner.Bitmap(), centred);
    EXPECT_EQ(banner.Bitmap().size(), centred.size());
}

// Steps ----------------------------------------------------------------------------------------

TEST_F(BannerTest, APassOfTheMainBannerRestartsJustOutsideTheRightEdge)
{
    banner.SetBitmap(marked({100, 15}));
    step(72);
    EXPECT_EQ(banner.ScrollPos(), 360);
    step(1);
    EXPECT_EQ(banner.ScrollPos(), 0);
    EXPECT_TRUE(banner.ScrollEnabled());
    EXPECT_EQ(scrolled.count(), 73);
}

TEST_F(BannerTest, OnlyOnceStopsWhenTheTextHasLeft)
{
    banner.SetOnlyOnce(true);
    banner.SetScrollText(QStringLiteral("once"));
    const int passEnd = banner.Bitmap().width() + 263;
    disabled.clear();
    while (banner.ScrollEnabled() && scrolled.count() < 1000)
        banner.StepScroll();
    EXPECT_FALSE(banner.ScrollEnabled());
    EXPECT_EQ(disabled.count(), 1);
    EXPECT_GT(banner.ScrollPos(), passEnd);
    EXPECT_LE(banner.ScrollPos(), passEnd + 5);
    EXPECT_TRUE(showsOnlyColor());
}

TEST_F(BannerTest, PositionWrapsAt65536)
{
    QImage longPicture(65600, 1, QImage::Format_RGB32);  // long enough for P to reach 65535
    longPicture.fill(kRed);
    banner.SetBitmap(longPicture);
    banner.SetScrollPixels(65535);
    step(1);
    EXPECT_EQ(banner.ScrollPos(), 65535);
    step(1);
    EXPECT_EQ(banner.ScrollPos(), 65534);  // 131070 modulo 65536
}

TEST_F(BannerTest, DirectionChangeWithoutContentTakesItsExtentAsZero)
{
    banner.SetScrollDirection(TScrollDirection::sdBottomToTop);
    EXPECT_EQ(banner.ScrollPos(), 0);
    banner.SetScrollDirection(TScrollDirection::sdTopToBottom);
    EXPECT_EQ(banner.ScrollPos(), 25);  // 0 + H - 0
}

TEST_F(BannerTest, DirectionChangeOfStoppedTextUsesTheSizeItWillHave)
{
    banner.SetScrollText(QStringLiteral("xxx"));
    const int width = banner.Bitmap().width();
    step(10);
    banner.SetScrollEnabled(false);
    banner.SetScrollDirection(TScrollDirection::sdLeftToRight);
    EXPECT_EQ(banner.ScrollPos(), width + 263 - 50);
}

// Pixels ---------------------------------------------------------------------------------------

struct GapPixelsCase {
    TScrollDirection direction;
    QPoint topLeft;  // where the picture's top-left corner lies at P = 10
};

class BannerGapPixels : public BannerTest, public ::testing::WithParamInterface<GapPixelsCase> {};

TEST_P(BannerGapPixels, EveryPixelShowsThePictureAtItsPlaceOrTheColor)
{
    const QImage picture = marked({100, 15});
    banner.SetBitmap(picture);
    banner.SetScrollDirection(GetParam().direction);
    banner.SetScrollPixels(1);
    while (banner.ScrollPos() != 10 && scrolled.count() < 1000)
        banner.StepScroll();
    ASSERT_EQ(banner.ScrollPos(), 10);

    const QImage image = screen();
    const QRect placed(GetParam().topLeft, picture.size());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QPoint p(x, y);
            const QColor expected =
                placed.contains(p) ? picture.pixelColor(p - placed.topLeft()) : kBlack;
            ASSERT_EQ(image.pixelColor(p), expected) << "at " << x << ", " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllDirections, BannerGapPixels,
    ::testing::Values(GapPixelsCase{TScrollDirection::sdRightToLeft, {253, 0}},
                      GapPixelsCase{TScrollDirection::sdLeftToRight, {-90, 0}},
                      GapPixelsCase{TScrollDirection::sdTopToBottom, {0, -5}},
                      GapPixelsCase{TScrollDirection::sdBottomToTop, {0, 15}}));

TEST_F(BannerTest, NoGapLinesTileWithTheirHeightAsPeriod)
{
    banner.resize(120, 100);
    banner.SetNoGap(true);
    banner.SetScrollDirection(TScrollDirection::sdBottomToTop);
    banner.SetLines({QStringLiteral("Jukarium"), QStringLiteral("credits")});
    const int period = banner.Bitmap().height();
    ASSERT_LT(period, 100);
    step(3);
    const QImage image = screen();
    int ink = 0;  // text pixels in the top band: the repetition is of the lines, not of black
    for (int y = 0; y < period; ++y)
        for (int x = 0; x < banner.Bitmap().width(); ++x)
            ink += image.pixelColor(x, y) != kBlack;
    EXPECT_GT(ink, 0);
    for (int y = 0; y + period < 100; ++y)
        for (int x = 0; x < banner.Bitmap().width(); ++x)
            ASSERT_EQ(image.pixel(x, y), image.pixel(x, y + period)) << x << ", " << y;
}

TEST_F(BannerTest, ReversingKeepsThePictureWhereItIs)
{
    banner.SetScrollText(QStringLiteral("Night Drive || 261 kB"));
    step(30);
    const QImage before = screen();
    banner.SetScrollDirection(TScrollDirection::sdLeftToRight);
    EXPECT_EQ(screen(), before);
    step(1);
    EXPECT_EQ(screen().copy(5, 0, 258, 25), before.copy(0, 0, 258, 25));  // 5 pixels right
}

// A palette switched while the text is shown, as a desktop switching to its dark theme does.
TEST_F(BannerTest, ShownTextTakesOnANewPaletteAtOnce)
{
    banner.SetScrollText(QStringLiteral("Tip: drag me"));
    step(30);
    QPalette dark = banner.palette();
    dark.setColor(QPalette::Window, kBlue);
    dark.setColor(QPalette::WindowText, Qt::white);
    banner.setPalette(dark);
    const QImage image = screen();
    bool white = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            EXPECT_NE(image.pixelColor(x, y), kBlack) << x << ", " << y;
            white = white || image.pixelColor(x, y) == Qt::white;
            if (image.pixelColor(x, y) == kBlack)
                return;
        }
    }
    EXPECT_TRUE(white);
}

TEST_F(BannerTest, ColorAroundTheContentFollowsAtOnce)
{
    banner.SetBitmap(marked({100, 15}));
    banner.SetColor(kLime);
    EXPECT_EQ(screen().pixelColor(0, 5), kLime);
}

// Mouse ----------------------------------------------------------------------------------------

TEST(BannerDrag, CarriesOnlyTheBannerType)
{
    const std::unique_ptr<QMimeData> data(TBanner::createDragData());
    EXPECT_TRUE(TBanner::isBannerDrag(data.get()));
    EXPECT_TRUE(data->hasFormat(QStringLiteral("application/x-jukarium-banner")));
    QMimeData text;
    text.setText(QStringLiteral("x"));
    EXPECT_FALSE(TBanner::isBannerDrag(&text));
    EXPECT_FALSE(TBanner::isBannerDrag(nullptr));
}

TEST(BannerPopup, RightClickShowsThePopupMenu)
{
    TBanner banner;
    QMenu menu;
    menu.addAction(QStringLiteral("Scroller"));
    banner.SetPopupMenu(&menu);
    banner.show();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), banner.mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(&banner, &event);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}
