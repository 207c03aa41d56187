// The image button's arithmetic: which strip columns a look shows, where glyph and caption go.
#include "controls/ImageButtonGeometry.h"

#include <gtest/gtest.h>

using namespace ImageButtonGeometry;
using L = TButtonLayout;

TEST(CellWidth, DividesTheStripTowardZero)
{
    EXPECT_EQ(cellWidth({40, 20}, 2), 20);
    EXPECT_EQ(cellWidth({41, 20}, 2), 20);
    EXPECT_EQ(cellWidth({41, 20}, 3), 13);
    EXPECT_EQ(cellWidth({0, 0}, 2), 0);
}

struct SourceCase {
    int stripWidth;
    int numGlyphs;
    ButtonLook look;
    int left;
    int width;
};

class GlyphSource : public ::testing::TestWithParam<SourceCase> {};

TEST_P(GlyphSource, PicksTheCellOfTheLook)
{
    const SourceCase& c = GetParam();
    EXPECT_EQ(glyphSource({c.stripWidth, 16}, c.numGlyphs, c.look), QRect(c.left, 0, c.width, 16));
}

INSTANTIATE_TEST_SUITE_P(
    Table, GlyphSource,
    ::testing::Values(SourceCase{20, 1, ButtonLook::Hot, 0, 20},
                      SourceCase{20, 1, ButtonLook::Normal, 0, 20},
                      SourceCase{20, 1, ButtonLook::Disabled, 0, 20},
                      SourceCase{40, 2, ButtonLook::Hot, 0, 20},
                      SourceCase{40, 2, ButtonLook::Normal, 20, 20},
                      SourceCase{40, 2, ButtonLook::Disabled, 20, 20},
                      SourceCase{60, 3, ButtonLook::Hot, 0, 20},
                      SourceCase{60, 3, ButtonLook::Normal, 40, 20},
                      SourceCase{60, 3, ButtonLook::Disabled, 20, 20},
                      // Not a multiple: the normal look takes (41 - 20) to 2 x 20.
                      SourceCase{41, 2, ButtonLook::Normal, 21, 19}));

struct PlaceCase {
    L layout;
    QPoint glyph;    // 20 x 20 cell on 45 x 33 at margin 3
    QPoint caption;  // 11 x 13 text on 45 x 33 at margin 3
};

class Placement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(Placement, GlyphAndCaptionGoToOppositeSides)
{
    const PlaceCase& c = GetParam();
    EXPECT_EQ(glyphPosition(c.layout, {45, 33}, {20, 20}, 3), c.glyph);
    EXPECT_EQ(captionPosition(c.layout, {45, 33}, {11, 13}, 3), c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    AllLayouts, Placement,
    ::testing::Values(PlaceCase{L::blCaptionCenter, {12, 6}, {17, 10}},
                      PlaceCase{L::blCaptionLeft, {22, 6}, {3, 10}},
                      PlaceCase{L::blCaptionRight, {3, 6}, {31, 10}},
                      PlaceCase{L::blCaptionTop, {12, 10}, {17, 3}},
                      PlaceCase{L::blCaptionBottom, {12, 3}, {17, 17}}));

TEST(Placement, HalvingRoundsTowardZeroAlsoWhenTheGlyphIsLarger)
{
    EXPECT_EQ(glyphPosition(L::blCaptionCenter, {21, 21}, {24, 24}, 5), QPoint(-1, -1));
    EXPECT_EQ(captionPosition(L::blCaptionCenter, {21, 21}, {8, 13}, 5), QPoint(6, 4));
}
