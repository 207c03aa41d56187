// The image button: property write rules, the glyph cell and frame each state shows, the
// engraved disabled caption; and the dialogs' push button.
#include "controls/TIEButton.h"
#include "controls/TNewButton.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace {

const QColor kFace(200, 200, 200);     // the buttons' Color in these tests
const QColor kOutline(150, 150, 250);  // the palette's button face, for the outline
const QColor kLight(255, 255, 240);
const QColor kDark(90, 90, 90);
const QColor kGreyText(128, 128, 128);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

// A strip of two 20 x 20 cells: red (hot) and blue (normal, disabled).
QImage twoCellStrip()
{
    QImage strip(40, 20, QImage::Format_RGB32);
    strip.fill(kRed);
    for (int y = 0; y < 20; ++y)
        for (int x = 20; x < 40; ++x)
            strip.setPixelColor(x, y, kBlue);
    return strip;
}

class ImageButtonTest : public ::testing::Test {
protected:
    ImageButtonTest()
    {
        QPalette palette = button.palette();
        palette.setColor(QPalette::Button, kOutline);
        palette.setColor(QPalette::Light, kLight);
        palette.setColor(QPalette::Dark, kDark);
        palette.setColor(QPalette::Disabled, QPalette::Text, kGreyText);
        button.setPalette(palette);
        button.SetColor(kFace);
        button.resize(45, 33);
    }

    void enter()
    {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), button.mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(&button, &event);
    }

    void leave()
    {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &event);
    }

    QImage screen() { return button.grab().toImage(); }

    TIEButton button;
};

}  // namespace

// Property rules -------------------------------------------------------------------------------

TEST(ImageButtonDefaults, NewButton)
{
    TIEButton button;
    EXPECT_EQ(button.size(), QSize(25, 25));
    EXPECT_EQ(button.BorderWidth(), 1);
    EXPECT_EQ(button.Margin(), 5);
    EXPECT_EQ(button.NumGlyphs(), 2);
    EXPECT_EQ(button.ButtonLayout(), TButtonLayout::blCaptionCenter);
    EXPECT_EQ(button.TransparentColor(), QColor(Qt::black));
    EXPECT_TRUE(button.Glyph().isNull());
    EXPECT_TRUE(button.Caption().isEmpty());
    EXPECT_FALSE(button.Hot());
    EXPECT_EQ(button.Tag(), 0);
}

TEST_F(ImageButtonTest, BorderWidthTakes1To9AndMovesTheMargin)
{
    button.SetBorderWidth(10);
    EXPECT_EQ(button.BorderWidth(), 1);
    button.SetBorderWidth(0);
    EXPECT_EQ(button.BorderWidth(), 1);
    EXPECT_EQ(button.Margin(), 5);

    button.SetBorderWidth(3);
    EXPECT_EQ(button.BorderWidth(), 3);
    EXPECT_EQ(button.Margin(), 5);
    button.SetBorderWidth(9);
    EXPECT_EQ(button.Margin(), 11);

    button.SetMargin(20);
    button.SetBorderWidth(9);  // unchanged: the margin stays
    EXPECT_EQ(button.Margin(), 20);
}

TEST_F(ImageButtonTest, MarginMustExceedBorderWidthPlusOne)
{
    button.SetMargin(2);  // not above 1 + 1
    EXPECT_EQ(button.Margin(), 5);
    button.SetMargin(3);
    EXPECT_EQ(button.Margin(), 3);
    button.SetBorderWidth(4);  // margin 6
    button.SetMargin(5);
    EXPECT_EQ(button.Margin(), 6);
    button.SetMargin(25);
    EXPECT_EQ(button.Margin(), 25);
}

TEST_F(ImageButtonTest, NumGlyphsTakes1To3)
{
    button.SetNumGlyphs(0);
    EXPECT_EQ(button.NumGlyphs(), 2);
    button.SetNumGlyphs(4);
    EXPECT_EQ(button.NumGlyphs(), 2);
    for (quint8 n : {1, 3}) {
        button.SetNumGlyphs(n);
        EXPECT_EQ(button.NumGlyphs(), n);
    }
}

TEST_F(ImageButtonTest, CaptionIsTheTextWithoutMnemonic)
{
    button.SetCaption(QStringLiteral("Rock & Roll.jkdc"));
    EXPECT_EQ(button.text(), QStringLiteral("Rock & Roll.jkdc"));
    EXPECT_TRUE(button.shortcut().isEmpty());
    button.SetTag(7);
    EXPECT_EQ(button.Tag(), 7);
}

// Glyph ----------------------------------------------------------------------------------------

TEST_F(ImageButtonTest, GlyphCellByStateAtTheCentre)
{
    // A 40-pixel strip of 2 cells on 45 x 33 at margin 3: the 20-pixel cell sits at x = 12.
    button.SetBorderWidth(1);
    button.SetMargin(3);
    button.SetGlyph(twoCellStrip());

    QImage image = screen();
    EXPECT_EQ(image.pixelColor(11, 16), kFace);
    EXPECT_EQ(image.pixelColor(12, 16), kBlue);  // normal: right cell
    EXPECT_EQ(image.pixelColor(31, 16), kBlue);
    EXPECT_EQ(image.pixelColor(32, 16), kFace);
    EXPECT_EQ(image.pixelColor(20, 6), kBlue);
    EXPECT_EQ(image.pixelColor(20, 5), kFace);

    enter();
    EXPECT_TRUE(button.Hot());
    EXPECT_EQ(screen().pixelColor(12, 16), kRed);  // hot: left cell

    button.setEnabled(false);
    EXPECT_EQ(screen().pixelColor(12, 16), kBlue);  // disabled: cell 2
}

TEST_F(ImageButtonTest, TransparentColorShowsTheButtonColor)
{
    QImage strip = twoCellStrip();
    strip.setPixelColor(25, 10, Qt::white);
    button.SetGlyph(strip);
    EXPECT_EQ(screen().pixelColor(12 + 5, 6 + 10), QColor(Qt::white));
    button.SetTransparentColor(Qt::white);
    EXPECT_EQ(screen().pixelColor(12 + 5, 6 + 10), kFace);
    EXPECT_EQ(screen().pixelColor(12 + 6, 6 + 10), kBlue);
}

TEST_F(ImageButtonTest, GlyphGoesOppositeTheCaption)
{
    button.SetMargin(3);
    button.SetGlyph(twoCellStrip());
    button.SetButtonLayout(TButtonLayout::blCaptionLeft);
    const QImage image = screen();
    EXPECT_EQ(image.pixelColor(22, 16), kBlue);
    EXPECT_EQ(image.pixelColor(21, 16), kFace);
}

// Frames ---------------------------------------------------------------------------------------

TEST_F(ImageButtonTest, FlatUntilHoveredThenRaisedThenFlatAgain)
{
    EXPECT_EQ(screen().pixelColor(0, 0), kFace);  // the flat frame covers the outline
    EXPECT_EQ(screen().pixelColor(44, 32), kFace);

    enter();
    QImage image = screen();
    EXPECT_EQ(image.pixelColor(0, 0), kLight);
    EXPECT_EQ(image.pixelColor(20, 0), kLight);
    EXPECT_EQ(image.pixelColor(0, 20), kLight);
    EXPECT_EQ(image.pixelColor(44, 32), kDark);
    EXPECT_EQ(image.pixelColor(44, 0), kDark);  // top-right corner belongs to the right edge
    EXPECT_EQ(image.pixelColor(0, 32), kDark);  // bottom-left corner to the bottom edge
    EXPECT_EQ(image.pixelColor(1, 1), kFace);   // one line only

    leave();
    EXPECT_FALSE(button.Hot());
    EXPECT_EQ(screen().pixelColor(0, 0), kFace);
}

TEST_F(ImageButtonTest, BorderWidthDrawsNestedLines)
{
    button.SetBorderWidth(3);
    enter();
    const QImage image = screen();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(image.pixelColor(i, 15), kLight) << i;
        EXPECT_EQ(image.pixelColor(44 - i, 15), kDark) << i;
        EXPECT_EQ(image.pixelColor(20, i), kLight) << i;
        EXPECT_EQ(image.pixelColor(20, 32 - i), kDark) << i;
    }
    EXPECT_EQ(image.pixelColor(3, 15), kFace);
}

TEST_F(ImageButtonTest, AnyMouseButtonHeldShowsTheSunkenFrame)
{
    enter();
    QTest::mousePress(&button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(screen().pixelColor(0, 0), kDark);
    EXPECT_EQ(screen().pixelColor(44, 32), kLight);
    QTest::mouseRelease(&button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(screen().pixelColor(0, 0), kLight);  // hot again
}

TEST_F(ImageButtonTest, HeldButtonLooksFlatWhileThePointerIsOutside)
{
    button.SetGlyph(twoCellStrip());
    enter();
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(screen().pixelColor(0, 0), kDark);
    // Out while held: the pointer is grabbed, so no leave event comes, only moves.
    QTest::mouseMove(&button, QPoint(60, 10));
    EXPECT_FALSE(button.Hot());
    EXPECT_EQ(screen().pixelColor(0, 0), kFace);
    EXPECT_EQ(screen().pixelColor(22, 16), kBlue);  // the normal cell
    QTest::mouseMove(&button, QPoint(10, 10));
    EXPECT_EQ(screen().pixelColor(0, 0), kDark);
    EXPECT_EQ(screen().pixelColor(22, 16), kRed);
    QTest::mouseMove(&button, QPoint(60, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_EQ(screen().pixelColor(0, 0), kFace);
}

TEST_F(ImageButtonTest, ClickComesFromTheLeftButton)
{
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(ImageButtonTest, DisabledButtonHasNoFrameButTheOutline)
{
    enter();
    button.setEnabled(false);
    EXPECT_TRUE(button.Hot());
    EXPECT_EQ(screen().pixelColor(0, 0), kOutline);
    EXPECT_EQ(screen().pixelColor(44, 32), kOutline);
}

TEST_F(ImageButtonTest, HoveredWhileDisabledShowsHotWhenEnabled)
{
    button.setEnabled(false);
    enter();
    EXPECT_TRUE(button.Hot());
    button.setEnabled(true);
    EXPECT_EQ(screen().pixelColor(0, 0), kLight);
}

// Caption --------------------------------------------------------------------------------------

class ImageButtonCaption : public ImageButtonTest {
protected:
    ImageButtonCaption()
    {
        // Whole pixels only, so each copy of the caption has exactly one colour.
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(20);
        font.setStyleStrategy(QFont::NoAntialias);
        button.setFont(font);
        button.SetCaption(QStringLiteral("7"));
    }

    std::set<std::pair<int, int>> pixelsOf(const QImage& image, const QColor& colour)
    {
        std::set<std::pair<int, int>> found;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour)
                    found.insert({x, y});
        return found;
    }
};

TEST_F(ImageButtonCaption, EnabledCaptionIsDrawnOnceInTheTextColour)
{
    const QImage image = screen();
    EXPECT_FALSE(pixelsOf(image, button.palette().color(QPalette::ButtonText)).empty());
    EXPECT_TRUE(pixelsOf(image, Qt::white).empty());
}

TEST_F(ImageButtonCaption, DisabledCaptionIsEngraved)
{
    button.setEnabled(false);
    const QImage image = screen();
    const auto grey = pixelsOf(image, kGreyText);
    const auto white = pixelsOf(image, Qt::white);
    ASSERT_FALSE(grey.empty());
    ASSERT_FALSE(white.empty());
    // The white copy lies one pixel down and right of the grey one, which covers it where
    // they overlap.
    for (const auto& [x, y] : white)
        EXPECT_TRUE(grey.count({x - 1, y - 1})) << x << ", " << y;
    for (const auto& [x, y] : grey) {
        if (!grey.count({x + 1, y + 1})) {
            EXPECT_TRUE(white.count({x + 1, y + 1})) << x << ", " << y;
        }
    }
}

// TNewButton -----------------------------------------------------------------------------------

TEST(NewButton, IsAPushButton23PixelsHigh)
{
    TNewButton ok(QStringLiteral("OK"));
    EXPECT_EQ(ok.height(), 23);
    EXPECT_EQ(ok.text(), QStringLiteral("OK"));
    EXPECT_EQ(TNewButton().height(), 23);
}
