#include "controls/ReadableColors.h"

#include <gtest/gtest.h>

using namespace ReadableColors;

// Figures as WCAG's own examples and the usual checkers give them.
TEST(ReadableColors, ContrastRatiosAsWcagGivesThem)
{
    EXPECT_NEAR(contrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(QColor(0x77, 0x77, 0x77), Qt::white), 4.48, 0.01);
    EXPECT_NEAR(contrastRatio(QColor(0x30, 0x8c, 0xc6), QColor(0xef, 0xef, 0xef)), 3.21, 0.01);
    EXPECT_NEAR(contrastRatio(Qt::red, Qt::red), 1.0, 1e-9);
    EXPECT_NEAR(relativeLuminance(QColor(0, 255, 0)), 0.7152, 1e-4);
}

TEST(ReadableColors, TextIsMovedOnlyAsFarAsNeededAndKeepsItsHue)
{
    const QColor light(0xef, 0xef, 0xef);
    const QColor dark(53, 53, 53);
    const QColor fusionBlue(0x30, 0x8c, 0xc6);
    for (const auto& [text, background] : {std::pair{fusionBlue, light},
                                           std::pair{QColor(Qt::darkBlue), dark},
                                           std::pair{QColor(0x40, 0x40, 0x40), dark}}) {
        const QColor readable = readableOn(text, background);
        EXPECT_GE(contrastRatio(readable, background), 4.5);
        EXPECT_LT(contrastRatio(readable, background), 4.6);  // no further than needed
        EXPECT_NEAR(readable.hslHueF(), text.hslHueF(), 0.01);
    }
    EXPECT_EQ(readableOn(QColor(0, 255, 0), Qt::black), QColor(0, 255, 0));  // already readable
    EXPECT_LT(readableOn(fusionBlue, light).lightness(), fusionBlue.lightness());
    EXPECT_GT(readableOn(Qt::darkBlue, dark).lightness(), QColor(Qt::darkBlue).lightness());
}

TEST(ReadableColors, MidGreyBackgroundGetsTheBestThatExists)
{
    // On this grey neither black nor white reaches 7:1; black comes closest.
    const QColor grey(0x80, 0x80, 0x80);
    const QColor best = readableOn(QColor(0x90, 0x90, 0x90), grey, 7.0);
    EXPECT_NEAR(contrastRatio(best, grey), contrastRatio(Qt::black, grey), 0.01);
}
