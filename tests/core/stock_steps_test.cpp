#include "core/codes/stock_steps.h"

#include <gtest/gtest.h>

#include <optional>

namespace sorvi {
namespace {

TEST(StockStepsTest, NextAndPreviousInTreeOrderAndPlaces) {
  // [A] 1 2 / [B] (empty) / [C] 3 / [D] (empty)
  const StockCodeList list{{{"[A]", {"1001 a", "1002 b"}}, {"[B]", {}}, {"[C]", {"1003 c"}}, {"[D]", {}}}};
  using P = std::optional<NodePos>;
  const std::nullopt_t none = std::nullopt;
  const struct {
    const char* name;
    P from;
    bool forward;
    P to;
  } rows[] = {
      {"within a group", NodePos{0, 0}, true, NodePos{0, 1}},
      {"over an empty group", NodePos{0, 1}, true, NodePos{2, 0}},
      {"back over an empty group", NodePos{2, 0}, false, NodePos{0, 1}},
      {"back within a group", NodePos{0, 1}, false, NodePos{0, 0}},
      {"the last: no wrap", NodePos{2, 0}, true, none},
      {"the first: no wrap", NodePos{0, 0}, false, none},
      {"a group: its first stock", NodePos{0}, true, NodePos{0, 0}},
      {"an empty group: the next group's", NodePos{1}, true, NodePos{2, 0}},
      {"a group back: the stock above it", NodePos{2}, false, NodePos{0, 1}},
      {"the first group back", NodePos{0}, false, none},
      {"an empty last group", NodePos{3}, true, none},
      {"an empty last group back", NodePos{3}, false, NodePos{2, 0}},
      {"nothing selected", none, true, NodePos{0, 0}},
      {"nothing selected back", none, false, NodePos{2, 0}},
      {"a node gone", NodePos{9, 0}, true, NodePos{0, 0}},
  };
  for (const auto& row : rows) EXPECT_EQ(StepStock(list, row.from, row.forward), row.to) << row.name;
  EXPECT_EQ(StepStock(StockCodeList{{{"[E]", {}}}}, NodePos{0}, true), none);
  EXPECT_EQ(StepStock(StockCodeList{}, none, false), none);
  // Places among all stocks; a group or a node gone has none.
  EXPECT_EQ(PlaceOfStock(list, NodePos{0, 0}), (StockPlace{1, 3}));
  EXPECT_EQ(PlaceOfStock(list, NodePos{2, 0}), (StockPlace{3, 3}));
  EXPECT_EQ(PlaceOfStock(list, NodePos{2}), (StockPlace{0, 3}));
  EXPECT_EQ(PlaceOfStock(list, NodePos{0, 5}), (StockPlace{0, 3}));
}

}  // namespace
}  // namespace sorvi
