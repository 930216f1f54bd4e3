#include <gtest/gtest.h>

#include <vector>

#include "core/tabs/tab_close.h"

namespace sorvi {
namespace {

TEST(CloseTabTest, ClosingTheLastTabLeavesNone) {
  const CloseResult r = CloseTab({-1}, 0);
  EXPECT_EQ(r.next_active, -1);
  EXPECT_TRUE(r.return_indexes.empty());
}

TEST(CloseTabTest, ReturnsToTheTabNamedBeforeTheClosedOne) {
  // A, B, C with C active, C came from A.
  const CloseResult r = CloseTab({-1, 0, 0}, 2);
  EXPECT_EQ(r.next_active, 0);
  EXPECT_EQ(r.return_indexes, (std::vector<int>{-1, 0}));
}

TEST(CloseTabTest, ReturnIndexAfterTheClosedTabShiftsDown) {
  // Closing B (index 1) that returns to C (index 2): C is now at index 1.
  const CloseResult r = CloseTab({-1, 2, 1}, 1);
  EXPECT_EQ(r.next_active, 1);
  EXPECT_EQ(r.return_indexes, (std::vector<int>{-1, 0}));
}

TEST(CloseTabTest, NoReturnTabActivatesTheFirst) {
  const CloseResult r = CloseTab({-1, 0, 1}, 0);
  EXPECT_EQ(r.next_active, 0);
  // Values of 0 and below do not move.
  EXPECT_EQ(r.return_indexes, (std::vector<int>{0, 0}));
}

TEST(CloseTabTest, OnlyTabsFromTheClosedPositionOnAreAdjusted) {
  // Tab 0 points at 3 but stands before the closed tab 1: left as it is.
  const CloseResult r = CloseTab({3, 0, 3, 2}, 1);
  EXPECT_EQ(r.next_active, 0);
  EXPECT_EQ(r.return_indexes, (std::vector<int>{3, 2, 1}));
}

TEST(CloseTabTest, ReturnIndexBeyondTheTabsFallsBackToTheFirst) {
  EXPECT_EQ(CloseTab({-1, 0, 7}, 2).next_active, 0);
  EXPECT_EQ(CloseTab({-1, 5, 0}, 1).next_active, 0);
}

TEST(CloseTabTest, IndexOutsideTheTabsClosesNothing) {
  for (int closed : {-1, 3}) {
    const CloseResult r = CloseTab({-1, 0, 1}, closed);
    EXPECT_EQ(r.next_active, -1);
    EXPECT_EQ(r.return_indexes, (std::vector<int>{-1, 0, 1}));
  }
  EXPECT_EQ(CloseTab({}, 0).next_active, -1);
}

}  // namespace
}  // namespace sorvi
