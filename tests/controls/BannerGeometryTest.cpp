// The banner's arithmetic: where copies land, how a step moves and ends a pass, what a change
// of direction does, where a line of a block starts.
#include "controls/BannerGeometry.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace BannerGeometry {

// Readable failures.
void PrintTo(const Blit& blit, std::ostream* out)
{
    const auto rect = [](const QRect& r) {
        return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " +
               std::to_string(r.width()) + "x" + std::to_string(r.height());
    };
    *out << "{source " << rect(blit.source) << ", target " << rect(blit.target) << "}";
}

}  // namespace BannerGeometry

using namespace BannerGeometry;
using D = TScrollDirection;

namespace {

const QSize kStrip(263, 25);   // the main window's banner
const QSize kText(100, 15);    // a one-line text image

}  // namespace

// Entering copy --------------------------------------------------------------------------------

struct EnteringCase {
    D direction;
    quint16 pos;
    QPoint topLeft;
};

class EnteringCopy : public ::testing::TestWithParam<EnteringCase> {};

TEST_P(EnteringCopy, SitsAtTheEnteringEdge)
{
    const EnteringCase& c = GetParam();
    EXPECT_EQ(enteringCopy(c.direction, kStrip, kText, c.pos), c.topLeft);
}

INSTANTIATE_TEST_SUITE_P(
    AllDirections, EnteringCopy,
    ::testing::Values(EnteringCase{D::sdRightToLeft, 0, {263, 0}},    // just outside, right
                      EnteringCase{D::sdRightToLeft, 5, {258, 0}},
                      EnteringCase{D::sdLeftToRight, 5, {-95, 0}},    // right edge at x = 5
                      EnteringCase{D::sdTopToBottom, 5, {0, -10}},    // bottom edge at y = 5
                      EnteringCase{D::sdBottomToTop, 5, {0, 20}},     // top edge at H - 5
                      EnteringCase{D::sdBottomToTop, 0, {0, 25}}));

// Copies with a gap ----------------------------------------------------------------------------

TEST(GapCopies, NothingIsVisibleAtTheStartOfAPass)
{
    EXPECT_TRUE(copies(D::sdRightToLeft, kStrip, kText, 0, false).isEmpty());
}

TEST(GapCopies, FirstAndLastPixelColumnOfAPass)
{
    EXPECT_EQ(copies(D::sdRightToLeft, kStrip, kText, 1, false),
              (QList<Blit>{{QRect(0, 0, 1, 15), QRect(262, 0, 1, 15)}}));
    EXPECT_EQ(copies(D::sdRightToLeft, kStrip, kText, 362, false),
              (QList<Blit>{{QRect(99, 0, 1, 15), QRect(0, 0, 1, 15)}}));
    EXPECT_TRUE(copies(D::sdRightToLeft, kStrip, kText, 363, false).isEmpty());  // E + S: gone
}

TEST(GapCopies, ContentWiderThanTheControlIsClippedOnBothSides)
{
    const QSize wide(400, 30);  // also taller than the strip
    EXPECT_EQ(copies(D::sdRightToLeft, kStrip, wide, 300, false),
              (QList<Blit>{{QRect(37, 0, 263, 25), QRect(0, 0, 263, 25)}}));
}

TEST(GapCopies, EmptyImageGivesNoCopy)
{
    EXPECT_TRUE(copies(D::sdRightToLeft, kStrip, QSize(), 50, false).isEmpty());
    EXPECT_TRUE(copies(D::sdBottomToTop, kStrip, QSize(0, 10), 5, true).isEmpty());
}

// Copies without a gap -------------------------------------------------------------------------

TEST(NoGapCopies, RightToLeftTilesEveryImageWidth)
{
    // Left edges at W - P - k x IW: 233, 133, 33, -67.
    EXPECT_EQ(copies(D::sdRightToLeft, kStrip, kText, 30, true),
              (QList<Blit>{{QRect(67, 0, 33, 15), QRect(0, 0, 33, 15)},
                           {QRect(0, 0, 100, 15), QRect(33, 0, 100, 15)},
                           {QRect(0, 0, 100, 15), QRect(133, 0, 100, 15)},
                           {QRect(0, 0, 30, 15), QRect(233, 0, 30, 15)}}));
}

TEST(NoGapCopies, LeftToRightTilesEveryImageWidth)
{
    // Right edges at P + k x IW: 30, 130, 230, 330.
    EXPECT_EQ(copies(D::sdLeftToRight, kStrip, kText, 30, true),
              (QList<Blit>{{QRect(70, 0, 30, 15), QRect(0, 0, 30, 15)},
                           {QRect(0, 0, 100, 15), QRect(30, 0, 100, 15)},
                           {QRect(0, 0, 100, 15), QRect(130, 0, 100, 15)},
                           {QRect(0, 0, 33, 15), QRect(230, 0, 33, 15)}}));
}

TEST(NoGapCopies, BlockShorterThanTheControlRepeatsWithoutABlankBand)
{
    // Bottom to top, a 40 x 20 block in 100 x 50: top edges at 45, 25, 5, -15.
    const QList<Blit> blits = copies(D::sdBottomToTop, {100, 50}, {40, 20}, 5, true);
    EXPECT_EQ(blits, (QList<Blit>{{QRect(0, 15, 40, 5), QRect(0, 0, 40, 5)},
                                  {QRect(0, 0, 40, 20), QRect(0, 5, 40, 20)},
                                  {QRect(0, 0, 40, 20), QRect(0, 25, 40, 20)},
                                  {QRect(0, 0, 40, 5), QRect(0, 45, 40, 5)}}));
    int covered = 0;
    for (const Blit& b : blits)
        covered += b.target.height();
    EXPECT_EQ(covered, 50);
}

TEST(NoGapCopies, TopToBottomCoversTheSpanForEveryPosition)
{
    for (quint16 pos = 0; pos <= 20; ++pos) {
        int covered = 0;
        for (const Blit& b : copies(D::sdTopToBottom, {100, 50}, {40, 20}, pos, true))
            covered += b.target.height();
        EXPECT_EQ(covered, 50) << "P = " << pos;
    }
}

TEST(NoGapCopies, StayInPhaseWhenThePositionLiesBeyondTheExtent)
{
    // P = 330 (left over from gap mode) shows the same tiling as P = 30.
    EXPECT_EQ(copies(D::sdRightToLeft, kStrip, kText, 330, true),
              copies(D::sdRightToLeft, kStrip, kText, 30, true));
}

// Steps ----------------------------------------------------------------------------------------

struct StepCase {
    const char* name;
    quint16 pos;
    quint16 pixels;
    int extent;
    int span;
    bool noGap;
    bool onlyOnce;
    Step expected;
};

void PrintTo(const StepCase& c, std::ostream* out)
{
    *out << c.name;
}

class NextStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(NextStep, MovesAndEndsPasses)
{
    const StepCase& c = GetParam();
    const Step step = nextStep(c.pos, c.pixels, c.extent, c.span, c.noGap, c.onlyOnce);
    EXPECT_EQ(step.pos, c.expected.pos);
    EXPECT_EQ(step.stop, c.expected.stop);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NextStep,
    ::testing::Values(
        StepCase{"GapPlainStep", 0, 5, 100, 263, false, false, {5, false}},
        StepCase{"GapExactlyEPlusSStays", 358, 5, 100, 263, false, false, {363, false}},
        StepCase{"GapFirstValueAboveEPlusSRestarts", 360, 5, 100, 263, false, false,
                 {0, false}},
        StepCase{"GapOnlyOnceKeepsPAndStops", 360, 5, 100, 263, false, true,
                 {365, true}},
        StepCase{"GapWrapsAt65536", 65534, 5, 70000, 263, false, false, {3, false}},
        StepCase{"NoGapUpToEStays", 95, 5, 100, 263, true, false, {100, false}},
        StepCase{"NoGapAboveEFoldsBack", 98, 5, 100, 263, true, false, {3, false}},
        StepCase{"NoGapFarAboveEFoldsInto1ToE", 250, 50, 100, 263, true, false,
                 {100, false}},
        StepCase{"NoGapOnlyOnceHasNoEffect", 98, 5, 100, 263, true, true, {3, false}},
        StepCase{"NoGapWrapsBeforeFolding", 65530, 10, 100, 263, true, false, {4, false}},
        StepCase{"NoGapNothingToTile", 40, 5, 0, 263, true, false, {0, false}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NextStep, AFullPassOfTheMainBannerTakes73Steps)
{
    // W = 263, a text 100 pixels wide, 5 pixels a step: 72 steps reach 360, the 73rd would
    // bring P to 365 (the first value above 363) and starts the next pass instead.
    quint16 pos = 0;
    for (int i = 0; i < 72; ++i)
        pos = nextStep(pos, 5, 100, 263, false, false).pos;
    EXPECT_EQ(pos, 360);
    EXPECT_EQ(nextStep(pos, 5, 100, 263, false, false), (Step{0, false}));
}

// Direction changes ----------------------------------------------------------------------------

struct TurnCase {
    D from;
    D to;
    quint16 pos;
    quint16 expected;
};

class DirectionChange : public ::testing::TestWithParam<TurnCase> {};

TEST_P(DirectionChange, MovesThePosition)
{
    const TurnCase& c = GetParam();
    EXPECT_EQ(posAfterDirectionChange(c.from, c.to, kStrip, kText, c.pos), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DirectionChange,
    ::testing::Values(TurnCase{D::sdRightToLeft, D::sdLeftToRight, 50, 313},  // IW + W - P
                      TurnCase{D::sdLeftToRight, D::sdRightToLeft, 313, 50},
                      TurnCase{D::sdRightToLeft, D::sdLeftToRight, 400, 65499},  // wraps
                      TurnCase{D::sdTopToBottom, D::sdBottomToTop, 10, 30},     // IH + H - P
                      TurnCase{D::sdRightToLeft, D::sdBottomToTop, 50, 15},     // IH
                      TurnCase{D::sdTopToBottom, D::sdLeftToRight, 7, 100},     // IW
                      TurnCase{D::sdRightToLeft, D::sdRightToLeft, 77, 77}));

TEST(DirectionChange, ReversingNeverMovesTheContentOnScreen)
{
    const std::pair<D, D> reversals[] = {{D::sdRightToLeft, D::sdLeftToRight},
                                         {D::sdLeftToRight, D::sdRightToLeft},
                                         {D::sdTopToBottom, D::sdBottomToTop},
                                         {D::sdBottomToTop, D::sdTopToBottom}};
    for (const auto& [from, to] : reversals) {
        for (const bool noGap : {false, true}) {
            // Every position a pass goes through: 0 to E + S.
            const int last = extent(from, kText) + span(from, kStrip);
            for (quint16 pos = 0; pos <= last; ++pos) {
                const quint16 turned = posAfterDirectionChange(from, to, kStrip, kText, pos);
                EXPECT_EQ(copies(from, kStrip, kText, pos, noGap),
                          copies(to, kStrip, kText, turned, noGap))
                    << int(from) << " to " << int(to) << ", P = " << pos << ", noGap " << noGap;
            }
        }
    }
}

TEST(DirectionChange, SwitchingTheAxisShowsTheContentJustEnteredCompletely)
{
    const quint16 pos = posAfterDirectionChange(D::sdLeftToRight, D::sdBottomToTop, kStrip,
                                                kText, 120);
    EXPECT_EQ(enteringCopy(D::sdBottomToTop, kStrip, kText, pos), QPoint(0, 10));  // H - IH
}

// Lines ----------------------------------------------------------------------------------------

TEST(LineX, AlignsInsideTheBlock)
{
    EXPECT_EQ(lineX(TAlignment::taCenter, 15, 10), 2);  // 2.5 toward zero
    EXPECT_EQ(lineX(TAlignment::taCenter, 15, 15), 0);
    EXPECT_EQ(lineX(TAlignment::taLeftJustify, 15, 10), 0);
    EXPECT_EQ(lineX(TAlignment::taRightJustify, 15, 10), 5);
}
