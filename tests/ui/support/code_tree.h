#pragma once
// The code tree as the tests reach it: nodes by their place in the list,
// their shown texts and the tree's selection.
#include <QItemSelectionModel>
#include <initializer_list>

#include "codes/code_tree_view.h"

namespace sorvi::testing {

inline QModelIndex Node(const CodeTreeView* tree, int group, int stock = -1) {
  return tree->IndexAt(NodePos{group, stock});
}

inline QString Text(const QModelIndex& node) { return node.data().toString(); }

inline QModelIndexList SelectedNodes(const CodeTreeView* tree) { return tree->selectionModel()->selectedRows(); }

// Exactly these nodes selected, the first one current.
inline void SelectNodes(CodeTreeView* tree, std::initializer_list<QModelIndex> nodes) {
  tree->clearSelection();
  for (const QModelIndex& node : nodes) tree->selectionModel()->select(node, QItemSelectionModel::Select);
  tree->selectionModel()->setCurrentIndex(*nodes.begin(), QItemSelectionModel::NoUpdate);
}

}  // namespace sorvi::testing
