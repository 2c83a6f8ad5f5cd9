#include "framework/ui/AlignLayout.h"
#include "framework/ui/IconGrid.h"
#include "framework/ui/ScrollMath.h"
#include "framework/ui/SpinValue.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vp;

TEST(AlignLayout, TopBottomAndClientShareTheAreaInTheOrderOfTheirPositions)
{
    // The update window: a logo on top, a button strip at the bottom, the text panel between.
    std::vector<TAlignItem> items = {
        {TAlign::alClient, {0, 0, 10, 10}},
        {TAlign::alBottom, {0, 0, 50, 40}},
        {TAlign::alTop, {5, 5, 20, 70}}, // 65 high
        {TAlign::alNone, {7, 8, 9, 10}},
    };
    TRect left = AlignItems(TRect{0, 0, 373, 325}, items);
    EXPECT_EQ(items[2].Bounds, (TRect{0, 0, 373, 65}));
    EXPECT_EQ(items[1].Bounds, (TRect{0, 285, 373, 325}));
    EXPECT_EQ(items[0].Bounds, (TRect{0, 65, 373, 285}));
    EXPECT_EQ(items[3].Bounds, (TRect{7, 8, 9, 10}));
    EXPECT_EQ(left, (TRect{0, 65, 373, 285}));

    // Two top panels stack by their current tops, whatever the order of the list.
    std::vector<TAlignItem> stacked = {
        {TAlign::alTop, {0, 50, 10, 80}},
        {TAlign::alTop, {0, 0, 10, 20}},
        {TAlign::alBottom, {0, 100, 10, 110}}, // the lowest goes to the very bottom
        {TAlign::alBottom, {0, 90, 10, 95}},
    };
    AlignItems(TRect{0, 0, 100, 200}, stacked);
    EXPECT_EQ(stacked[1].Bounds, (TRect{0, 0, 100, 20}));
    EXPECT_EQ(stacked[0].Bounds, (TRect{0, 20, 100, 50}));
    EXPECT_EQ(stacked[2].Bounds, (TRect{0, 190, 100, 200}));
    EXPECT_EQ(stacked[3].Bounds, (TRect{0, 185, 100, 190}));
}

TEST(AlignLayout, LeftAndRightTakeTheHeightLeftAndAnOverfullAreaGivesTheClientNothing)
{
    std::vector<TAlignItem> items = {
        {TAlign::alTop, {0, 0, 0, 30}},
        {TAlign::alLeft, {0, 0, 20, 0}},
        {TAlign::alRight, {0, 0, 14, 0}},
        {TAlign::alClient, {}},
    };
    AlignItems(TRect{10, 10, 110, 110}, items);
    EXPECT_EQ(items[1].Bounds, (TRect{10, 40, 30, 110}));
    EXPECT_EQ(items[2].Bounds, (TRect{96, 40, 110, 110}));
    EXPECT_EQ(items[3].Bounds, (TRect{30, 40, 96, 110}));

    std::vector<TAlignItem> overfull = {{TAlign::alTop, {0, 0, 0, 80}}, {TAlign::alBottom, {0, 0, 0, 80}},
        {TAlign::alClient, {}}};
    AlignItems(TRect{0, 0, 50, 100}, overfull);
    EXPECT_EQ(overfull[2].Bounds.Height(), 0);
    EXPECT_EQ(overfull[2].Bounds.Width(), 50);
}

TEST(IconGrid, ArrowsHomeEndAndPagingStayWithinTheItems)
{
    // 10 items in rows of 4: 0-3, 4-7, 8-9; two rows in view.
    TIconGrid grid{10, 4, 2};
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(MoveInGrid(grid, -1, TGridMove::Down), 0);
    EXPECT_EQ(MoveInGrid(grid, -1, TGridMove::End), 9);
    EXPECT_EQ(MoveInGrid(grid, 0, TGridMove::Left), 0);
    EXPECT_EQ(MoveInGrid(grid, 3, TGridMove::Right), 4);
    EXPECT_EQ(MoveInGrid(grid, 9, TGridMove::Right), 9);
    EXPECT_EQ(MoveInGrid(grid, 2, TGridMove::Up), 2);
    EXPECT_EQ(MoveInGrid(grid, 6, TGridMove::Up), 2);
    EXPECT_EQ(MoveInGrid(grid, 1, TGridMove::Down), 5);
    EXPECT_EQ(MoveInGrid(grid, 7, TGridMove::Down), 9); // the shorter last row
    EXPECT_EQ(MoveInGrid(grid, 9, TGridMove::Down), 9);
    EXPECT_EQ(MoveInGrid(grid, 5, TGridMove::Home), 0);
    EXPECT_EQ(MoveInGrid(grid, 5, TGridMove::End), 9);
    EXPECT_EQ(MoveInGrid(grid, 1, TGridMove::PageDown), 9); // 1 + 8 = 9
    EXPECT_EQ(MoveInGrid(grid, 3, TGridMove::PageDown), 9); // past the end: the last row
    EXPECT_EQ(MoveInGrid(grid, 9, TGridMove::PageUp), 1);
    EXPECT_EQ(MoveInGrid(grid, 6, TGridMove::PageUp), 2);
    EXPECT_EQ(MoveInGrid(TIconGrid{0, 4, 2}, -1, TGridMove::Down), -1);
    EXPECT_EQ(GridColumns(451, 84), 5);
    EXPECT_EQ(GridColumns(30, 84), 1);
}

TEST(IconGrid, ScrollingShowsARowAndTypeAheadWrapsRound)
{
    EXPECT_EQ(RowToShow(3, 2, 1), 1);
    EXPECT_EQ(RowToShow(3, 2, 4), 3);
    EXPECT_EQ(RowToShow(3, 2, 7), 6);
    const std::vector<String> captions = {u"Auto Selected", u"Canada", u"Chile", u"china", u"France"};
    EXPECT_EQ(FindByPrefix(captions, -1, u"c"), 1);
    EXPECT_EQ(FindByPrefix(captions, 1, u"c"), 2);
    EXPECT_EQ(FindByPrefix(captions, 3, u"c"), 1); // wraps round
    EXPECT_EQ(FindByPrefix(captions, 1, u"CHI"), 2);
    EXPECT_EQ(FindByPrefix(captions, 0, u"France and more"), -1);
    EXPECT_EQ(FindByPrefix(captions, 0, u""), -1);
    EXPECT_EQ(FindByPrefix(captions, 0, u"a"), 0); // the start itself comes last
}

TEST(SpinValue, TypedTextIsHeldWithinTheRange)
{
    const TSpinRange minutes{1, 120};
    EXPECT_EQ(SpinValueFromText(u"10", minutes, 5), 10);
    EXPECT_EQ(SpinValueFromText(u" 0042 ", minutes, 5), 42);
    EXPECT_EQ(SpinValueFromText(u"0", minutes, 5), 1);
    EXPECT_EQ(SpinValueFromText(u"500", minutes, 5), 120);
    EXPECT_EQ(SpinValueFromText(u"-7", minutes, 5), 1);
    EXPECT_EQ(SpinValueFromText(u"99999999999999999999999", minutes, 5), 120);
    EXPECT_EQ(SpinValueFromText(u"-99999999999999999999999", TSpinRange{INT32_MIN, 0}, 5), INT32_MIN);
    EXPECT_EQ(SpinValueFromText(u"", minutes, 5), 5);
    EXPECT_EQ(SpinValueFromText(u"12a", minutes, 7), 7);
    EXPECT_EQ(SpinValueFromText(u"-", minutes, 200), 120); // the fallback is held too
    EXPECT_EQ(SpinValueFromText(u"+3", minutes, 5), 3);
    EXPECT_EQ(SpinValueFromText(u"50", TSpinRange{10, 5}, 0), 10); // an upside-down range is its minimum
}

TEST(SpinValue, StepsStopAtTheEndsAndTypingLetsOnlyNumbersThrough)
{
    const TSpinRange minutes{1, 120};
    EXPECT_EQ(SpinStep(10, 1, 1, minutes), 11);
    EXPECT_EQ(SpinStep(120, 1, 1, minutes), 120);
    EXPECT_EQ(SpinStep(2, 5, -1, minutes), 1);
    EXPECT_EQ(SpinStep(INT32_MAX, INT32_MAX, 3, TSpinRange{0, INT32_MAX}), INT32_MAX);
    EXPECT_TRUE(SpinAcceptsChar(u'7', minutes));
    EXPECT_TRUE(SpinAcceptsChar(u'\b', minutes));
    EXPECT_FALSE(SpinAcceptsChar(u'-', minutes));
    EXPECT_TRUE(SpinAcceptsChar(u'-', TSpinRange{-5, 5}));
    EXPECT_FALSE(SpinAcceptsChar(u'x', minutes));
    EXPECT_FALSE(SpinAcceptsChar(u'\x0663', minutes)); // other scripts' digits are not ours
}

TEST(ScrollMath, TheThumbSpansThePageAndItsPlaceMapsBackToThePosition)
{
    // 1000 pixels of content, 250 in view, a track of 200 pixels.
    const TScrollRange range{0, 999, 250};
    EXPECT_EQ(range.MaxPosition(), 750);
    EXPECT_EQ(range.Clamp(-4), 0);
    EXPECT_EQ(range.Clamp(9000), 750);
    TThumb top = ThumbInTrack(range, 0, 200, 24);
    EXPECT_EQ(top.Start, 0);
    EXPECT_EQ(top.Length, 50);
    TThumb bottom = ThumbInTrack(range, 750, 200, 24);
    EXPECT_EQ(bottom.Start + bottom.Length, 200);
    TThumb middle = ThumbInTrack(range, 375, 200, 24);
    EXPECT_EQ(middle.Start, 75);
    for (int32_t position : {0, 1, 100, 374, 749, 750})
        EXPECT_NEAR(PositionFromThumb(range, ThumbInTrack(range, position, 200, 24).Start, 200, 50), position, 4)
            << position;
    EXPECT_EQ(PositionFromThumb(range, -30, 200, 50), 0);
    EXPECT_EQ(PositionFromThumb(range, 500, 200, 50), 750);
}

TEST(ScrollMath, AShortPageKeepsTheShortestThumbAndNothingToScrollHasNone)
{
    const TScrollRange tall{0, 99999, 10};
    EXPECT_EQ(ThumbInTrack(tall, 0, 200, 24).Length, 24);
    EXPECT_EQ(ThumbInTrack(TScrollRange{0, 99, 100}, 0, 200, 24).Length, 0);
    EXPECT_FALSE((TScrollRange{0, 99, 100}).Scrollable());
    EXPECT_EQ(ThumbInTrack(tall, 0, 20, 24).Length, 0); // no room for a thumb
    EXPECT_EQ(PositionFromThumb(TScrollRange{5, 5, 0}, 10, 100, 20), 5);
    EXPECT_EQ((TScrollRange{0, 9, 0}).MaxPosition(), 9);
}
