#pragma once
// The editing rules of the stock code list: composing node texts from what
// the code dialog holds, and where add, duplicate, delete and drag and drop
// put a node. Positions are indices into StockCodeList::groups and their
// stocks, so the tree view can show the same edit on its items.
#include <optional>
#include <string>
#include <string_view>

#include "core/codes/stock_code_list.h"

namespace sorvi {

// A node: a group (stock < 0) or one stock of a group.
struct NodePos {
  int group = 0;
  int stock = -1;

  bool IsGroup() const { return stock < 0; }
  bool operator==(const NodePos&) const = default;
};

// The four places of the code field as shown: every place that is not
// filled (a blank or anything past the text's end) becomes "0".
std::string MaskedStockCode(std::string_view shown);

std::string ComposeGroupText(std::string_view name);
// The code's bytes as they are (masked, or kept from the node being
// edited), one blank, the name.
std::string ComposeStockText(std::string_view code, std::string_view name);

// The position names a node of the list.
bool ContainsNode(const StockCodeList& list, NodePos pos);

// The node's whole text; empty for a position outside the list.
std::string_view NodeText(const StockCodeList& list, NodePos pos);
// Replaces the node's text; its kind stays what its position says.
bool SetNodeText(StockCodeList& list, NodePos pos, std::string text);

// Adds `text` from the code dialog in mode "追加" and returns where it went:
// no selection appends a group; a selected stock gets a new stock right
// after it; a selected group gets a new group after it (`as_group`) or a new
// first stock. Nothing happens for a selection that is not in the list.
std::optional<NodePos> AddNode(StockCodeList& list, std::optional<NodePos> selected, bool as_group, std::string text);

// Where AddNode puts the node, without adding it.
std::optional<NodePos> PlanAddNode(const StockCodeList& list, std::optional<NodePos> selected, bool as_group);
// Inserts a node at `at`: a group (without stocks) when `at` names one, else
// a stock; `at` may be one past the last of its level. False when it is not
// a place in the list.
bool InsertNodeAt(StockCodeList& list, NodePos at, std::string text);

// Places a copy of the node right after it; a group is copied without its
// stocks. Returns the copy's position.
std::optional<NodePos> DuplicateNode(StockCodeList& list, NodePos pos);

// A group that still has stocks may not be deleted.
bool CanDeleteNode(const StockCodeList& list, NodePos pos);
bool DeleteNode(StockCodeList& list, NodePos pos);

// A drag of the selected node `from` dropped on `target`: `to` is where the
// node stands once it has been taken out and put back. `from == to` is still
// a move (the list counts as modified).
struct NodeMove {
  NodePos from;
  NodePos to;
  bool operator==(const NodeMove&) const = default;
};

// Decides the drop; no value when nothing moves (a group dropped on a
// stock, or a position outside the list).
std::optional<NodeMove> PlanNodeDrop(const StockCodeList& list, NodePos from, NodePos target);
// Carries a planned move out on the list.
void ApplyNodeMove(StockCodeList& list, const NodeMove& move);

}  // namespace sorvi
