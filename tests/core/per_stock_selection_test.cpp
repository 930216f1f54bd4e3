#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/bookmarks/per_stock_selection.h"

namespace sorvi {
namespace {

TEST(PerStockSelectionTest, EachStockConcernedGetsItsOwnCodeNameAndGroup) {
  struct Row {
    const char* what;
    std::vector<bool> selected;  // the nodes below, in tree order
    std::vector<std::string> codes;
  };
  // [A] 1111 2222 3333 [B] 4444
  const std::vector<std::pair<int, std::string>> tree = {{0, "[A]"},        {1, "1111 one"}, {1, "2222 two"},
                                                         {1, "3333 three"}, {0, "[B]"},      {1, "4444 four"}};
  const Row rows[] = {
      {"nothing", {0, 0, 0, 0, 0, 0}, {}},
      {"two stocks", {0, 1, 0, 1, 0, 0}, {"1111", "3333"}},
      {"a group", {1, 0, 0, 0, 0, 0}, {"1111", "2222", "3333"}},
      {"only the first group selected counts", {0, 0, 1, 0, 0, 1}, {"2222"}},
      {"a group after a group", {0, 0, 0, 0, 1, 0}, {"4444"}},
  };
  for (const Row& row : rows) {
    std::vector<TreeNodeView> nodes;
    for (size_t i = 0; i < tree.size(); ++i) nodes.push_back({tree[i].first, tree[i].second, row.selected[i]});
    const std::vector<UrlSelection> per_stock = GatherSelectionPerStock(nodes);
    std::vector<std::string> codes;
    for (const UrlSelection& one : per_stock) {
      ASSERT_EQ(one.codes.size(), 1u) << row.what;
      codes.push_back(one.codes[0]);
      // As if that stock alone were selected.
      std::vector<TreeNodeView> alone = nodes;
      for (TreeNodeView& node : alone) node.selected = node.level == 1 && node.text.substr(0, 4) == one.codes[0];
      EXPECT_EQ(one, GatherSelection(alone)) << row.what;
    }
    EXPECT_EQ(codes, row.codes) << row.what;
  }
}

}  // namespace
}  // namespace sorvi
