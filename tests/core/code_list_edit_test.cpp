#include "core/codes/code_list_edit.h"

#include <gtest/gtest.h>

namespace sorvi {

static void PrintTo(const NodePos& p, std::ostream* os) { *os << "{" << p.group << ", " << p.stock << "}"; }

namespace {

// [A] 1001 1002 / [B] 2001 2002 2003 / [C] (empty)
StockCodeList Sample() {
  return StockCodeList{{{"[A]", {"1001 a1", "1002 a2"}}, {"[B]", {"2001 b1", "2002 b2", "2003 b3"}}, {"[C]", {}}}};
}

std::string Serialized(const StockCodeList& list) { return SerializeStockCodeList(list); }

TEST(CodeTextTest, UnfilledPlacesOfTheCodeBecomeZeros) {
  EXPECT_EQ(MaskedStockCode("72  "), "7200");
  EXPECT_EQ(MaskedStockCode(" 1 2"), "0102");
  EXPECT_EQ(MaskedStockCode("    "), "0000");
  EXPECT_EQ(MaskedStockCode("9"), "9000");  // a text the mask cut short
  // A code kept from the file is not masked again.
  EXPECT_EQ(ComposeStockText("72 A", "\x83\x5C"), "72 A \x83\x5C");
  EXPECT_EQ(ComposeStockText("1234", ""), "1234 ");
  EXPECT_EQ(ComposeGroupText(""), "[]");
  EXPECT_EQ(ComposeGroupText("x]y"), "[x]y]");
}

TEST(CodeAddTest, PlaceDependsOnTheSelectionAndTheChosenKind) {
  StockCodeList list = Sample();
  EXPECT_EQ(AddNode(list, std::nullopt, false, "[D]"), (NodePos{3}));
  EXPECT_EQ(AddNode(list, NodePos{0, 0}, true, "1009 new"), (NodePos{0, 1}));
  EXPECT_EQ(list.groups[0].stocks, (std::vector<std::string>{"1001 a1", "1009 new", "1002 a2"}));
  EXPECT_EQ(AddNode(list, NodePos{1}, false, "2000 first"), (NodePos{1, 0}));
  EXPECT_EQ(list.groups[1].stocks.front(), "2000 first");
  EXPECT_EQ(AddNode(list, NodePos{1}, true, "[B2]"), (NodePos{2}));
  EXPECT_EQ(list.groups[2].text, "[B2]");
  EXPECT_TRUE(list.groups[2].stocks.empty());
  // After the last group is the end of the list.
  EXPECT_EQ(AddNode(list, NodePos{4}, true, "[E]"), (NodePos{5}));
  EXPECT_EQ(list.groups.back().text, "[E]");
  // A selection the list does not have changes nothing.
  const StockCodeList before = list;
  EXPECT_EQ(AddNode(list, NodePos{0, 9}, false, "x"), std::nullopt);
  // Nor does a place past the end of a level or before the first.
  for (NodePos at : {NodePos{7}, NodePos{-1}, NodePos{6, 0}, NodePos{0, 4}}) EXPECT_FALSE(InsertNodeAt(list, at, "x"));
  EXPECT_EQ(list, before);
}

TEST(CodeDuplicateTest, CopyStandsRightAfterAndAGroupComesWithoutStocks) {
  StockCodeList list = Sample();
  EXPECT_EQ(DuplicateNode(list, NodePos{0}), (NodePos{1}));
  EXPECT_EQ(list.groups[1], (StockGroup{"[A]", {}}));
  EXPECT_EQ(list.groups[2].text, "[B]");
  EXPECT_EQ(DuplicateNode(list, NodePos{2, 2}), (NodePos{2, 3}));
  EXPECT_EQ(list.groups[2].stocks, (std::vector<std::string>{"2001 b1", "2002 b2", "2003 b3", "2003 b3"}));
}

TEST(CodeDeleteTest, GroupWithStocksIsRefused) {
  StockCodeList list = Sample();
  EXPECT_FALSE(CanDeleteNode(list, NodePos{0}));
  EXPECT_FALSE(DeleteNode(list, NodePos{0}));
  EXPECT_EQ(list, Sample());
  EXPECT_TRUE(DeleteNode(list, NodePos{2}));
  EXPECT_TRUE(DeleteNode(list, NodePos{0, 1}));
  EXPECT_EQ(Serialized(list), "[A]\r\n1001 a1\r\n[B]\r\n2001 b1\r\n2002 b2\r\n2003 b3\r\n");
  EXPECT_FALSE(DeleteNode(list, NodePos{5}));
}

TEST(CodeEditTest, ReplacesTheTextAtItsPosition) {
  StockCodeList list = Sample();
  EXPECT_TRUE(SetNodeText(list, NodePos{1, 1}, "2009 x"));
  EXPECT_TRUE(SetNodeText(list, NodePos{1}, "[E]"));
  EXPECT_FALSE(SetNodeText(list, NodePos{2, 0}, "lost"));
  EXPECT_EQ(Serialized(list), "[A]\r\n1001 a1\r\n1002 a2\r\n[E]\r\n2001 b1\r\n2009 x\r\n2003 b3\r\n[C]\r\n");
  EXPECT_EQ(NodeText(list, NodePos{1, 1}), "2009 x");
  EXPECT_EQ(NodeText(list, NodePos{2, 0}), "");
}

// Plans the drop and carries it out; returns the list as its file would read.
std::string Drop(StockCodeList& list, NodePos from, NodePos target, std::optional<NodeMove>* planned = nullptr) {
  const std::optional<NodeMove> move = PlanNodeDrop(list, from, target);
  if (planned) *planned = move;
  if (move) ApplyNodeMove(list, *move);
  return Serialized(list);
}

TEST(CodeDropTest, StockOnItsOwnGroupBecomesItsFirstStock) {
  StockCodeList list = Sample();
  Drop(list, NodePos{1, 2}, NodePos{1});
  EXPECT_EQ(list.groups[1].stocks, (std::vector<std::string>{"2003 b3", "2001 b1", "2002 b2"}));
  // On another group, empty or not: first stock there.
  Drop(list, NodePos{0, 1}, NodePos{2});
  EXPECT_EQ(list.groups[2].stocks, (std::vector<std::string>{"1002 a2"}));
  EXPECT_EQ(list.groups[0].stocks, (std::vector<std::string>{"1001 a1"}));
}

TEST(CodeDropTest, GroupsMoveBeforeEarlierAndAfterLaterTargets) {
  StockCodeList list = Sample();
  Drop(list, NodePos{0}, NodePos{1});
  EXPECT_EQ(Serialized(list), "[B]\r\n2001 b1\r\n2002 b2\r\n2003 b3\r\n[A]\r\n1001 a1\r\n1002 a2\r\n[C]\r\n");
  Drop(list, NodePos{2}, NodePos{0});
  EXPECT_EQ(list.groups[0].text, "[C]");
  EXPECT_EQ(list.groups[1].text, "[B]");
  // Onto the last group: to the end, with its stocks.
  Drop(list, NodePos{1}, NodePos{2});
  EXPECT_EQ(Serialized(list), "[C]\r\n[A]\r\n1001 a1\r\n1002 a2\r\n[B]\r\n2001 b1\r\n2002 b2\r\n2003 b3\r\n");
}

TEST(CodeDropTest, GroupOnItselfStaysButCountsAsAMove) {
  StockCodeList list = Sample();
  std::optional<NodeMove> move;
  Drop(list, NodePos{1}, NodePos{1}, &move);
  ASSERT_TRUE(move.has_value());
  EXPECT_EQ(move->from, move->to);
  EXPECT_EQ(list, Sample());
}

TEST(CodeDropTest, StocksWithinAGroupAndIntoAnother) {
  StockCodeList list = Sample();
  Drop(list, NodePos{1, 0}, NodePos{1, 2});  // after a later one: to the end
  EXPECT_EQ(list.groups[1].stocks, (std::vector<std::string>{"2002 b2", "2003 b3", "2001 b1"}));
  Drop(list, NodePos{1, 2}, NodePos{1, 1});  // before an earlier one
  EXPECT_EQ(list.groups[1].stocks, (std::vector<std::string>{"2002 b2", "2001 b1", "2003 b3"}));
  Drop(list, NodePos{1, 0}, NodePos{0, 0});  // another group: right after the target
  EXPECT_EQ(list.groups[0].stocks, (std::vector<std::string>{"1001 a1", "2002 b2", "1002 a2"}));
  EXPECT_EQ(list.groups[1].stocks, (std::vector<std::string>{"2001 b1", "2003 b3"}));
  Drop(list, NodePos{1, 1}, NodePos{0, 2});  // after another group's last stock
  EXPECT_EQ(list.groups[0].stocks.back(), "2003 b3");
}

TEST(CodeDropTest, GroupOnAStockOrPositionsOutsideTheListDoNothing) {
  StockCodeList list = Sample();
  std::optional<NodeMove> move;
  Drop(list, NodePos{0}, NodePos{1, 1}, &move);
  EXPECT_EQ(move, std::nullopt);
  EXPECT_EQ(list, Sample());
  EXPECT_EQ(PlanNodeDrop(list, NodePos{0}, NodePos{7}), std::nullopt);
  EXPECT_EQ(PlanNodeDrop(list, NodePos{2, 0}, NodePos{0}), std::nullopt);
}

}  // namespace
}  // namespace sorvi
