// The control panel's glyph strips: shape of the strip, transparent background, two looks.
#include "controls/ControlGlyphs.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr int kGlyphCount = int(ControlGlyph::Delete) + 1;

struct Cell {
    int visible = 0;        // pixels with any alpha
    long saturation = 0;    // summed over the visible pixels
};

Cell measure(const QImage& strip, int left, int width)
{
    Cell cell;
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = left; x < left + width; ++x) {
            const QColor c = strip.pixelColor(x, y);
            if (c.alpha() == 0)
                continue;
            ++cell.visible;
            cell.saturation += c.hsvSaturation();
        }
    }
    return cell;
}

}  // namespace

class GlyphStrip : public ::testing::TestWithParam<std::tuple<int, int>> {
protected:
    ControlGlyph glyph() const { return ControlGlyph(std::get<0>(GetParam())); }
    QSize cell() const { return {std::get<1>(GetParam()), std::get<1>(GetParam())}; }
};

TEST_P(GlyphStrip, HasTwoCellsOnATransparentWhiteGround)
{
    const QImage strip = ControlGlyphs::strip(glyph(), cell());
    ASSERT_EQ(strip.size(), QSize(cell().width() * 2, cell().height()));

    const QRgb white = ControlGlyphs::transparentColor().rgb() & RGB_MASK;
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            const QRgb p = strip.pixel(x, y);
            // The ground is white and transparent, and nothing else is white: a button that
            // keys out white loses no part of the glyph.
            EXPECT_EQ(qAlpha(p) == 0, (p & RGB_MASK) == white) << x << ", " << y;
        }
    }
    EXPECT_EQ(qAlpha(strip.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(strip.pixel(strip.width() - 1, strip.height() - 1)), 0);
}

TEST_P(GlyphStrip, NormalCellIsTheHotCellMuted)
{
    const QImage strip = ControlGlyphs::strip(glyph(), cell());
    const Cell hot = measure(strip, 0, cell().width());
    const Cell normal = measure(strip, cell().width(), cell().width());
    EXPECT_GT(hot.visible, cell().width() * cell().height() / 8);  // a glyph, not a speck
    EXPECT_EQ(normal.visible, hot.visible);  // same shape
    EXPECT_LT(normal.saturation, hot.saturation);
}

INSTANTIATE_TEST_SUITE_P(AllGlyphsBothSizes, GlyphStrip,
                         ::testing::Combine(::testing::Range(0, kGlyphCount),
                                            ::testing::Values(14, 20)));

TEST(GlyphStrips, AreAllDifferent)
{
    std::set<QByteArray> seen;
    for (int i = 0; i < kGlyphCount; ++i) {
        const QImage strip = ControlGlyphs::strip(ControlGlyph(i), {20, 20});
        const QByteArray bytes(reinterpret_cast<const char*>(strip.constBits()),
                               strip.sizeInBytes());
        EXPECT_TRUE(seen.insert(bytes).second) << "glyph " << i;
    }
}

TEST(GlyphStrips, EmptyCellGivesNoStrip)
{
    EXPECT_TRUE(ControlGlyphs::strip(ControlGlyph::Play, {0, 14}).isNull());
}
