#pragma once
// Carries the stock code list's editing rules out on the tree's items, so
// that expansion, selection and the exact node bytes stay with the nodes.
#include <optional>
#include <string>

#include "core/codes/code_list_edit.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace sorvi {

// The list as the tree holds it (the rules decide over this).
StockCodeList TreeToList(const QTreeWidget& tree);

std::optional<NodePos> PositionOf(const QTreeWidget& tree, const QTreeWidgetItem* item);
QTreeWidgetItem* ItemAt(const QTreeWidget& tree, NodePos pos);

// A new node of `text` at `pos` (a group or a stock by the position's
// kind), made current and the only one selected.
QTreeWidgetItem* InsertNodeItem(QTreeWidget& tree, NodePos pos, std::string text);

// Moves the node item (a group with its stocks and its expansion) and
// makes it current and the only one selected.
QTreeWidgetItem* MoveNodeItem(QTreeWidget& tree, const NodeMove& move);

}  // namespace sorvi
