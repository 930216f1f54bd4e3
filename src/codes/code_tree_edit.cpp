#include "codes/code_tree_edit.h"

#include <QTreeWidget>

#include "codes/code_tree_view.h"

namespace sorvi {
namespace {

void SelectOnly(QTreeWidget& tree, QTreeWidgetItem* item) {
  tree.setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
  tree.scrollToItem(item);
}

}  // namespace

StockCodeList TreeToList(const QTreeWidget& tree) {
  StockCodeList list;
  list.groups.reserve(size_t(tree.topLevelItemCount()));
  for (int g = 0; g < tree.topLevelItemCount(); ++g) {
    const QTreeWidgetItem* group = tree.topLevelItem(g);
    StockGroup out{CodeTreeView::NodeText(group), {}};
    out.stocks.reserve(size_t(group->childCount()));
    for (int s = 0; s < group->childCount(); ++s) out.stocks.push_back(CodeTreeView::NodeText(group->child(s)));
    list.groups.push_back(std::move(out));
  }
  return list;
}

std::optional<NodePos> PositionOf(const QTreeWidget& tree, const QTreeWidgetItem* item) {
  if (!item || item->treeWidget() != &tree) return std::nullopt;
  if (const QTreeWidgetItem* parent = item->parent())
    return NodePos{tree.indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(parent)), parent->indexOfChild(const_cast<QTreeWidgetItem*>(item))};
  return NodePos{tree.indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item))};
}

QTreeWidgetItem* ItemAt(const QTreeWidget& tree, NodePos pos) {
  QTreeWidgetItem* group = tree.topLevelItem(pos.group);
  if (!group || pos.IsGroup()) return group;
  return group->child(pos.stock);
}

QTreeWidgetItem* InsertNodeItem(QTreeWidget& tree, NodePos pos, std::string text) {
  QTreeWidgetItem* item;
  if (pos.IsGroup()) {
    item = CodeTreeView::MakeGroupItem(std::move(text));
    tree.insertTopLevelItem(pos.group, item);
  } else {
    QTreeWidgetItem* group = tree.topLevelItem(pos.group);
    if (!group) return nullptr;
    item = CodeTreeView::MakeStockItem(std::move(text));
    group->insertChild(pos.stock, item);
  }
  SelectOnly(tree, item);
  return item;
}

QTreeWidgetItem* MoveNodeItem(QTreeWidget& tree, const NodeMove& move) {
  QTreeWidgetItem* item = ItemAt(tree, move.from);
  if (!item) return nullptr;
  if (move.from != move.to) {
    if (move.from.IsGroup()) {
      const bool expanded = item->isExpanded();
      tree.takeTopLevelItem(move.from.group);
      tree.insertTopLevelItem(move.to.group, item);
      // Taken items come back collapsed; put the group back as it was.
      item->setExpanded(expanded);
    } else {
      item->parent()->takeChild(move.from.stock);
      tree.topLevelItem(move.to.group)->insertChild(move.to.stock, item);
    }
  }
  SelectOnly(tree, item);
  return item;
}

}  // namespace sorvi
