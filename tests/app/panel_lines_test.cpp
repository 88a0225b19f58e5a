// The panel's line positions and the stored column order check.
#include <gtest/gtest.h>

#include "app/column_order.h"
#include "app/panel_lines.h"

namespace tarnuvo {
namespace {

TEST(PanelLines, LinesFollowTheFontHeights) {
    // Title 18, time 18, info 14 and file 14 pixels high.
    PanelLines lines = panelLinesFor(18, 18, 14, 14);
    EXPECT_EQ(lines.titleTop, 2);
    EXPECT_EQ(lines.timeLine, 22);
    EXPECT_EQ(lines.loopLine, 42);
    EXPECT_EQ(lines.separatorBase, 58);
    EXPECT_EQ(lines.fileLine, 64);
    EXPECT_EQ(lines.height, 82);
}

TEST(PanelLines, ATallerTitleMovesEveryLineBelowItByTheDifference) {
    PanelLines small = panelLinesFor(16, 16, 12, 12);
    PanelLines large = panelLinesFor(30, 16, 12, 12);
    EXPECT_EQ(large.titleTop, small.titleTop);
    EXPECT_EQ(large.timeLine - small.timeLine, 14);
    EXPECT_EQ(large.fileLine - small.fileLine, 14);
    EXPECT_EQ(large.height - small.height, 14);
}

TEST(ColumnOrder, OnlyPermutationsOfTheFourColumnsAreTaken) {
    const int32_t identity[] = {0, 1, 2, 3};
    const int32_t reversed[] = {3, 2, 1, 0};
    const int32_t duplicate[] = {2, 0, 2, 3};  // what "2:0" over the defaults gives
    const int32_t outOfRange[] = {0, 1, 2, 4};
    const int32_t negative[] = {0, -1, 2, 3};
    EXPECT_TRUE(isColumnPermutation(identity, 4));
    EXPECT_TRUE(isColumnPermutation(reversed, 4));
    EXPECT_FALSE(isColumnPermutation(duplicate, 4));
    EXPECT_FALSE(isColumnPermutation(outOfRange, 4));
    EXPECT_FALSE(isColumnPermutation(negative, 4));
    EXPECT_TRUE(isColumnPermutation(identity, 0));
}

}  // namespace
}  // namespace tarnuvo
