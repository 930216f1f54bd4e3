#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/tabs/tab_close.h"

namespace sorvi {
namespace {

TEST(CloseTabTest, NextActiveTabAndTheReturnIndexesLeft) {
  const struct {
    std::vector<int> returns;  // each tab's return index
    int closed, next_active;
    std::optional<std::vector<int>> left;  // null: not checked
  } rows[] = {
      {{-1}, 0, -1, std::vector<int>{}},  // the last tab leaves none
      // A, B, C with C active, C came from A: back to the tab named before.
      {{-1, 0, 0}, 2, 0, std::vector<int>{-1, 0}},
      // Closing B (index 1) that returns to C (index 2): C is now at index 1.
      {{-1, 2, 1}, 1, 1, std::vector<int>{-1, 0}},
      // No return tab activates the first; values of 0 and below do not move.
      {{-1, 0, 1}, 0, 0, std::vector<int>{0, 0}},
      // Tab 0 points at 3 but stands before the closed tab 1: left as it is.
      {{3, 0, 3, 2}, 1, 0, std::vector<int>{3, 2, 1}},
      // A return index beyond the tabs falls back to the first.
      {{-1, 0, 7}, 2, 0, std::nullopt},
      {{-1, 5, 0}, 1, 0, std::nullopt},
      // An index outside the tabs closes nothing.
      {{-1, 0, 1}, -1, -1, std::vector<int>{-1, 0, 1}},
      {{-1, 0, 1}, 3, -1, std::vector<int>{-1, 0, 1}},
      {{}, 0, -1, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.returns) + " closing " + std::to_string(row.closed));
    const CloseResult r = CloseTab(row.returns, row.closed);
    EXPECT_EQ(r.next_active, row.next_active);
    if (row.left) EXPECT_EQ(r.return_indexes, *row.left);
  }
}

}  // namespace
}  // namespace sorvi
